#include "headless/sketchpad_raster.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "headless/resources.h"
#include "headless/surfaces.h"
#include "headless/vecmath.h"

namespace headless {

namespace {

// Dash pattern of style-2 pens, in pen widths, as it appears with the square
// caps that each dash gets: 6 on, 3 off.
constexpr double kDashDrawn = 5.0;
constexpr double kDashSkipped = 4.0;

void SetColour(cairo_t *cr, DWORD colour)
{
    DWORD alpha = colour >> 24;
    cairo_set_source_rgba(cr, (colour & 0xFF) / 255.0, ((colour >> 8) & 0xFF) / 255.0, ((colour >> 16) & 0xFF) / 255.0,
                          alpha == 0 ? 1.0 : alpha / 255.0);
}

struct LiveSketchpads {
    std::mutex mutex;
    std::unordered_set<const oapi::Sketchpad *> open;
};

// Never destroyed, so that sketchpads may be released during the exit of
// the process.
LiveSketchpads &live()
{
    static LiveSketchpads *l = new LiveSketchpads;
    return *l;
}

} // namespace

struct HeadlessSketchpad::Canvas {
    cairo_surface_t *surface = nullptr;
    cairo_t *cr = nullptr;
    std::vector<cairo_glyph_t> glyphs; // reused by Text
};

HeadlessSketchpad::HeadlessSketchpad(SURFHANDLE handle, Surface *surface, SketchpadMode mode)
    : oapi::Sketchpad(handle), surface_(surface)
{
    if (mode != SketchpadMode::Null)
        cursor_.emplace(handle);
    if (mode == SketchpadMode::RasterAndRecord) {
        canvas_ = std::make_unique<Canvas>();
        canvas_->surface =
            cairo_image_surface_create_for_data(reinterpret_cast<unsigned char *>(surface->data()), CAIRO_FORMAT_ARGB32,
                                                surface->width(), surface->height(), surface->stride());
        canvas_->cr = cairo_create(canvas_->surface);
        cairo_set_line_join(canvas_->cr, CAIRO_LINE_JOIN_MITER);
        cairo_set_fill_rule(canvas_->cr, CAIRO_FILL_RULE_EVEN_ODD);
    }
}

HeadlessSketchpad::~HeadlessSketchpad()
{
    if (canvas_) {
        cairo_destroy(canvas_->cr);
        cairo_surface_flush(canvas_->surface);
        cairo_surface_destroy(canvas_->surface);
        surface_->touch(); // what it drew since it took the pixels
    }
    UnpinSurface(surface_);
}

oapi::Font *HeadlessSketchpad::SetFont(oapi::Font *font) const
{
    oapi::Font *previous = fontTool_;
    fontTool_ = font;
    const HeadlessFont *info = FontInfo(font);
    font_ = info ? info->face() : nullptr;
    Record(DrawOp::SetFont);
    return previous;
}

oapi::Pen *HeadlessSketchpad::SetPen(oapi::Pen *pen) const
{
    oapi::Pen *previous = const_cast<oapi::Pen *>(pen_.tool);
    const HeadlessPen *info = PenInfo(pen);
    pen_ = PenState();
    pen_.tool = pen;
    if (info) {
        pen_.set = true;
        pen_.style = info->style();
        pen_.width = info->width();
        pen_.colour = info->colour();
    }
    Record(DrawOp::SetPen);
    return previous;
}

oapi::Brush *HeadlessSketchpad::SetBrush(oapi::Brush *brush) const
{
    oapi::Brush *previous = const_cast<oapi::Brush *>(brush_.tool);
    const HeadlessBrush *info = BrushInfo(brush);
    brush_ = BrushState();
    brush_.tool = brush;
    if (info) {
        brush_.set = true;
        brush_.colour = info->colour();
    }
    Record(DrawOp::SetBrush);
    return previous;
}

void HeadlessSketchpad::SetTextAlign(TAlign_horizontal tah, TAlign_vertical tav)
{
    alignH_ = tah;
    alignV_ = tav;
    Record(DrawOp::SetTextAlign);
}

DWORD HeadlessSketchpad::SetTextColor(DWORD col)
{
    DWORD previous = textColour_;
    textColour_ = col;
    if (DrawCall *call = Record(DrawOp::SetTextColor))
        call->colour = col;
    return previous;
}

DWORD HeadlessSketchpad::SetBackgroundColor(DWORD col)
{
    DWORD previous = backgroundColour_;
    backgroundColour_ = col;
    if (DrawCall *call = Record(DrawOp::SetBackgroundColor))
        call->colour = col;
    return previous;
}

DWORD HeadlessSketchpad::GetCharSize()
{
    const FontFace &face = CurrentFace();
    return (static_cast<DWORD>(face.averageWidth()) << 16) | (static_cast<DWORD>(face.cellHeight()) & 0xFFFFu);
}

DWORD HeadlessSketchpad::GetTextWidth(const char *str, int len)
{
    if (!str || len < 0)
        return 0;
    if (len == 0)
        len = static_cast<int>(std::strlen(str));
    return static_cast<DWORD>(CurrentFace().TextWidth(str, len));
}

void HeadlessSketchpad::SetOrigin(int x, int y)
{
    originX_ = x;
    originY_ = y;
    if (DrawCall *call = Record(DrawOp::SetOrigin)) {
        call->x0 = x;
        call->y0 = y;
    }
}

void HeadlessSketchpad::GetOrigin(int *x, int *y) const
{
    if (x)
        *x = originX_;
    if (y)
        *y = originY_;
}

bool HeadlessSketchpad::Text(int x, int y, const char *str, int len)
{
    if (DrawCall *call = Record(DrawOp::Text)) {
        call->x0 = x;
        call->y0 = y;
        if (str && len > 0)
            call->text.assign(str, static_cast<size_t>(len));
    }
    if (!str || len < 0)
        return false;
    if (!canvas_ || len == 0)
        return true;

    const FontFace &face = CurrentFace();
    int width = face.TextWidth(str, len);
    // Half widths round to whole pixels, keeping glyphs on the pixel grid.
    double left = X(x);
    if (alignH_ == CENTER)
        left -= width / 2;
    else if (alignH_ == RIGHT)
        left -= width;
    double baseline = Y(y);
    if (alignV_ == TOP)
        baseline += face.ascent();
    else if (alignV_ == BOTTOM)
        baseline -= face.descent();

    std::vector<cairo_glyph_t> &glyphs = canvas_->glyphs;
    glyphs.clear();
    double advance = 0.0;
    for (int i = 0; i < len; ++i) {
        unsigned char c = static_cast<unsigned char>(str[i]);
        if (face.Glyph(c) != 0 || face.Advance(c) != 0)
            glyphs.push_back(cairo_glyph_t{face.Glyph(c), left + advance, baseline});
        advance += face.Advance(c);
    }
    cairo_t *cr = canvas_->cr;
    SetColour(cr, textColour_);
    cairo_set_scaled_font(cr, face.scaledFont());
    cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    if (face.style() & FONT_UNDERLINE) {
        int thickness = std::max(1, face.height() / 16);
        cairo_rectangle(cr, left, baseline + std::max(1, face.descent() / 2), width, thickness);
        cairo_fill(cr);
    }
    return true;
}

void HeadlessSketchpad::Pixel(int x, int y, DWORD col)
{
    if (DrawCall *call = Record(DrawOp::Pixel)) {
        call->x0 = x;
        call->y0 = y;
        call->colour = col;
    }
    if (!canvas_)
        return;
    cairo_rectangle(canvas_->cr, X(x), Y(y), 1.0, 1.0);
    FillPath(col);
}

void HeadlessSketchpad::MoveTo(int x, int y)
{
    if (DrawCall *call = Record(DrawOp::MoveTo)) {
        call->x0 = x;
        call->y0 = y;
    }
    currentX_ = x;
    currentY_ = y;
}

void HeadlessSketchpad::LineTo(int x, int y)
{
    if (DrawCall *call = Record(DrawOp::LineTo)) {
        call->x0 = x;
        call->y0 = y;
    }
    Segment(currentX_, currentY_, x, y);
    currentX_ = x;
    currentY_ = y;
}

void HeadlessSketchpad::Line(int x0, int y0, int x1, int y1)
{
    if (DrawCall *call = Record(DrawOp::Line)) {
        call->x0 = x0;
        call->y0 = y0;
        call->x1 = x1;
        call->y1 = y1;
    }
    Segment(x0, y0, x1, y1);
}

void HeadlessSketchpad::Rectangle(int x0, int y0, int x1, int y1)
{
    if (DrawCall *call = Record(DrawOp::Rectangle)) {
        call->x0 = x0;
        call->y0 = y0;
        call->x1 = x1;
        call->y1 = y1;
    }
    if (!canvas_ || x0 == x1 || y0 == y1)
        return;
    cairo_t *cr = canvas_->cr;
    double left = X(std::min(x0, x1));
    double top = Y(std::min(y0, y1));
    double width = std::abs(static_cast<double>(x1) - x0);
    double height = std::abs(static_cast<double>(y1) - y0);
    if (brush_.set) {
        cairo_rectangle(cr, left, top, width, height);
        FillPath(brush_.colour);
    }
    if (Outlines()) {
        // Inside the box: the pen's centre line is half a width in.
        double inset = PenWidth() / 2.0;
        cairo_rectangle(cr, left + inset, top + inset, std::max(0.0, width - 2.0 * inset),
                        std::max(0.0, height - 2.0 * inset));
        StrokePath();
    }
}

void HeadlessSketchpad::Ellipse(int x0, int y0, int x1, int y1)
{
    if (DrawCall *call = Record(DrawOp::Ellipse)) {
        call->x0 = x0;
        call->y0 = y0;
        call->x1 = x1;
        call->y1 = y1;
    }
    if (!canvas_)
        return;
    cairo_t *cr = canvas_->cr;
    double cx = (X(x0) + X(x1)) / 2.0;
    double cy = (Y(y0) + Y(y1)) / 2.0;
    double rx = std::abs(static_cast<double>(x1) - x0) / 2.0;
    double ry = std::abs(static_cast<double>(y1) - y0) / 2.0;
    auto ellipsePath = [cr, cx, cy](double radiusX, double radiusY) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, radiusX, radiusY);
        cairo_new_sub_path(cr);
        cairo_arc(cr, 0.0, 0.0, 1.0, 0.0, kTwoPi);
        cairo_close_path(cr);
        cairo_restore(cr);
    };
    // Scaling by a zero radius would leave Cairo in an error state.
    if (brush_.set && rx > 0.0 && ry > 0.0) {
        ellipsePath(rx, ry);
        FillPath(brush_.colour);
    }
    double inset = PenWidth() / 2.0;
    if (Outlines() && rx > inset && ry > inset) {
        ellipsePath(rx - inset, ry - inset);
        StrokePath();
    }
}

