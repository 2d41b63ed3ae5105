#include "apps/serve/png_encoding.h"

#include <csetjmp>
#include <vector>

#include <png.h>

namespace serve {

namespace {

void AppendToString(png_structp png, png_bytep data, png_size_t length)
{
    auto *out = static_cast<std::string *>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char *>(data), length);
}

void NoFlush(png_structp) {}

constexpr int kZlibLevel = 1;

} // namespace

bool EncodePng(const std::uint32_t *pixels, int width, int height, int strideWords, std::string *png)
{
    png->clear();
    if (!pixels || width < 1 || height < 1 || strideWords < width)
        return false;
    png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!writer)
        return false;
    png_infop info = png_create_info_struct(writer);
    if (!info) {
        png_destroy_write_struct(&writer, nullptr);
        return false;
    }
    // Built before the jump point: nothing with a destructor may live
    // between setjmp and a longjmp out of libpng.
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] =
            reinterpret_cast<png_bytep>(const_cast<std::uint32_t *>(pixels + static_cast<size_t>(y) * strideWords));
    if (setjmp(png_jmpbuf(writer))) {
        png_destroy_write_struct(&writer, &info);
        png->clear();
        return false;
    }
    png_set_write_fn(writer, png, AppendToString, NoFlush);
    png_set_IHDR(writer, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(writer, kZlibLevel);
    png_set_filter(writer, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_write_info(writer, info);
    // A word 0xAARRGGBB lies in memory as B, G, R, A on a little-endian
    // machine and as A, R, G, B on a big-endian one: libpng takes the
    // colour order and drops the fourth byte as it writes.
    const std::uint32_t probe = 1;
    const bool littleEndian = *reinterpret_cast<const unsigned char *>(&probe) == 1;
    if (littleEndian) {
        png_set_bgr(writer);
        png_set_filler(writer, 0, PNG_FILLER_AFTER);
    } else {
        png_set_filler(writer, 0, PNG_FILLER_BEFORE);
    }
    png_write_image(writer, rows.data());
    png_write_end(writer, nullptr);
    png_destroy_write_struct(&writer, &info);
    return true;
}

} // namespace serve
