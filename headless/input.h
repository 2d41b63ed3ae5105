// The user's side of the host: the input box a module opened and is waiting
// on, answered by a typed text or cancelled.

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
// and pressed Enter. Returns the callback's result, or false if no box is
// open. As in the simulator, the box closes only when the callback accepts
// the text; a rejected text leaves it open for another try.
bool AnswerInputBox(const std::string &text);

// Closes the waiting input box as the user's Escape does: the callback is
// not called. Nothing happens if no box is open.
void CancelInputBox();

} // namespace headless

#endif // KORVANE_HEADLESS_INPUT_H
