// Surfaces of the headless simulator: rectangles of pixels that sketchpads
// draw on, that oapiBlt copies between, and that the preview composes and
// writes out as PNG images.
//
// A surface's handle (SURFHANDLE) is the address of its Surface, but a handle
// is only ever turned back into a Surface through the registry, so an unknown
// or destroyed handle yields null instead of being dereferenced.
//
// Pixels are 32-bit words in Cairo's ARGB32 layout (0xAARRGGBB, native byte
// order), always opaque, so that Cairo draws on them in place. Host colours
// are 0x00BBGGRR, red in the low byte.

#ifndef KORVANE_HEADLESS_SURFACES_H
#define KORVANE_HEADLESS_SURFACES_H

#include <cstdint>
#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace headless {

class Surface {
public:
    // Opaque black, width x height pixels (both at least 1).
    Surface(int width, int height);
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    // Bytes from one row to the next.
    int stride() const { return width_ * 4; }
    // Write access to the pixels: the version changes.
    uint32_t *data()
    {
        touch();
        return pixels_.data();
    }
    const uint32_t *data() const { return pixels_.data(); }

    // Which state of the pixels this is: a value no other surface of the
    // process ever has, which changes with every write access (data(),
    // SetPixel, Fill) and when a sketchpad that drew on the surface is
    // released. Equal versions of a surface mean unchanged pixels; the 3D
    // renderer uploads a texture again only when its version changed.
    uint64_t version() const { return version_; }
    // The pixels changed (or are about to change) through a pointer taken
    // earlier.
    void touch() { ++version_; }

    // The host colour 0x00BBGGRR of a pixel; 0 outside the surface.
    DWORD Pixel(int x, int y) const;
    // Sets a pixel to the host colour (high byte ignored); nothing outside
    // the surface.
    void SetPixel(int x, int y, DWORD colour);
    // Sets every pixel to the host colour (high byte ignored).
    void Fill(DWORD colour);

private:
    int width_;
    int height_;
    std::vector<uint32_t> pixels_;
    uint64_t version_; // the surface's own range of 2^32 values
};

// Largest width or height of a surface, in pixels (Cairo's own limit).
constexpr int kMaxSurfaceSize = 32767;

// A new surface, or null unless 1 <= width, height <= kMaxSurfaceSize.
SURFHANDLE CreateSurface(int width, int height);
// Destroys a surface. Null is ignored; any other handle that is not a live
// surface is counted as an invalid release. A surface that a sketchpad is
// still drawing on disappears from the registry at once and is freed when
// the last such sketchpad is released.
void DestroySurface(SURFHANDLE s);
// The live surface of a handle, or null.
Surface *SurfaceFromHandle(SURFHANDLE s);

// Keeps the memory of a live surface valid, even past DestroySurface, until
// UnpinSurface; null for a handle that is not a live surface. Sketchpads
// hold their surface this way.
Surface *PinSurface(SURFHANDLE s);
void UnpinSurface(Surface *surface);

// Copies w x h pixels from src at (srcx, srcy) to tgt at (tgtx, tgty),
// clipped to both surfaces; src and tgt may be the same surface, with
// overlapping rectangles. With a colour key other than SURF_NO_CK, source
// pixels whose host colour equals the key (compared on the low 24 bits) are
// not copied. Does nothing for unknown handles.
void Blit(SURFHANDLE tgt, int tgtx, int tgty, SURFHANDLE src, int srcx, int srcy, int w, int h,
          DWORD colourKey = SURF_NO_CK);

// Draws srcRect of src scaled to the w x h rectangle of tgt at (x, y), with
// bilinear filtering; srcRect is clipped to src first. Does nothing for
// unknown handles or empty rectangles.
void BlitScaled(SURFHANDLE tgt, int x, int y, int w, int h, SURFHANDLE src, const RECT &srcRect);

// Writes a surface, or the part of it in rect (clipped to the surface), as
// an RGB PNG file. False for an unknown handle, an empty rectangle or a
// failure to write.
bool WritePng(SURFHANDLE s, const std::string &path, const RECT *rect = nullptr);
bool WritePng(const Surface &surface, const std::string &path, const RECT *rect = nullptr);

// A new surface holding a PNG image (transparent parts shown over black), or
// null if the file cannot be read as one.
SURFHANDLE LoadPng(const std::string &path);

} // namespace headless

#endif // KORVANE_HEADLESS_SURFACES_H
