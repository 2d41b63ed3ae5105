#include "headless/surfaces.h"

#include <algorithm>
#include <atomic>
#include <cairo.h>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "headless/resources.h"

namespace headless {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;

uint32_t ArgbFromHost(DWORD colour)
{
    return kOpaque | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

DWORD HostFromArgb(uint32_t argb) { return ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16); }

struct Entry {
    std::unique_ptr<Surface> surface;
    int pins = 0;
    bool destroyed = false;
};

struct Registry {
    std::mutex mutex;
    std::unordered_map<const void *, Entry> entries;
};

// Never destroyed, so that surfaces may be destroyed during the exit of the
// process in any order.
Registry &registry()
{
    static Registry *r = new Registry;
    return *r;
}

// A Cairo image surface on the w x h pixels of surface at (left, top); the
// rectangle must lie inside the surface. RGB24 reads the same words as
// ARGB32 but ignores the alpha byte.
cairo_surface_t *CairoView(Surface &surface, int left, int top, int w, int h,
                           cairo_format_t format = CAIRO_FORMAT_ARGB32)
{
    unsigned char *base = reinterpret_cast<unsigned char *>(surface.data()) +
                          static_cast<size_t>(top) * surface.stride() + static_cast<size_t>(left) * 4;
    return cairo_image_surface_create_for_data(base, format, w, h, surface.stride());
}

// The part of rect (the whole surface for null) inside the surface; false if
// nothing is left.
bool ClipToSurface(const Surface &surface, const RECT *rect, RECT &clipped)
{
    clipped = _R(0, 0, surface.width(), surface.height());
    if (rect) {
        clipped.left = std::max<LONG>(rect->left, 0);
        clipped.top = std::max<LONG>(rect->top, 0);
        clipped.right = std::min<LONG>(rect->right, surface.width());
        clipped.bottom = std::min<LONG>(rect->bottom, surface.height());
    }
    return clipped.left < clipped.right && clipped.top < clipped.bottom;
}

} // namespace

Surface::Surface(int width, int height)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, kOpaque)
{
    static std::atomic<uint64_t> made{0};
    version_ = ++made << 32;
}

DWORD Surface::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    return HostFromArgb(pixels_[static_cast<size_t>(y) * width_ + x]);
}

void Surface::SetPixel(int x, int y, DWORD colour)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    touch();
    pixels_[static_cast<size_t>(y) * width_ + x] = ArgbFromHost(colour);
}

void Surface::Fill(DWORD colour)
{
    touch();
    std::fill(pixels_.begin(), pixels_.end(), ArgbFromHost(colour));
}

SURFHANDLE CreateSurface(int width, int height)
{
    if (width < 1 || height < 1 || width > kMaxSurfaceSize || height > kMaxSurfaceSize)
        return nullptr;
    auto surface = std::make_unique<Surface>(width, height);
    SURFHANDLE handle = surface.get();
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        registry().entries[handle].surface = std::move(surface);
    }
    CountCreated(ResourceKind::Surface);
    return handle;
}

void DestroySurface(SURFHANDLE s)
{
    if (!s)
        return;
    std::unique_ptr<Surface> doomed;
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        auto it = registry().entries.find(s);
        if (it == registry().entries.end() || it->second.destroyed) {
            CountInvalidRelease();
            return;
        }
        it->second.destroyed = true;
        if (it->second.pins == 0) {
            doomed = std::move(it->second.surface);
            registry().entries.erase(it);
        }
    }
    CountReleased(ResourceKind::Surface);
}

Surface *SurfaceFromHandle(SURFHANDLE s)
{
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto it = registry().entries.find(s);
    if (it == registry().entries.end() || it->second.destroyed)
        return nullptr;
    return it->second.surface.get();
}

Surface *PinSurface(SURFHANDLE s)
{
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto it = registry().entries.find(s);
    if (it == registry().entries.end() || it->second.destroyed)
        return nullptr;
    ++it->second.pins;
    return it->second.surface.get();
}

void UnpinSurface(Surface *surface)
{
    std::unique_ptr<Surface> doomed;
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto it = registry().entries.find(surface);
    if (it == registry().entries.end() || it->second.pins == 0)
        return;
    if (--it->second.pins == 0 && it->second.destroyed) {
        doomed = std::move(it->second.surface);
        registry().entries.erase(it);
    }
}

