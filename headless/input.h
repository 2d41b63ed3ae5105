// The user's side of the host: the input box a module opened and is waiting
// on, answered by a scripted text.

#ifndef KORVANE_HEADLESS_INPUT_H
#define KORVANE_HEADLESS_INPUT_H

#include <string>

namespace headless {

struct InputBoxRequest {
    bool open = false;
    std::string title;
    std::string initialText;
    int visibleLength = 0;
    bool (*callback)(void *, char *, void *) = nullptr;
    void *userData = nullptr;
};

// The input box opened last (open is false when none is waiting).
InputBoxRequest &CurrentInputBox();

// Hands text to the waiting input box's callback, as if the user typed it
// and pressed Enter; the box closes. Returns the callback's result, or false
// if no box is open.
bool AnswerInputBox(const std::string &text);

} // namespace headless

#endif // KORVANE_HEADLESS_INPUT_H
