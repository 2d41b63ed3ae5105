#include "headless/dds_file.h"

#include <fstream>
#include <iterator>

#include <squish.h>

namespace headless {

namespace {

constexpr size_t kHeaderBytes = 128; // magic and header
constexpr uint32_t kMagic = 0x20534444; // "DDS "
constexpr uint32_t kHeaderSize = 124;
constexpr uint32_t kPixelFormatSize = 32;

// Header flags.
constexpr uint32_t kFlagCaps = 0x1, kFlagHeight = 0x2, kFlagWidth = 0x4, kFlagPitch = 0x8;
constexpr uint32_t kFlagPixelFormat = 0x1000, kFlagLinearSize = 0x80000;
// Pixel-format flags.
constexpr uint32_t kPfAlphaPixels = 0x1, kPfFourCC = 0x4, kPfRgb = 0x40;
// Caps.
constexpr uint32_t kCapsTexture = 0x1000;
constexpr uint32_t kCaps2CubeMap = 0x200, kCaps2Volume = 0x200000;

// Word offsets from the start of the file.
enum Word {
    kWordHeight = 3,
    kWordWidth = 4,
    kWordPfFlags = 20,
    kWordFourCC = 21,
    kWordBitCount = 22,
    kWordRedMask = 23,
    kWordGreenMask = 24,
    kWordBlueMask = 25,
    kWordAlphaMask = 26,
    kWordCaps2 = 28,
};

constexpr uint32_t FourCC(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

uint32_t WordAt(const uint8_t *data, size_t index)
{
    const uint8_t *p = data + 4 * index;
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool Fail(std::string *error, const char *why)
{
    if (error)
        *error = why;
    return false;
}

// One channel of an uncompressed pixel: its mask's shift and width.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t m) : mask(m)
    {
        if (!m)
            return;
        while (!((m >> shift) & 1u))
            ++shift;
        while (shift + bits < 32 && ((m >> (shift + bits)) & 1u))
            ++bits;
    }
    // The channel's value scaled to 0..255, rounded (a full channel gives 255).
    uint32_t value(uint32_t pixel, uint32_t absent) const
    {
        if (!bits)
            return absent;
        uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8)
            return v >> (bits - 8);
        const uint32_t full = (1u << bits) - 1u;
        return (v * 255u + full / 2u) / full;
    }
};

bool DecodeRgb(const uint8_t *pixels, int width, int height, int bitCount, const uint8_t *header, DdsImage *image)
{
    const size_t bytesPerPixel = static_cast<size_t>(bitCount / 8);
    const bool hasAlpha = (WordAt(header, kWordPfFlags) & kPfAlphaPixels) != 0;
    const Channel red(WordAt(header, kWordRedMask)), green(WordAt(header, kWordGreenMask)),
        blue(WordAt(header, kWordBlueMask)), alpha(hasAlpha ? WordAt(header, kWordAlphaMask) : 0u);
    if (!red.bits && !green.bits && !blue.bits)
        return false;
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    image->pixels.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *p = pixels + i * bytesPerPixel;
        uint32_t word = 0;
        for (size_t b = 0; b < bytesPerPixel; ++b)
            word |= static_cast<uint32_t>(p[b]) << (8 * b);
        image->pixels[i] = alpha.value(word, 0xFF) << 24 | red.value(word, 0) << 16 | green.value(word, 0) << 8 |
                           blue.value(word, 0);
    }
    return true;
}

void DecodeBlocks(const uint8_t *blocks, int width, int height, int flags, DdsImage *image)
{
    size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> rgba(count * 4);
    squish::DecompressImage(rgba.data(), width, height, blocks, flags);
    image->pixels.resize(count);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t *p = &rgba[4 * i];
        image->pixels[i] = static_cast<uint32_t>(p[3]) << 24 | static_cast<uint32_t>(p[0]) << 16 |
                           static_cast<uint32_t>(p[1]) << 8 | p[2];
    }
}

void PutWord(std::vector<uint8_t> &out, size_t index, uint32_t value)
{
    for (int b = 0; b < 4; ++b)
        out[4 * index + static_cast<size_t>(b)] = static_cast<uint8_t>(value >> (8 * b));
}

std::vector<uint8_t> Header(int width, int height, uint32_t flags, uint32_t pitchOrSize, size_t dataBytes)
{
    std::vector<uint8_t> out(kHeaderBytes + dataBytes, 0);
    PutWord(out, 0, kMagic);
    PutWord(out, 1, kHeaderSize);
    PutWord(out, 2, kFlagCaps | kFlagHeight | kFlagWidth | kFlagPixelFormat | flags);
    PutWord(out, kWordHeight, static_cast<uint32_t>(height));
    PutWord(out, kWordWidth, static_cast<uint32_t>(width));
    PutWord(out, 5, pitchOrSize);
    PutWord(out, 19, kPixelFormatSize);
    PutWord(out, 27, kCapsTexture);
    return out;
}

} // namespace

