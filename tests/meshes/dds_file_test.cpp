// The DDS reader and writer: the formats the add-on's textures use read back
// as written, the other uncompressed layouts read by their masks, and every
// refused file with its reason.

#include "headless/dds_file.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using headless::DdsFormat;
using headless::DdsImage;

bool Read(const std::vector<uint8_t> &bytes, DdsImage *image, std::string *error = nullptr)
{
    return headless::ReadDds(bytes.data(), bytes.size(), image, error);
}

void PutWord(std::vector<uint8_t> &bytes, size_t word, uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        bytes[4 * word + static_cast<size_t>(b)] = static_cast<uint8_t>(value >> (8 * b));
}

// A header for an uncompressed image with the given pixel format, written
// here from the format's published layout (not with the writer under test).
std::vector<uint8_t> RgbHeader(int width, int height, uint32_t pfFlags, uint32_t bits, uint32_t r, uint32_t g,
                               uint32_t b, uint32_t a)
{
    std::vector<uint8_t> bytes(128, 0);
    PutWord(bytes, 0, 0x20534444); // "DDS "
    PutWord(bytes, 1, 124);
    PutWord(bytes, 2, 0x100F);      // caps, height, width, pitch, pixel format
    PutWord(bytes, 3, static_cast<uint32_t>(height));
    PutWord(bytes, 4, static_cast<uint32_t>(width));
    PutWord(bytes, 5, static_cast<uint32_t>(width) * bits / 8);
    PutWord(bytes, 19, 32);
    PutWord(bytes, 20, pfFlags);
    PutWord(bytes, 22, bits);
    PutWord(bytes, 23, r);
    PutWord(bytes, 24, g);
    PutWord(bytes, 25, b);
    PutWord(bytes, 26, a);
    PutWord(bytes, 27, 0x1000);
    return bytes;
}

TEST(DdsFileTest, Argb32ReadsBackAsWritten)
{
    const std::vector<uint32_t> pixels = {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0x800000FF, 0xFF123456, 0x00ABCDEF};
    const std::vector<uint8_t> bytes = headless::WriteDdsArgb32(3, 2, pixels);
    EXPECT_EQ(bytes.size(), 128u + 3 * 2 * 4);
    EXPECT_EQ(std::memcmp(bytes.data(), "DDS ", 4), 0);
    DdsImage image;
    ASSERT_TRUE(Read(bytes, &image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.format, DdsFormat::Rgb32);
    EXPECT_EQ(image.pixels, pixels);
    // Top row first: pixel (0, 1) is the fourth word written.
    EXPECT_EQ(image.pixels[3], 0x800000FFu);
}

TEST(DdsFileTest, Dxt1KeepsColoursThatItsBlocksHoldExactly)
{
    // Red, black and white are end points of a DXT1 block (5:6:5 bits):
    // they come back exactly. An 8 x 8 image is four blocks of 8 bytes.
    std::vector<uint32_t> pixels(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels[static_cast<size_t>(y * 8 + x)] = x < 4 ? 0xFFFF0000u : ((x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u);
    const std::vector<uint8_t> bytes = headless::WriteDdsDxt1(8, 8, pixels);
    EXPECT_EQ(bytes.size(), 128u + 4 * 8);
    EXPECT_EQ(std::memcmp(bytes.data() + 84, "DXT1", 4), 0);
    DdsImage image;
    ASSERT_TRUE(Read(bytes, &image));
    EXPECT_EQ(image.format, DdsFormat::Dxt1);
    EXPECT_EQ(image.pixels, pixels);

    // 5 x 3 needs 2 x 1 blocks; the part blocks decode to the image's size.
    std::vector<uint32_t> small(15, 0xFFFFFFFFu);
    const std::vector<uint8_t> part = headless::WriteDdsDxt1(5, 3, small);
    EXPECT_EQ(part.size(), 128u + 2 * 8);
    ASSERT_TRUE(Read(part, &image));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.pixels, small);
}

TEST(DdsFileTest, UncompressedLayoutsReadByTheirMasks)
{
    DdsImage image;
    // R5G6B5: full red, full green, full blue, and half of each:
    // 16/31 x 255 -> 132, 32/63 x 255 -> 130 (rounded).
    std::vector<uint8_t> rgb565 = RgbHeader(4, 1, 0x40, 16, 0xF800, 0x07E0, 0x001F, 0);
    for (uint16_t p : {0xF800, 0x07E0, 0x001F, 0x8410}) {
        rgb565.push_back(static_cast<uint8_t>(p));
        rgb565.push_back(static_cast<uint8_t>(p >> 8));
    }
    ASSERT_TRUE(Read(rgb565, &image));
    EXPECT_EQ(image.format, DdsFormat::Rgb16);
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848284}));

    // R8G8B8, stored blue first; no alpha flag: opaque.
    std::vector<uint8_t> rgb888 = RgbHeader(1, 1, 0x40, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0);
    rgb888.insert(rgb888.end(), {0x11, 0x22, 0x33});
    ASSERT_TRUE(Read(rgb888, &image));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFF332211}));

    // A1R5G5B5 with the alpha flag: the one alpha bit is 0 or 255.
    std::vector<uint8_t> argb1555 = RgbHeader(2, 1, 0x41, 16, 0x7C00, 0x03E0, 0x001F, 0x8000);
    argb1555.insert(argb1555.end(), {0x00, 0xFC, 0x1F, 0x00}); // 0xFC00, 0x001F
    ASSERT_TRUE(Read(argb1555, &image));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0xFFFF0000, 0x000000FF}));

    // A8B8G8R8: red in the low byte.
    std::vector<uint8_t> abgr = RgbHeader(1, 1, 0x41, 32, 0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000);
    abgr.insert(abgr.end(), {0x10, 0x20, 0x30, 0x40});
    ASSERT_TRUE(Read(abgr, &image));
    EXPECT_EQ(image.pixels, (std::vector<uint32_t>{0x40102030}));

    // Smaller mipmap levels after the first are ignored.
    std::vector<uint8_t> mipmapped = headless::WriteDdsArgb32(2, 2, {1, 2, 3, 4});
    mipmapped.insert(mipmapped.end(), {9, 9, 9, 9});
    ASSERT_TRUE(Read(mipmapped, &image));
    EXPECT_EQ(image.pixels.size(), 4u);
}

