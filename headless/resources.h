// Drawing resources of the headless simulator: the pens, brushes and fonts
// handed out by oapiCreatePen, oapiCreateBrush and oapiCreateFont, the
// registry that tells a live resource from any other pointer, and the tally
// of everything created and released (surfaces and sketchpads included) with
// which tests prove that a module releases what it creates exactly once.
//
// Colours are host colours 0xAABBGGRR (red in the low byte). A zero high byte
// means opaque, as for a plain Windows colour; any other high byte is the
// opacity (0xFF opaque, 0x80 about half).
//
// Releasing a null pen, brush or font is ignored and not counted, as the
// simulator treats it as a no-op. Releasing any other pointer that is not a
// live resource of that kind (a second release, a pointer from elsewhere)
// deletes nothing and only increments ResourceCounts::invalidReleases.

#ifndef KORVANE_HEADLESS_RESOURCES_H
#define KORVANE_HEADLESS_RESOURCES_H

#include <memory>
#include <string>

#include "DrawAPI.h"
#include "OrbiterAPI.h"

// Cairo's own declaration, so that users of this header need not see Cairo.
typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace headless {

// A pen: style 0 invisible, 1 solid, 2 dashed; width in pixels.
class HeadlessPen : public oapi::Pen {
public:
    HeadlessPen(int style, int width, DWORD colour);

    int style() const { return style_; }
    int width() const { return width_; }
    DWORD colour() const { return colour_; }

private:
    int style_;
    int width_;
    DWORD colour_;
};

class HeadlessBrush : public oapi::Brush {
public:
    explicit HeadlessBrush(DWORD colour);

    DWORD colour() const { return colour_; }

private:
    DWORD colour_;
};

// A font face resolved through Cairo's toy font API (fontconfig) and scaled
// so that its character cell (ascent + descent) is the requested height in
// pixels, with the metrics a sketchpad needs to lay out text without Cairo.
// Text bytes are Windows-1252 characters, as in the simulator; bytes below
// 0x20 and 0x7F are control characters that draw nothing and have no width.
// Immutable once made; shared between a font and the sketchpads using it.
class FontFace {
public:
    // height: character cell height in pixels (values below 1 are taken as
    // 1); prop: proportional rather than fixed pitch, used only to choose a
    // family when face is null or empty; face: family name, with the
    // simulator's generic names "Fixed", "Sans" and "Serif" understood;
    // style: FontStyle flags.
    FontFace(int height, bool prop, const char *face, int style);
    ~FontFace();
    FontFace(const FontFace &) = delete;
    FontFace &operator=(const FontFace &) = delete;

    // The parameters asked for.
    int height() const { return height_; }
    bool prop() const { return prop_; }
    const std::string &face() const { return face_; }
    int style() const { return style_; }

    // Metrics in pixels: the cell is ascent() above the baseline and
    // descent() below it.
    int cellHeight() const { return ascent_ + descent_; }
    int ascent() const { return ascent_; }
    int descent() const { return descent_; }
    int averageWidth() const { return averageWidth_; }
    int Advance(unsigned char c) const { return advance_[c]; }
    unsigned long Glyph(unsigned char c) const { return glyph_[c]; }
    // Width in pixels of the first len bytes of str (0 for a null str).
    int TextWidth(const char *str, int len) const;

    // The Cairo font to draw with, metrics hinted to whole pixels.
    cairo_scaled_font_t *scaledFont() const { return scaledFont_; }

private:
    int height_;
    bool prop_;
    std::string face_;
    int style_;
    int ascent_ = 0;
    int descent_ = 0;
    int averageWidth_ = 0;
    int advance_[256] = {};
    unsigned long glyph_[256] = {};
    cairo_scaled_font_t *scaledFont_ = nullptr;
};

class HeadlessFont : public oapi::Font {
public:
    HeadlessFont(int height, bool prop, const char *face, int style);

    const std::shared_ptr<const FontFace> &face() const { return face_; }

private:
    std::shared_ptr<const FontFace> face_;
};

// The font a sketchpad uses while none is selected: Courier, 16 pixels.
const std::shared_ptr<const FontFace> &DefaultFontFace();

// Creation and release behind the oapi functions.
oapi::Pen *NewPen(int style, int width, DWORD colour);
void ReleasePen(oapi::Pen *pen);
oapi::Brush *NewBrush(DWORD colour);
void ReleaseBrush(oapi::Brush *brush);
oapi::Font *NewFont(int height, bool prop, const char *face, int style);
void ReleaseFont(oapi::Font *font);

// The resource behind a pointer, or null unless it is a live resource of
// that kind. Never dereferences the pointer. A result stays valid until the
// resource is released.
const HeadlessPen *PenInfo(const oapi::Pen *pen);
const HeadlessBrush *BrushInfo(const oapi::Brush *brush);
const HeadlessFont *FontInfo(const oapi::Font *font);

struct ResourceCounts {
    int pens = 0;
    int brushes = 0;
    int fonts = 0;
    int surfaces = 0;
    int sketchpads = 0;
    // Releases of something not live, since the start of the process. The
    // same number in the live, created and released counts.
    int invalidReleases = 0;
};

// Resources alive now, and the totals created and released since the start
// of the process; live = created - released for every kind.
ResourceCounts LiveResources();
ResourceCounts CreatedResources();
ResourceCounts ReleasedResources();

// Book-keeping for the registries of all five kinds.
enum class ResourceKind { Pen, Brush, Font, Surface, Sketchpad };
void CountCreated(ResourceKind kind);
void CountReleased(ResourceKind kind);
void CountInvalidRelease();

} // namespace headless

#endif // KORVANE_HEADLESS_RESOURCES_H
