// What the pages are sent: the frames' layout and pixels, and the text
// messages' fields.

#include "apps/serve/page_output.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <png.h>

#include "apps/serve/png_encoding.h"

namespace serve {
namespace {

using nlohmann::json;

// Decodes a PNG into 8-bit RGB bytes with libpng's simplified reader.
bool DecodeRgb(const std::string &png, int *width, int *height, std::vector<unsigned char> *rgb)
{
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.data(), png.size()))
        return false;
    image.format = PNG_FORMAT_RGB;
    rgb->resize(PNG_IMAGE_SIZE(image));
    *width = static_cast<int>(image.width);
    *height = static_cast<int>(image.height);
    return png_image_finish_read(&image, nullptr, rgb->data(), 0, nullptr) != 0;
}

TEST(PngEncodingTest, PixelsComeBackAsTheirColours)
{
    // Two rows of three pixels 0xAARRGGBB, with one word of padding per row.
    const std::uint32_t pixels[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xDEADBEEF,
                                    0xFF000000, 0xFFFFFFFF, 0xFF6EC86E, 0xDEADBEEF};
    std::string png;
    ASSERT_TRUE(EncodePng(pixels, 3, 2, 4, &png));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(0, std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8));
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(DecodeRgb(png, &w, &h, &rgb));
    EXPECT_EQ(3, w);
    EXPECT_EQ(2, h);
    // Red, green, blue; black, white, the panels' label green RGB(110, 200, 110).
    EXPECT_EQ((std::vector<unsigned char>{255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 110, 200, 110}),
              rgb);

    EXPECT_FALSE(EncodePng(pixels, 0, 2, 4, &png));
    EXPECT_TRUE(png.empty());
    EXPECT_FALSE(EncodePng(pixels, 3, 2, 2, &png)); // rows overlap
    EXPECT_FALSE(EncodePng(nullptr, 3, 2, 3, &png));
}

TEST(PageOutputTest, AFrameIsItsHeaderLengthHeaderAndImage)
{
    FrameHeader h;
    h.area = 303;
    h.seq = 77;
    h.drawnAtUs = 123456789;
    h.simTimeSeconds = 12.5;
    h.width = 256;
    h.height = 256;
    h.texts = {"SEL", "MNU", "PWR", "Target: \xff"}; // a name of a scenario that is not UTF-8
    const std::string image("\x89PNG fake\0bytes", 15);
    OutMessagePtr m = FrameMessage(h, image);
    ASSERT_TRUE(m->binary);

    std::string_view header, body;
    ASSERT_TRUE(SplitFrameMessage(m->bytes, &header, &body));
    const size_t n = header.size();
    EXPECT_EQ(n, static_cast<unsigned char>(m->bytes[0]) | static_cast<unsigned char>(m->bytes[1]) << 8 |
                     static_cast<unsigned char>(m->bytes[2]) << 16 | static_cast<unsigned char>(m->bytes[3]) << 24);
    EXPECT_EQ(image, std::string(body));
    json j = json::parse(header);
    EXPECT_EQ("frame", j["type"]);
    EXPECT_EQ("area", j["stream"]);
    EXPECT_EQ(303, j["area"]);
    EXPECT_EQ(77, j["seq"]);
    EXPECT_EQ(123456789, j["drawnAtUs"]);
    EXPECT_DOUBLE_EQ(12.5, j["simTime"].get<double>());
    EXPECT_EQ(256, j["width"]);
    EXPECT_EQ("png", j["format"]);
    EXPECT_EQ("Target: \xEF\xBF\xBD", j["texts"][3]); // U+FFFD

    EXPECT_FALSE(SplitFrameMessage(std::string("\x05\x00\x00", 3), &header, &body));
    EXPECT_FALSE(SplitFrameMessage(std::string("\x05\x00\x00\x00{}", 6), &header, &body)); // header past the end
    EXPECT_TRUE(SplitFrameMessage(std::string("\x00\x00\x00\x00", 4), &header, &body));
}

TEST(PageOutputTest, TextMessagesCarryWholeStates)
{
    CockpitLayout layout;
    layout.areas = {{0, 1024, 1024, false}, {303, 256, 256, true}};
    layout.mfds = {0, 1};
    json hello = json::parse(HelloMessage(layout, "Scenarios/Korvane/Default.scn")->bytes);
    EXPECT_EQ("hello", hello["type"]);
    EXPECT_EQ(kProtocolVersion, hello["protocol"]);
    ASSERT_EQ(2u, hello["areas"].size());
    EXPECT_EQ(303, hello["areas"][1]["id"]);
    EXPECT_EQ(256, hello["areas"][1]["height"]);
    EXPECT_TRUE(hello["areas"][1]["clickable"].get<bool>());
    EXPECT_FALSE(hello["areas"][0]["clickable"].get<bool>());
    EXPECT_EQ(4096, hello["limits"]["maxMessageBytes"]);
    EXPECT_EQ(255, hello["limits"]["maxTextBytes"]);
    EXPECT_DOUBLE_EQ(0.1, hello["limits"]["minWarp"].get<double>());
    EXPECT_DOUBLE_EQ(100000.0, hello["limits"]["maxWarp"].get<double>());
    EXPECT_NE(hello["keys"].end(), std::find(hello["keys"].begin(), hello["keys"].end(), "KeyT"));

    SimulationState s;
    s.mjd = 60650.5;
    s.simTimeSeconds = 90.0;
    s.warp = 10.0;
    s.paused = true;
    s.focus = "Korvane-Houston";
    json state = json::parse(StateMessage(s)->bytes);
    EXPECT_EQ("state", state["type"]);
    EXPECT_DOUBLE_EQ(60650.5, state["mjd"].get<double>());
    EXPECT_TRUE(state["paused"].get<bool>());
    EXPECT_EQ("Korvane-Houston", state["focus"]);

    MfdDisplay d{1, true, "Surface", {"Altitude  Mean radius"}};
    json mfd = json::parse(MfdMessage(d)->bytes);
    EXPECT_EQ(1, mfd["mfd"]);
    EXPECT_EQ("Surface", mfd["title"]);
    EXPECT_EQ("Altitude  Mean radius", mfd["lines"][0]);

    InputBoxState b{true, "Input Target Vessel", "", 20, "Nowhere"};
    json box = json::parse(InputBoxMessage(b)->bytes);
    EXPECT_TRUE(box["open"].get<bool>());
    EXPECT_EQ("Input Target Vessel", box["title"]);
    EXPECT_EQ(20, box["visibleLength"]);
    EXPECT_EQ("Nowhere", box["rejected"]);

    json vessels = json::parse(VesselsMessage({"Station", "Relay-Sat"})->bytes);
    EXPECT_EQ(2u, vessels["names"].size());
    EXPECT_EQ("area/303", AreaStream(303));
    EXPECT_EQ("mfd/1", MfdStream(1));
}

} // namespace
} // namespace serve