void HeadlessSketchpad::Polygon(const oapi::IVECTOR2 *pt, int npt)
{
    if (DrawCall *call = Record(DrawOp::Polygon)) {
        if (pt && npt > 0)
            call->points.assign(pt, pt + npt);
    }
    if (!canvas_ || !pt || npt < 2)
        return;
    if (brush_.set) {
        PointsPath(pt, npt, true);
        FillPath(brush_.colour);
    }
    if (Outlines()) {
        PointsPath(pt, npt, true);
        StrokePath();
    }
}

void HeadlessSketchpad::Polyline(const oapi::IVECTOR2 *pt, int npt)
{
    if (DrawCall *call = Record(DrawOp::Polyline)) {
        if (pt && npt > 0)
            call->points.assign(pt, pt + npt);
    }
    if (!canvas_ || !pt || npt < 2 || !Outlines())
        return;
    PointsPath(pt, npt, false);
    StrokePath();
}

DrawCall *HeadlessSketchpad::Record(DrawOp op) const
{
    if (!cursor_)
        return nullptr;
    DrawCall &call = cursor_->Append(op);
    call.pen = pen_;
    call.brush = brush_;
    call.font.tool = fontTool_;
    if (font_) {
        call.font.set = true;
        call.font.height = font_->height();
        call.font.prop = font_->prop();
        call.font.face = font_->face();
        call.font.style = font_->style();
    }
    call.textColour = textColour_;
    call.backgroundColour = backgroundColour_;
    call.alignH = alignH_;
    call.alignV = alignV_;
    call.originX = originX_;
    call.originY = originY_;
    call.currentX = currentX_;
    call.currentY = currentY_;
    return &call;
}

