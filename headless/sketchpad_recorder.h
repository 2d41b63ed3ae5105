// The sketchpad recorder: the list of every call made on the sketchpads of
// the headless simulator, with its arguments and a snapshot of the drawing
// state in force, so that tests can check what a module draws without
// looking at pixels. Also the global mode that says whether sketchpads
// rasterise, record, both or neither.
//
// Each sketchpad from oapiGetSketchpad appends one SketchpadRecord when it is
// obtained (not in the Null mode); its calls go there in order. Records
// accumulate until ClearRecordings. A sketchpad still open across
// ClearRecordings appends a fresh record for the calls that follow.
//
// Not thread-safe: the simulator draws from one thread.

#ifndef KORVANE_HEADLESS_SKETCHPAD_RECORDER_H
#define KORVANE_HEADLESS_SKETCHPAD_RECORDER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "DrawAPI.h"
#include "OrbiterAPI.h"

namespace headless {

enum class DrawOp {
    SetFont,
    SetPen,
    SetBrush,
    SetTextAlign,
    SetTextColor,
    SetBackgroundColor,
    SetOrigin,
    Text,
    Pixel,
    MoveTo,
    LineTo,
    Line,
    Rectangle,
    Ellipse,
    Polygon,
    Polyline,
};

// The selected pen: tool is the pointer as selected (null for none); set
// tells whether it was a live pen when selected, and only then do the
// values hold its parameters.
struct PenState {
    const oapi::Pen *tool = nullptr;
    bool set = false;
    int style = 0;
    int width = 0; // pixels
    DWORD colour = 0;
};

struct BrushState {
    const oapi::Brush *tool = nullptr;
    bool set = false;
    DWORD colour = 0;
};

// While no live font is selected, set is false and the sketchpad writes with
// its default font.
struct FontState {
    const oapi::Font *tool = nullptr;
    bool set = false;
    int height = 0; // character cell, pixels
    bool prop = false;
    std::string face;
    int style = 0; // FontStyle flags
};

// One call. The arguments, in the order of the call, are in x0, y0, x1, y1
// (the point of MoveTo, LineTo, Pixel, Text and SetOrigin in x0, y0), the
// string of Text in text (exactly len bytes), the points of Polygon and
// Polyline in points, and the colour of Pixel, SetTextColor and
// SetBackgroundColor in colour. SetTextAlign leaves its arguments in alignH
// and alignV. The other members are the state: for a Set... call the state
// it makes, for any other call the state it draws with.
struct DrawCall {
    DrawOp op = DrawOp::SetFont;
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    std::string text;
    std::vector<oapi::IVECTOR2> points;
    DWORD colour = 0;

    PenState pen;
    BrushState brush;
    FontState font;
    DWORD textColour = 0;
    DWORD backgroundColour = 0;
    int alignH = oapi::Sketchpad::LEFT;
    int alignV = oapi::Sketchpad::TOP;
    int originX = 0;
    int originY = 0;
    // The current position (MoveTo, LineTo) before the call.
    int currentX = 0;
    int currentY = 0;
};

struct SketchpadRecord {
    SURFHANDLE surface = nullptr;
    std::vector<DrawCall> calls;
};

// RasterAndRecord draws into the surface and records; RecordOnly records
// without drawing; Null does neither (for measuring the module's own work)
// but still keeps the drawing state and answers the queries; oapiBlt copies
// nothing in it either. A sketchpad
// keeps the mode in force when it was obtained.
enum class SketchpadMode { RasterAndRecord, RecordOnly, Null };

void SetSketchpadMode(SketchpadMode mode);
SketchpadMode CurrentSketchpadMode();

const std::vector<SketchpadRecord> &Recordings();
void ClearRecordings();

// Where one sketchpad writes its calls.
class RecordCursor {
public:
    // Appends a record for a sketchpad on surface.
    explicit RecordCursor(SURFHANDLE surface);

    // A new call of the given op at the end of this sketchpad's record, the
    // other members default; valid until the next Append or ClearRecordings.
    DrawCall &Append(DrawOp op);

private:
    SURFHANDLE surface_;
    size_t index_;
    uint64_t generation_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_SKETCHPAD_RECORDER_H
