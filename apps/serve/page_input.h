// The messages a control-room page sends to the server: one WebSocket text
// message each, a JSON object whose "type" names the message and whose other
// members are exactly the fields listed (none more; optional ones may be
// left out). At most kMaxMessageBytes bytes.
//
//   {"type":"click","area":303,"u":0.27,"v":0.92}
//       A left click on the picture of a cockpit area that takes clicks.
//       area: a clickable area of the loaded cockpit (an integer);
//       u, v: where, from the picture's top-left corner, 0..1 across and down.
//   {"type":"key","code":"KeyT","ctrl":true,"alt":false,"shift":false}
//       A key press. code: a browser key name from the set of key_codes.h;
//       ctrl, alt, shift (optional, false): modifiers held with it.
//   {"type":"text","text":"ISS"}
//       Enter in the input box: the typed text, at most kMaxTextBytes bytes,
//       no control characters.
//   {"type":"cancel"}
//       Escape in the input box.
//   {"type":"pause","paused":true}
//       Stops or restarts simulation time.
//   {"type":"warp","warp":10}
//       Time acceleration, kMinWarp..kMaxWarp.
//   {"type":"viewclick","x":412,"y":377}
//       A left click on the 3D view. x, y: the pixel clicked, integers from
//       the view picture's top-left corner, within its width and height.
//
// Anything else is refused, with the reason that goes into the WebSocket
// close frame: a message that is too large, binary, not a JSON object with a
// string "type" (malformed), of an unknown type, or whose fields are missing,
// of the wrong type, unexpected or out of range (invalid). Nothing here
// trusts the page: every number that reaches the simulator passed these
// checks.

#ifndef KORVANE_APPS_SERVE_PAGE_INPUT_H
#define KORVANE_APPS_SERVE_PAGE_INPUT_H

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace serve {

constexpr std::size_t kMaxMessageBytes = 4096;
// Far more than any vessel name the building can look up (63 characters),
// and small enough that a typed text never makes a large message.
constexpr std::size_t kMaxTextBytes = 255;
constexpr double kMinWarp = 0.1;
constexpr double kMaxWarp = 100000.0;

// What a page may click: the areas of the loaded cockpit that are drawn on
// a texture and take mouse events, and the pixels of the 3D view.
struct ClickableAreas {
    std::vector<int> ids;
    int viewWidth = 0; // the 3D view's size in pixels; 0 while the server shows none
    int viewHeight = 0;
    bool contains(int id) const;
};

struct ClickMessage {
    int area = 0;
    double u = 0.0; // 0..1 from the left edge of the area's picture
    double v = 0.0; // 0..1 from its top edge
    static bool Parse(const nlohmann::json &j, const ClickableAreas &areas, ClickMessage *out, std::string *reason);
};

struct KeyMessage {
    std::string code;      // browser key name
    unsigned int keyCode = 0; // the simulator's code of that key, never 0
    bool ctrl = false;
    bool alt = false;
    bool shift = false;
    static bool Parse(const nlohmann::json &j, KeyMessage *out, std::string *reason);
};

struct TextMessage {
    std::string text;
    static bool Parse(const nlohmann::json &j, TextMessage *out, std::string *reason);
};

struct CancelMessage {
    static bool Parse(const nlohmann::json &j, CancelMessage *out, std::string *reason);
};

struct PauseMessage {
    bool paused = false;
    static bool Parse(const nlohmann::json &j, PauseMessage *out, std::string *reason);
};

struct WarpMessage {
    double warp = 1.0;
    static bool Parse(const nlohmann::json &j, WarpMessage *out, std::string *reason);
};

struct ViewClickMessage {
    int x = 0; // 0..viewWidth - 1 from the left edge of the 3D view
    int y = 0; // 0..viewHeight - 1 from its top edge
    static bool Parse(const nlohmann::json &j, const ClickableAreas &areas, ViewClickMessage *out, std::string *reason);
};

using PageInput =
    std::variant<ClickMessage, KeyMessage, TextMessage, CancelMessage, PauseMessage, WarpMessage, ViewClickMessage>;

enum class Refusal { Oversized, Binary, Malformed, Unknown, Invalid };
constexpr int kRefusalKinds = 5;
// "oversized", "binary", ...: the name /stats counts it under.
const char *RefusalName(Refusal r);
// The WebSocket close code that goes with it (1009 too big, 1003 binary,
// 1008 policy violation for the rest).
int RefusalCloseCode(Refusal r);

struct RefusedInput {
    Refusal kind = Refusal::Malformed;
    std::string reason; // for the close frame: at most kMaxCloseReasonBytes
};
constexpr std::size_t kMaxCloseReasonBytes = 123; // what a close frame can carry

// Reads one text message of a page. False, with *refused filled, for
// anything the page may not send.
bool ParsePageInput(std::string_view text, const ClickableAreas &areas, PageInput *out, RefusedInput *refused);

} // namespace serve

#endif // KORVANE_APPS_SERVE_PAGE_INPUT_H
