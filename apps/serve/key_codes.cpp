#include "apps/serve/key_codes.h"

#include <cstring>

namespace serve {

namespace {

struct NamedKey {
    const char *browserCode;
    unsigned int keyCode;
};

// The physical keys of a PC keyboard that both numberings name, in the
// simulator's order.
const NamedKey kKeys[] = {
    {"Escape", 0x01},       {"Digit1", 0x02},        {"Digit2", 0x03},         {"Digit3", 0x04},
    {"Digit4", 0x05},       {"Digit5", 0x06},        {"Digit6", 0x07},         {"Digit7", 0x08},
    {"Digit8", 0x09},       {"Digit9", 0x0A},        {"Digit0", 0x0B},         {"Minus", 0x0C},
    {"Equal", 0x0D},        {"Backspace", 0x0E},     {"Tab", 0x0F},            {"KeyQ", 0x10},
    {"KeyW", 0x11},         {"KeyE", 0x12},          {"KeyR", 0x13},           {"KeyT", 0x14},
    {"KeyY", 0x15},         {"KeyU", 0x16},          {"KeyI", 0x17},           {"KeyO", 0x18},
    {"KeyP", 0x19},         {"BracketLeft", 0x1A},   {"BracketRight", 0x1B},   {"Enter", 0x1C},
    {"KeyA", 0x1E},         {"KeyS", 0x1F},          {"KeyD", 0x20},           {"KeyF", 0x21},
    {"KeyG", 0x22},         {"KeyH", 0x23},          {"KeyJ", 0x24},           {"KeyK", 0x25},
    {"KeyL", 0x26},         {"Semicolon", 0x27},     {"Quote", 0x28},          {"Backquote", 0x29},
    {"Backslash", 0x2B},    {"KeyZ", 0x2C},          {"KeyX", 0x2D},           {"KeyC", 0x2E},
    {"KeyV", 0x2F},         {"KeyB", 0x30},          {"KeyN", 0x31},           {"KeyM", 0x32},
    {"Comma", 0x33},        {"Period", 0x34},        {"Slash", 0x35},          {"NumpadMultiply", 0x37},
    {"Space", 0x39},        {"F1", 0x3B},            {"F2", 0x3C},             {"F3", 0x3D},
    {"F4", 0x3E},           {"F5", 0x3F},            {"F6", 0x40},             {"F7", 0x41},
    {"F8", 0x42},           {"F9", 0x43},            {"F10", 0x44},            {"Numpad7", 0x47},
    {"Numpad8", 0x48},      {"Numpad9", 0x49},       {"NumpadSubtract", 0x4A}, {"Numpad4", 0x4B},
    {"Numpad5", 0x4C},      {"Numpad6", 0x4D},       {"NumpadAdd", 0x4E},      {"Numpad1", 0x4F},
    {"Numpad2", 0x50},      {"Numpad3", 0x51},       {"Numpad0", 0x52},        {"NumpadDecimal", 0x53},
    {"IntlBackslash", 0x56}, {"F11", 0x57},          {"F12", 0x58},            {"NumpadEnter", 0x9C},
    {"NumpadDivide", 0xB5}, {"Home", 0xC7},          {"ArrowUp", 0xC8},        {"PageUp", 0xC9},
    {"ArrowLeft", 0xCB},    {"ArrowRight", 0xCD},    {"End", 0xCF},            {"ArrowDown", 0xD0},
    {"PageDown", 0xD1},     {"Insert", 0xD2},        {"Delete", 0xD3},
};

constexpr char kHeld = static_cast<char>(0x80);

} // namespace

unsigned int KeyCodeOf(std::string_view browserCode)
{
    for (const NamedKey &k : kKeys)
        if (browserCode == k.browserCode)
            return k.keyCode;
    return 0;
}

std::vector<std::string> KeyNames()
{
    std::vector<std::string> names;
    for (const NamedKey &k : kKeys)
        names.emplace_back(k.browserCode);
    return names;
}

void BuildKeyState(unsigned int keyCode, bool ctrl, bool alt, bool shift, char state[256])
{
    std::memset(state, 0, 256);
    if (keyCode < 256)
        state[keyCode] = kHeld;
    if (ctrl)
        state[kKeyLeftControl] = kHeld;
    if (alt)
        state[kKeyLeftAlt] = kHeld;
    if (shift)
        state[kKeyLeftShift] = kHeld;
}

} // namespace serve
