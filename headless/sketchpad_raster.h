// The headless simulator's Sketchpad. It keeps the drawing state as the
// simulator's own does (selected tools, text colour and alignment, origin,
// current position), draws with Cairo into the pixels of its surface, and
// reports every call to the recorder, as the SketchpadMode in force when it
// was obtained says.
//
// Drawing follows Windows GDI as the simulator uses it:
//  - Coordinates are pixels relative to the origin (SetOrigin); (x, y) names
//    the pixel whose top-left corner is at (x, y).
//  - A null pen (or a pen of style 0) draws no outlines, a null brush no
//    fills. A tool that is not live when selected counts as null, but the
//    pointer is still what the next Set... returns.
//  - Rectangle and Ellipse take the pixels x0 <= x < x1, y0 <= y < y1 of the
//    corners given in any order; they fill with the brush and outline with
//    the pen inside that box.
//  - Line, LineTo and Polyline draw both end pixels; Polygon is closed and
//    filled (even-odd rule) and outlined. Dashed pens (style 2) draw dashes
//    of 6 and gaps of 3 pen widths.
//  - Text(x, y, str, len) draws the len bytes of str (Windows-1252) in the
//    selected font, or Courier of 16 pixels while none is selected, in the
//    text colour, without background. x is the left edge, the centre or the
//    right edge of the text for LEFT, CENTER and RIGHT; y is the top of the
//    character cell, the baseline or the bottom of the cell for TOP,
//    BASELINE and BOTTOM. The text colour starts black and the background
//    colour (recorded only) white, as in GDI.
//  - Colours are host colours 0xAABBGGRR with the opacity rule of
//    resources.h: a zero high byte is opaque.
// Outlines, fills and text are anti-aliased; axis-aligned shapes on whole
// pixels come out exact.

#ifndef KORVANE_HEADLESS_SKETCHPAD_RASTER_H
#define KORVANE_HEADLESS_SKETCHPAD_RASTER_H

#include <memory>
#include <optional>

#include "DrawAPI.h"
#include "OrbiterAPI.h"
#include "headless/sketchpad_recorder.h"

namespace headless {

class FontFace;
class Surface;

class HeadlessSketchpad : public oapi::Sketchpad {
public:
    // A sketchpad on surface, the live surface of handle, which the caller
    // has pinned (PinSurface); the sketchpad unpins it when deleted, after
    // flushing its drawing into the pixels. Records unless mode is Null.
    HeadlessSketchpad(SURFHANDLE handle, Surface *surface, SketchpadMode mode);
    ~HeadlessSketchpad() override;
    HeadlessSketchpad(const HeadlessSketchpad &) = delete;
    HeadlessSketchpad &operator=(const HeadlessSketchpad &) = delete;

    oapi::Font *SetFont(oapi::Font *font) const override;
    oapi::Pen *SetPen(oapi::Pen *pen) const override;
    oapi::Brush *SetBrush(oapi::Brush *brush) const override;
    void SetTextAlign(TAlign_horizontal tah = LEFT, TAlign_vertical tav = TOP) override;
    DWORD SetTextColor(DWORD col) override;
    DWORD SetBackgroundColor(DWORD col) override;
    DWORD GetCharSize() override;
    // Width in pixels of the first len bytes of str, or of all of it for
    // len 0; 0 for a null str or a negative len.
    DWORD GetTextWidth(const char *str, int len = 0) override;
    void SetOrigin(int x, int y) override;
    void GetOrigin(int *x, int *y) const override;
    // False for a null str or a negative len, which draw nothing.
    bool Text(int x, int y, const char *str, int len) override;
    void Pixel(int x, int y, DWORD col) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Line(int x0, int y0, int x1, int y1) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void Ellipse(int x0, int y0, int x1, int y1) override;
    void Polygon(const oapi::IVECTOR2 *pt, int npt) override;
    void Polyline(const oapi::IVECTOR2 *pt, int npt) override;

private:
    struct Canvas;

    // A new call of op at the end of the record, with the current state
    // filled in; null when not recording.
    DrawCall *Record(DrawOp op) const;
    const FontFace &CurrentFace() const;
    bool Outlines() const;
    double PenWidth() const;
    void StrokePath() const;
    void FillPath(DWORD colour) const;
    void PointsPath(const oapi::IVECTOR2 *pt, int npt, bool close) const;
    void Segment(int x0, int y0, int x1, int y1) const;
    double X(int x) const { return static_cast<double>(x) + originX_; }
    double Y(int y) const { return static_cast<double>(y) + originY_; }

    Surface *surface_;
    std::unique_ptr<Canvas> canvas_; // null unless rasterising
    mutable std::optional<RecordCursor> cursor_;

    mutable PenState pen_;
    mutable BrushState brush_;
    mutable oapi::Font *fontTool_ = nullptr;
    mutable std::shared_ptr<const FontFace> font_; // null unless a live font is selected
    DWORD textColour_ = 0x00000000;
    DWORD backgroundColour_ = 0x00FFFFFF;
    TAlign_horizontal alignH_ = LEFT;
    TAlign_vertical alignV_ = TOP;
    int originX_ = 0;
    int originY_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
};

// A new sketchpad on a live surface in the current SketchpadMode, or null
// for any other handle.
HeadlessSketchpad *OpenSketchpad(SURFHANDLE surface);
// Flushes and deletes a sketchpad from OpenSketchpad. Null is ignored; any
// other pointer that is not an open sketchpad is counted as an invalid
// release and left alone.
void CloseSketchpad(oapi::Sketchpad *skp);

} // namespace headless

#endif // KORVANE_HEADLESS_SKETCHPAD_RASTER_H