const FontFace &HeadlessSketchpad::CurrentFace() const { return font_ ? *font_ : *DefaultFontFace(); }

bool HeadlessSketchpad::Outlines() const { return pen_.set && pen_.style != 0; }

double HeadlessSketchpad::PenWidth() const { return std::max(1, pen_.width); }

void HeadlessSketchpad::StrokePath() const
{
    cairo_t *cr = canvas_->cr;
    double width = PenWidth();
    SetColour(cr, pen_.colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
    if (pen_.style == 2) {
        const double dashes[2] = {kDashDrawn * width, kDashSkipped * width};
        cairo_set_dash(cr, dashes, 2, 0.0);
    } else {
        cairo_set_dash(cr, nullptr, 0, 0.0);
    }
    cairo_stroke(cr);
}

void HeadlessSketchpad::FillPath(DWORD colour) const
{
    SetColour(canvas_->cr, colour);
    cairo_fill(canvas_->cr);
}

void HeadlessSketchpad::PointsPath(const oapi::IVECTOR2 *pt, int npt, bool close) const
{
    // Through pixel centres for odd pen widths, so that a 1-pixel line covers
    // whole pixels; on pixel corners for even ones.
    double offset = static_cast<int>(PenWidth()) % 2 == 1 ? 0.5 : 0.0;
    cairo_t *cr = canvas_->cr;
    cairo_move_to(cr, X(pt[0].x) + offset, Y(pt[0].y) + offset);
    for (int i = 1; i < npt; ++i)
        cairo_line_to(cr, X(pt[i].x) + offset, Y(pt[i].y) + offset);
    if (close)
        cairo_close_path(cr);
}

void HeadlessSketchpad::Segment(int x0, int y0, int x1, int y1) const
{
    if (!canvas_ || !Outlines())
        return;
    oapi::IVECTOR2 ends[2];
    ends[0].x = x0;
    ends[0].y = y0;
    ends[1].x = x1;
    ends[1].y = y1;
    PointsPath(ends, 2, false);
    StrokePath();
}

HeadlessSketchpad *OpenSketchpad(SURFHANDLE surface)
{
    Surface *pinned = PinSurface(surface);
    if (!pinned)
        return nullptr;
    auto *skp = new HeadlessSketchpad(surface, pinned, CurrentSketchpadMode());
    {
        std::lock_guard<std::mutex> lock(live().mutex);
        live().open.insert(skp);
    }
    CountCreated(ResourceKind::Sketchpad);
    return skp;
}

void CloseSketchpad(oapi::Sketchpad *skp)
{
    if (!skp)
        return;
    {
        std::lock_guard<std::mutex> lock(live().mutex);
        if (live().open.erase(skp) == 0) {
            CountInvalidRelease();
            return;
        }
    }
    delete skp;
    CountReleased(ResourceKind::Sketchpad);
}

} // namespace headless