TEST(DdsFileTest, RefusedFilesSayWhy)
{
    const std::vector<uint8_t> good = headless::WriteDdsArgb32(4, 4, std::vector<uint32_t>(16, 0xFF000000u));
    auto with = [&](size_t word, uint32_t value) {
        std::vector<uint8_t> bytes = good;
        PutWord(bytes, word, value);
        return bytes;
    };
    std::vector<uint8_t> dxt = headless::WriteDdsDxt1(8, 8, std::vector<uint32_t>(64, 0xFF000000u));
    dxt.resize(dxt.size() - 1);
    std::vector<uint8_t> unknown = with(20, 0x4);
    PutWord(unknown, 21, 0x30315844); // "DX10"
    struct Case {
        const char *what;
        std::vector<uint8_t> bytes;
        const char *reason;
    };
    const std::vector<Case> cases = {
        {"nothing", {}, "shorter"},
        {"half a header", std::vector<uint8_t>(good.begin(), good.begin() + 100), "shorter"},
        {"another magic", with(0, 0x20534443), "not a DDS"},
        {"header size", with(1, 100), "damaged"},
        {"pixel format size", with(19, 24), "damaged"},
        {"zero width", with(4, 0), "size"},
        {"height beyond the limit", with(3, static_cast<uint32_t>(headless::kMaxDdsSide) + 1), "size"},
        {"huge width", with(4, 0xFFFFFFFFu), "size"},
        {"cube map", with(28, 0x200 | 0xFE00), "cube"},
        {"volume", with(28, 0x200000), "volume"},
        {"8-bit pixels", with(22, 8), "format"},
        {"neither RGB nor FourCC", with(20, 0x20000), "format"},
        {"the DX10 extension", unknown, "format"},
        {"no colour masks", [&] {
             std::vector<uint8_t> b = with(23, 0);
             PutWord(b, 24, 0);
             PutWord(b, 25, 0);
             return b;
         }(),
         "format"},
        {"RGB data cut short", std::vector<uint8_t>(good.begin(), good.end() - 1), "cut short"},
        {"DXT1 data cut short", dxt, "cut short"},
    };
    for (const Case &c : cases) {
        DdsImage image;
        image.pixels.resize(3);
        std::string error;
        EXPECT_FALSE(Read(c.bytes, &image, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(image.pixels.empty()) << c.what;
        EXPECT_EQ(image.width, 0) << c.what;
    }
    DdsImage image;
    std::string error;
    EXPECT_FALSE(headless::ReadDdsFile("/nonexistent/texture.dds", &image, &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}

} // namespace