bool ReadDds(const uint8_t *data, size_t size, DdsImage *image, std::string *error)
{
    *image = DdsImage{};
    if (!data || size < kHeaderBytes)
        return Fail(error, "shorter than a DDS header");
    if (WordAt(data, 0) != kMagic)
        return Fail(error, "not a DDS file");
    if (WordAt(data, 1) != kHeaderSize || WordAt(data, 19) != kPixelFormatSize)
        return Fail(error, "damaged DDS header");
    uint32_t width = WordAt(data, kWordWidth), height = WordAt(data, kWordHeight);
    if (width == 0 || height == 0 || width > kMaxDdsSide || height > kMaxDdsSide)
        return Fail(error, "DDS size out of range");
    if (WordAt(data, kWordCaps2) & (kCaps2CubeMap | kCaps2Volume))
        return Fail(error, "cube maps and volume textures are not read");

    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const uint8_t *pixels = data + kHeaderBytes;
    const size_t available = size - kHeaderBytes;
    const uint32_t pfFlags = WordAt(data, kWordPfFlags);
    DdsImage decoded;
    decoded.width = w;
    decoded.height = h;
    if (pfFlags & kPfFourCC) {
        const uint32_t fourCC = WordAt(data, kWordFourCC);
        int flags = 0;
        if (fourCC == FourCC('D', 'X', 'T', '1')) {
            flags = squish::kDxt1;
            decoded.format = DdsFormat::Dxt1;
        } else if (fourCC == FourCC('D', 'X', 'T', '3')) {
            flags = squish::kDxt3;
            decoded.format = DdsFormat::Dxt3;
        } else if (fourCC == FourCC('D', 'X', 'T', '5')) {
            flags = squish::kDxt5;
            decoded.format = DdsFormat::Dxt5;
        } else {
            return Fail(error, "DDS pixel format not read");
        }
        if (available < static_cast<size_t>(squish::GetStorageRequirements(w, h, flags)))
            return Fail(error, "DDS data cut short");
        DecodeBlocks(pixels, w, h, flags, &decoded);
    } else if (pfFlags & kPfRgb) {
        const uint32_t bitCount = WordAt(data, kWordBitCount);
        if (bitCount != 16 && bitCount != 24 && bitCount != 32)
            return Fail(error, "DDS pixel format not read");
        decoded.format = bitCount == 16 ? DdsFormat::Rgb16 : bitCount == 24 ? DdsFormat::Rgb24 : DdsFormat::Rgb32;
        if (available / (bitCount / 8) / width < height)
            return Fail(error, "DDS data cut short");
        if (!DecodeRgb(pixels, w, h, static_cast<int>(bitCount), data, &decoded))
            return Fail(error, "DDS pixel format not read");
    } else {
        return Fail(error, "DDS pixel format not read");
    }
    *image = std::move(decoded);
    return true;
}

bool ReadDdsFile(const std::string &path, DdsImage *image, std::string *error)
{
    *image = DdsImage{};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(error, "cannot open the DDS file");
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Fail(error, "cannot read the DDS file");
    return ReadDds(bytes.data(), bytes.size(), image, error);
}

std::vector<uint8_t> WriteDdsArgb32(int width, int height, const std::vector<uint32_t> &pixels)
{
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> out = Header(width, height, kFlagPitch, static_cast<uint32_t>(width) * 4u, count * 4);
    PutWord(out, kWordPfFlags, kPfRgb | kPfAlphaPixels);
    PutWord(out, kWordBitCount, 32);
    PutWord(out, kWordRedMask, 0x00FF0000);
    PutWord(out, kWordGreenMask, 0x0000FF00);
    PutWord(out, kWordBlueMask, 0x000000FF);
    PutWord(out, kWordAlphaMask, 0xFF000000);
    for (size_t i = 0; i < count && i < pixels.size(); ++i)
        PutWord(out, kHeaderBytes / 4 + i, pixels[i]);
    return out;
}

std::vector<uint8_t> WriteDdsDxt1(int width, int height, const std::vector<uint32_t> &pixels)
{
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    const int flags = squish::kDxt1 | squish::kColourClusterFit;
    const int blockBytes = squish::GetStorageRequirements(width, height, flags);
    std::vector<uint8_t> out =
        Header(width, height, kFlagLinearSize, static_cast<uint32_t>(blockBytes), static_cast<size_t>(blockBytes));
    PutWord(out, kWordPfFlags, kPfFourCC);
    PutWord(out, kWordFourCC, FourCC('D', 'X', 'T', '1'));
    std::vector<uint8_t> rgba(count * 4, 0);
    for (size_t i = 0; i < count && i < pixels.size(); ++i) {
        rgba[4 * i] = static_cast<uint8_t>(pixels[i] >> 16);
        rgba[4 * i + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgba[4 * i + 2] = static_cast<uint8_t>(pixels[i]);
        rgba[4 * i + 3] = 0xFF;
    }
    squish::CompressImage(rgba.data(), width, height, out.data() + kHeaderBytes, flags);
    return out;
}

} // namespace headless
