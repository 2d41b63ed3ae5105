// The messages the server sends to a control-room page. Each belongs to a
// stream: a page that reads slowly gets only the newest message of each
// stream (outbox.h), so every message carries a whole state, never a change.
//
// Text messages (JSON objects, "type" first):
//   hello     once, first: the protocol version, the cockpit's areas
//             ({id, width, height, clickable}), its MFDs, the 3D view
//             ({width, height, zones}: its size, 0 x 0 if the server shows
//             none, and where each click zone's centre appears in it,
//             {area, x, y} in continuous pixels, for the zones in view), the
//             limits of the page's messages (page_input.h) and the keys the
//             server knows.
//   state     the clock: mjd, simTime (s), warp, paused, the focus vessel
//             and the simulation's measured frames per second.
//   mfd       one MFD's display: mfd (0 left, 1 right), on, title, lines.
//   inputbox  the input box a module opened: open, title, text (initial),
//             visibleLength, and rejected: the last text the module turned
//             down while the box stayed open ("" if none).
//   vessels   the names of the simulation's vessels.
// Binary messages (frames): a picture of one stream.
//   bytes 0..3   length N of the header, unsigned, little-endian
//   bytes 4..    the header, N bytes of JSON: {"type":"frame","stream":...,
//                "area":..., "seq":..., "drawnAtUs":..., "simTime":...,
//                "width":..., "height":..., "format":"png", "texts":[...]}
//   the rest     the image, in the header's format
// Stream "area" carries the redrawn cockpit areas (area: the area id; texts:
// the text the module wrote on it, in drawing order); seq counts every frame
// the server sent, over all streams. Stream "view" carries the 3D view from
// the cockpit (area 0, no texts).

#ifndef KORVANE_APPS_SERVE_PAGE_OUTPUT_H
#define KORVANE_APPS_SERVE_PAGE_OUTPUT_H

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "apps/serve/page_input.h"

namespace serve {

constexpr int kProtocolVersion = 1;

// One message on its way to the pages; shared by all of them, never changed.
struct OutMessage {
    bool binary = false;
    std::string bytes;
};
using OutMessagePtr = std::shared_ptr<const OutMessage>;

struct AreaInfo {
    int id = 0;
    int width = 0;  // pixels of its picture
    int height = 0;
    bool clickable = false;
};

// Where the centre of a cockpit area's click zone appears in the 3D view.
struct ViewZone {
    int area = 0;
    double x = 0.0, y = 0.0; // continuous pixels from the view's top-left corner
};

struct ViewLayout {
    int width = 0; // 0 x 0: no 3D view
    int height = 0;
    std::vector<ViewZone> zones;
};

// What the loaded cockpit shows: the areas drawn on textures, in
// registration order, the MFDs and the 3D view.
struct CockpitLayout {
    std::vector<AreaInfo> areas;
    std::vector<int> mfds;
    ViewLayout view;
    ClickableAreas clickable() const;
};

struct SimulationState {
    double mjd = 0.0;
    double simTimeSeconds = 0.0;
    double warp = 1.0;
    bool paused = false;
    std::string focus;
    double framesPerSecond = 0.0;
};

struct MfdDisplay {
    int mfd = 0;
    bool on = false;
    std::string title;
    std::vector<std::string> lines;
    bool operator==(const MfdDisplay &o) const
    {
        return mfd == o.mfd && on == o.on && title == o.title && lines == o.lines;
    }
    bool operator!=(const MfdDisplay &o) const { return !(*this == o); }
};

struct InputBoxState {
    bool open = false;
    std::string title;
    std::string text;
    int visibleLength = 0;
    std::string rejected;
    bool operator==(const InputBoxState &o) const
    {
        return open == o.open && title == o.title && text == o.text && visibleLength == o.visibleLength &&
               rejected == o.rejected;
    }
    bool operator!=(const InputBoxState &o) const { return !(*this == o); }
};

struct FrameHeader {
    std::string stream = "area";
    int area = 0;
    std::uint64_t seq = 0;
    std::int64_t drawnAtUs = 0; // the server's steady clock when the module drew it
    double simTimeSeconds = 0.0;
    int width = 0;
    int height = 0;
    std::vector<std::string> texts;
};

// Stream names: "hello", "state", "vessels", "inputbox", "mfd/<n>",
// "area/<id>", "view".
std::string AreaStream(int areaId);
std::string MfdStream(int mfd);

// Text in these messages may come from anywhere (vessel names of a scenario
// file): bytes that are not UTF-8 are sent as U+FFFD.
OutMessagePtr HelloMessage(const CockpitLayout &layout, const std::string &scenario);
OutMessagePtr StateMessage(const SimulationState &state);
OutMessagePtr MfdMessage(const MfdDisplay &display);
OutMessagePtr InputBoxMessage(const InputBoxState &box);
OutMessagePtr VesselsMessage(const std::vector<std::string> &names);
OutMessagePtr FrameMessage(const FrameHeader &header, std::string_view png);

// Splits a frame message into its header text and image; false if the bytes
// are not one.
bool SplitFrameMessage(std::string_view bytes, std::string_view *header, std::string_view *image);

} // namespace serve

#endif // KORVANE_APPS_SERVE_PAGE_OUTPUT_H
