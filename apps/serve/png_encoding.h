// PNG encoding of the stand-in's surface pixels (libpng), tuned for speed:
// the pictures go to a page several times a second, so the fastest zlib
// level and no row filter. The screens are mostly black with thin lines and
// text, which deflate packs well as they are: on a picture of screen 0 this
// is both faster and smaller than with the "sub" or "up" filters.

#ifndef KORVANE_APPS_SERVE_PNG_ENCODING_H
#define KORVANE_APPS_SERVE_PNG_ENCODING_H

#include <cstdint>
#include <string>

namespace serve {

// Encodes width x height pixels in the surfaces' layout (32-bit words
// 0xAARRGGBB, opaque, rows strideWords words apart) as an 8-bit RGB PNG
// into *png. False (and *png empty) for a size below 1 or a stride shorter
// than a row, or if libpng fails.
bool EncodePng(const std::uint32_t *pixels, int width, int height, int strideWords, std::string *png);

} // namespace serve

#endif // KORVANE_APPS_SERVE_PNG_ENCODING_H