void Blit(SURFHANDLE tgt, int tgtx, int tgty, SURFHANDLE src, int srcx, int srcy, int w, int h, DWORD colourKey)
{
    Surface *to = SurfaceFromHandle(tgt);
    const Surface *from = SurfaceFromHandle(src); // only read: its version stays
    if (!to || !from || w <= 0 || h <= 0)
        return;

    // Clip in source coordinates: source pixel (x, y) lands on (x + dx, y + dy).
    long long dx = static_cast<long long>(tgtx) - srcx;
    long long dy = static_cast<long long>(tgty) - srcy;
    long long x0 = std::max({static_cast<long long>(srcx), 0LL, -dx});
    long long x1 =
        std::min({static_cast<long long>(srcx) + w, static_cast<long long>(from->width()), to->width() - dx});
    long long y0 = std::max({static_cast<long long>(srcy), 0LL, -dy});
    long long y1 =
        std::min({static_cast<long long>(srcy) + h, static_cast<long long>(from->height()), to->height() - dy});
    if (x0 >= x1 || y0 >= y1)
        return;
    size_t columns = static_cast<size_t>(x1 - x0);

    // Rows read from a copy when source and target are one surface, so that
    // overlapping rectangles copy as if through a buffer.
    std::vector<uint32_t> copy;
    if (from == to) {
        copy.reserve(columns * static_cast<size_t>(y1 - y0));
        for (long long y = y0; y < y1; ++y) {
            const uint32_t *row = from->data() + y * from->width() + x0;
            copy.insert(copy.end(), row, row + columns);
        }
    }

    bool keyed = colourKey != SURF_NO_CK;
    uint32_t key = ArgbFromHost(colourKey) & 0x00FFFFFFu;
    for (long long y = y0; y < y1; ++y) {
        const uint32_t *in = copy.empty() ? from->data() + y * from->width() + x0 : copy.data() + (y - y0) * columns;
        uint32_t *out = to->data() + (y + dy) * to->width() + (x0 + dx);
        if (!keyed) {
            std::memcpy(out, in, columns * sizeof(uint32_t));
            continue;
        }
        for (size_t i = 0; i < columns; ++i) {
            if ((in[i] & 0x00FFFFFFu) != key)
                out[i] = in[i];
        }
    }
}

void BlitScaled(SURFHANDLE tgt, int x, int y, int w, int h, SURFHANDLE src, const RECT &srcRect)
{
    Surface *to = SurfaceFromHandle(tgt);
    Surface *from = SurfaceFromHandle(src);
    RECT part;
    if (!to || !from || w <= 0 || h <= 0 || !ClipToSurface(*from, &srcRect, part))
        return;
    int partWidth = part.right - part.left;
    int partHeight = part.bottom - part.top;

    cairo_surface_t *source = CairoView(*from, part.left, part.top, partWidth, partHeight);
    if (from == to) {
        // Cairo must not read the pixels it is writing.
        cairo_surface_t *copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, partWidth, partHeight);
        cairo_t *cr = cairo_create(copy);
        cairo_set_source_surface(cr, source, 0.0, 0.0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_destroy(source);
        source = copy;
    }

    cairo_surface_t *target = CairoView(*to, 0, 0, to->width(), to->height());
    cairo_t *cr = cairo_create(target);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, static_cast<double>(w) / partWidth, static_cast<double>(h) / partHeight);
    cairo_set_source_surface(cr, source, 0.0, 0.0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(target);
    cairo_surface_destroy(target);
    cairo_surface_destroy(source);
}

bool WritePng(SURFHANDLE s, const std::string &path, const RECT *rect)
{
    Surface *surface = SurfaceFromHandle(s);
    return surface && WritePng(*surface, path, rect);
}

bool WritePng(const Surface &surface, const std::string &path, const RECT *rect)
{
    RECT part;
    if (!ClipToSurface(surface, rect, part))
        return false;
    // Cairo only reads the pixels while writing the file.
    cairo_surface_t *view = CairoView(const_cast<Surface &>(surface), part.left, part.top, part.right - part.left,
                                      part.bottom - part.top, CAIRO_FORMAT_RGB24);
    cairo_status_t status = cairo_surface_write_to_png(view, path.c_str());
    cairo_surface_destroy(view);
    return status == CAIRO_STATUS_SUCCESS;
}

SURFHANDLE LoadPng(const std::string &path)
{
    cairo_surface_t *image = cairo_image_surface_create_from_png(path.c_str());
    SURFHANDLE handle = nullptr;
    Surface *surface = nullptr;
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        handle = CreateSurface(cairo_image_surface_get_width(image), cairo_image_surface_get_height(image));
        surface = SurfaceFromHandle(handle);
    }
    if (surface) {
        cairo_surface_t *target = CairoView(*surface, 0, 0, surface->width(), surface->height());
        cairo_t *cr = cairo_create(target);
        cairo_set_source_surface(cr, image, 0.0, 0.0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        cairo_surface_destroy(target);
    }
    cairo_surface_destroy(image);
    return handle;
}

} // namespace headless
