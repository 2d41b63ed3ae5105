// The keys a page may press, by the names browsers give them
// (KeyboardEvent.code: "KeyT", "Digit1", "F1", "ArrowUp", ...), and the
// simulator's key code of each (its scan-code numbering, OAPI_KEY_*).
//
// Modifier keys are not in the set: a page sends them as flags of the key
// they go with, and they become entries of the key-state array.

#ifndef KORVANE_APPS_SERVE_KEY_CODES_H
#define KORVANE_APPS_SERVE_KEY_CODES_H

#include <string>
#include <string_view>
#include <vector>

namespace serve {

// The key code of a browser key name; 0 for a name outside the set.
unsigned int KeyCodeOf(std::string_view browserCode);

// Every name in the set, in key-code order.
std::vector<std::string> KeyNames();

// Key codes of the modifiers, as the key-state array has them.
constexpr unsigned int kKeyLeftControl = 0x1D;
constexpr unsigned int kKeyLeftShift = 0x2A;
constexpr unsigned int kKeyLeftAlt = 0x38;

// The simulator's 256-entry key-state array for a key pressed with the
// given modifiers: the key and each modifier held (top bit set), nothing
// else. The left-hand modifier keys stand for either hand.
void BuildKeyState(unsigned int keyCode, bool ctrl, bool alt, bool shift, char state[256]);

} // namespace serve

#endif // KORVANE_APPS_SERVE_KEY_CODES_H
