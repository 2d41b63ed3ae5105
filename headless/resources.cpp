#include "headless/resources.h"

#include <algorithm>
#include <atomic>
#include <cairo.h>
#include <cmath>
#include <mutex>
#include <strings.h>
#include <unordered_map>

namespace headless {

namespace {

constexpr int kDefaultFontHeight = 16; // pixels
// Font size at which the proportions of a face are measured: large, so that
// rounding inside the font engine does not matter.
constexpr double kProbeFontSize = 1000.0;

// Unicode code points of the Windows-1252 bytes 0x80..0x9F; 0 where the code
// page leaves a byte undefined.
constexpr unsigned kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The code point of a printable Windows-1252 byte; 0 for a control byte.
unsigned CodePoint(unsigned char c)
{
    if (c < 0x20 || c == 0x7F)
        return 0;
    if (c >= 0x80 && c < 0xA0)
        return kCp1252High[c - 0x80];
    return c;
}

// UTF-8 bytes of a code point below 0x10000 into out (at least 4 bytes),
// NUL-terminated; returns the number of bytes before the NUL.
int EncodeUtf8(unsigned cp, char *out)
{
    int n;
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        n = 1;
    } else if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 2;
    } else {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        n = 3;
    }
    out[n] = '\0';
    return n;
}

// The fontconfig family for a face asked for by a module.
const char *FamilyFor(const std::string &face, bool prop)
{
    if (face.empty())
        return prop ? "sans-serif" : "monospace";
    if (strcasecmp(face.c_str(), "Fixed") == 0)
        return "monospace";
    if (strcasecmp(face.c_str(), "Sans") == 0)
        return "sans-serif";
    if (strcasecmp(face.c_str(), "Serif") == 0)
        return "serif";
    return face.c_str();
}

cairo_font_face_t *ToyFace(const char *family, int style)
{
    cairo_font_slant_t slant = (style & FONT_ITALIC) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL;
    cairo_font_weight_t weight = (style & FONT_BOLD) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL;
    cairo_font_face_t *face = cairo_toy_font_face_create(family, slant, weight);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        // A family name that is not valid UTF-8, for one.
        cairo_font_face_destroy(face);
        face = cairo_toy_font_face_create("monospace", slant, weight);
    }
    return face;
}

cairo_scaled_font_t *ScaledFont(cairo_font_face_t *face, double size, cairo_hint_metrics_t hintMetrics)
{
    cairo_matrix_t fontMatrix;
    cairo_matrix_init_scale(&fontMatrix, size, size);
    cairo_matrix_t identity;
    cairo_matrix_init_identity(&identity);
    cairo_font_options_t *options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, hintMetrics);
    cairo_scaled_font_t *font = cairo_scaled_font_create(face, &fontMatrix, &identity, options);
    cairo_font_options_destroy(options);
    return font;
}

template <typename Base, typename Derived> using LiveMap = std::unordered_map<const Base *, std::unique_ptr<Derived>>;

struct Registry {
    std::mutex mutex;
    LiveMap<oapi::Pen, HeadlessPen> pens;
    LiveMap<oapi::Brush, HeadlessBrush> brushes;
    LiveMap<oapi::Font, HeadlessFont> fonts;
};

// Never destroyed, so that resources may be released during the exit of the
// process in any order.
Registry &registry()
{
    static Registry *r = new Registry;
    return *r;
}

constexpr int kKinds = 5;
std::atomic<int> created[kKinds];
std::atomic<int> released[kKinds];
std::atomic<int> invalidReleases{0};

template <typename Base, typename Derived> Base *Add(LiveMap<Base, Derived> &map, std::unique_ptr<Derived> item)
{
    Base *base = item.get();
    std::lock_guard<std::mutex> lock(registry().mutex);
    map.emplace(base, std::move(item));
    return base;
}

template <typename Base, typename Derived> void Remove(LiveMap<Base, Derived> &map, Base *item, ResourceKind kind)
{
    if (!item)
        return;
    std::unique_ptr<Derived> doomed;
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        auto it = map.find(item);
        if (it == map.end()) {
            CountInvalidRelease();
            return;
        }
        doomed = std::move(it->second);
        map.erase(it);
    }
    CountReleased(kind);
}

template <typename Base, typename Derived> const Derived *Find(LiveMap<Base, Derived> &map, const Base *item)
{
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto it = map.find(item);
    return it == map.end() ? nullptr : it->second.get();
}

ResourceCounts CountsOf(const std::atomic<int> *counts)
{
    ResourceCounts c;
    c.pens = counts[static_cast<int>(ResourceKind::Pen)];
    c.brushes = counts[static_cast<int>(ResourceKind::Brush)];
    c.fonts = counts[static_cast<int>(ResourceKind::Font)];
    c.surfaces = counts[static_cast<int>(ResourceKind::Surface)];
    c.sketchpads = counts[static_cast<int>(ResourceKind::Sketchpad)];
    c.invalidReleases = invalidReleases;
    return c;
}

} // namespace

HeadlessPen::HeadlessPen(int style, int width, DWORD colour)
    : oapi::Pen(style, width, colour), style_(style), width_(width), colour_(colour)
{
}

HeadlessBrush::HeadlessBrush(DWORD colour) : oapi::Brush(colour), colour_(colour) {}

