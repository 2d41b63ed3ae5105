// DirectDraw Surface (DDS) files, the simulator's texture format: the header
// as the simulator's graphics client reads it, the pixel formats the add-on's
// textures use, and the writer of those textures.
//
// Layout (all numbers little-endian 32-bit words):
//   bytes 0..3     magic "DDS "
//   bytes 4..127   header: size (124), flags, height, width, pitch or linear
//                  size, depth, mipmap count, 11 reserved words, the pixel
//                  format (size 32, flags, FourCC, bit count, red, green,
//                  blue and alpha masks), caps, caps2, caps3, caps4, reserved
//   bytes 128..    the top mipmap level, rows from the top, then any smaller
//                  levels (which this reader ignores)
// Pixel formats read:
//   - FourCC "DXT1", "DXT3", "DXT5": 4 x 4 blocks of 8 or 16 bytes, decoded
//     with libsquish; sizes that are not multiples of 4 have part blocks;
//   - uncompressed RGB (pixel-format flag 0x40) of 16, 24 or 32 bits a pixel,
//     each channel given by its bit mask, alpha only with flag 0x1 and a
//     non-zero alpha mask (otherwise opaque); rows packed without padding.
// Refused (false, with a reason): fewer than 128 bytes, another magic, a
// header or pixel-format size other than 124 / 32, a width or height of 0
// or above kMaxDdsSide, cube maps and volume textures, the DX10 extension
// and any other format, and data shorter than the top level needs.
//
// Pixels are returned as 32-bit words 0xAARRGGBB, the stand-in's surface
// layout.

#ifndef KORVANE_HEADLESS_DDS_FILE_H
#define KORVANE_HEADLESS_DDS_FILE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace headless {

// Largest width or height read (pixels).
constexpr int kMaxDdsSide = 8192;

enum class DdsFormat { Dxt1, Dxt3, Dxt5, Rgb16, Rgb24, Rgb32 };

struct DdsImage {
    int width = 0;
    int height = 0;
    DdsFormat format = DdsFormat::Rgb32;
    std::vector<uint32_t> pixels; // width x height words 0xAARRGGBB, top row first
};

// Reads a DDS image from memory. False (and *error says why) for a file
// that is refused; *image is then left empty.
bool ReadDds(const uint8_t *data, size_t size, DdsImage *image, std::string *error = nullptr);
// The same from a file; false also if it cannot be read.
bool ReadDdsFile(const std::string &path, DdsImage *image, std::string *error = nullptr);

// The file of an uncompressed 32-bit image (A8R8G8B8, one level): what the
// simulator draws on for a dynamic texture. pixels: width x height words
// 0xAARRGGBB, top row first; width and height at least 1.
std::vector<uint8_t> WriteDdsArgb32(int width, int height, const std::vector<uint32_t> &pixels);
// The file of a DXT1 image (one level, opaque), compressed with libsquish's
// cluster fit; same pixels as above.
std::vector<uint8_t> WriteDdsDxt1(int width, int height, const std::vector<uint32_t> &pixels);

} // namespace headless

#endif // KORVANE_HEADLESS_DDS_FILE_H