FontFace::FontFace(int height, bool prop, const char *face, int style)
    : height_(std::max(1, height)), prop_(prop), face_(face ? face : ""), style_(style)
{
    cairo_font_face_t *toy = ToyFace(FamilyFor(face_, prop_), style_);

    // The cell height per unit of font size, and the share of the cell above
    // the baseline, from unhinted metrics.
    cairo_scaled_font_t *probe = ScaledFont(toy, kProbeFontSize, CAIRO_HINT_METRICS_OFF);
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(probe, &extents);
    cairo_scaled_font_destroy(probe);
    double cell = extents.ascent + extents.descent;
    double cellPerSize = cell / kProbeFontSize;
    double ascentShare = cell > 0.0 ? extents.ascent / cell : 0.8;
    if (!(cellPerSize > 0.0))
        cellPerSize = 1.0;

    scaledFont_ = ScaledFont(toy, height_ / cellPerSize, CAIRO_HINT_METRICS_ON);
    cairo_font_face_destroy(toy);
    ascent_ = std::clamp(static_cast<int>(std::lround(height_ * ascentShare)), 0, height_);
    descent_ = height_ - ascent_;

    for (int c = 0; c < 256; ++c) {
        unsigned cp = CodePoint(static_cast<unsigned char>(c));
        if (cp == 0)
            continue;
        char utf8[4];
        int utf8Len = EncodeUtf8(cp, utf8);
        cairo_glyph_t buffer[4];
        cairo_glyph_t *glyphs = buffer;
        int glyphCount = 4;
        cairo_status_t status = cairo_scaled_font_text_to_glyphs(scaledFont_, 0.0, 0.0, utf8, utf8Len, &glyphs,
                                                                 &glyphCount, nullptr, nullptr, nullptr);
        if (status == CAIRO_STATUS_SUCCESS && glyphCount >= 1) {
            cairo_text_extents_t te;
            cairo_scaled_font_glyph_extents(scaledFont_, glyphs, 1, &te);
            glyph_[c] = glyphs[0].index;
            advance_[c] = static_cast<int>(std::lround(te.x_advance));
        }
        if (glyphs != buffer)
            cairo_glyph_free(glyphs);
    }

    int sum = 0;
    for (int c = 0x20; c < 0x7F; ++c)
        sum += advance_[c];
    averageWidth_ = static_cast<int>(std::lround(sum / double(0x7F - 0x20)));
}

FontFace::~FontFace() { cairo_scaled_font_destroy(scaledFont_); }

int FontFace::TextWidth(const char *str, int len) const
{
    if (!str)
        return 0;
    int width = 0;
    for (int i = 0; i < len; ++i)
        width += advance_[static_cast<unsigned char>(str[i])];
    return width;
}

HeadlessFont::HeadlessFont(int height, bool prop, const char *face, int style)
    : oapi::Font(height, prop, face, static_cast<FontStyle>(style)),
      face_(std::make_shared<const FontFace>(height, prop, face, style))
{
}

const std::shared_ptr<const FontFace> &DefaultFontFace()
{
    static const std::shared_ptr<const FontFace> *face =
        new std::shared_ptr<const FontFace>(std::make_shared<const FontFace>(kDefaultFontHeight, false, "Courier", 0));
    return *face;
}

oapi::Pen *NewPen(int style, int width, DWORD colour)
{
    oapi::Pen *pen = Add(registry().pens, std::make_unique<HeadlessPen>(style, width, colour));
    CountCreated(ResourceKind::Pen);
    return pen;
}

void ReleasePen(oapi::Pen *pen) { Remove(registry().pens, pen, ResourceKind::Pen); }

oapi::Brush *NewBrush(DWORD colour)
{
    oapi::Brush *brush = Add(registry().brushes, std::make_unique<HeadlessBrush>(colour));
    CountCreated(ResourceKind::Brush);
    return brush;
}

void ReleaseBrush(oapi::Brush *brush) { Remove(registry().brushes, brush, ResourceKind::Brush); }

oapi::Font *NewFont(int height, bool prop, const char *face, int style)
{
    oapi::Font *font = Add(registry().fonts, std::make_unique<HeadlessFont>(height, prop, face, style));
    CountCreated(ResourceKind::Font);
    return font;
}

void ReleaseFont(oapi::Font *font) { Remove(registry().fonts, font, ResourceKind::Font); }

const HeadlessPen *PenInfo(const oapi::Pen *pen) { return Find(registry().pens, pen); }
const HeadlessBrush *BrushInfo(const oapi::Brush *brush) { return Find(registry().brushes, brush); }
const HeadlessFont *FontInfo(const oapi::Font *font) { return Find(registry().fonts, font); }

ResourceCounts LiveResources()
{
    ResourceCounts c = CreatedResources();
    ResourceCounts r = ReleasedResources();
    c.pens -= r.pens;
    c.brushes -= r.brushes;
    c.fonts -= r.fonts;
    c.surfaces -= r.surfaces;
    c.sketchpads -= r.sketchpads;
    return c;
}

ResourceCounts CreatedResources() { return CountsOf(created); }
ResourceCounts ReleasedResources() { return CountsOf(released); }

void CountCreated(ResourceKind kind) { ++created[static_cast<int>(kind)]; }
void CountReleased(ResourceKind kind) { ++released[static_cast<int>(kind)]; }
void CountInvalidRelease() { ++invalidReleases; }

} // namespace headless
