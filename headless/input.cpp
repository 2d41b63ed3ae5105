#include "headless/input.h"

#include <vector>

#include "OrbiterAPI.h"

namespace headless {

namespace {
// Counts the boxes opened, so that a box opened from a callback is told
// apart from the one that callback answers.
unsigned long &OpenedBoxes()
{
    static unsigned long opened = 0;
    return opened;
}
} // namespace

InputBoxRequest &CurrentInputBox()
{
    static InputBoxRequest box;
    return box;
}

bool AnswerInputBox(const std::string &text)
{
    InputBoxRequest &box = CurrentInputBox();
    if (!box.open || !box.callback)
        return false;
    // The callback gets a writable, zero-terminated copy, as from an edit box.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    unsigned long answered = OpenedBoxes();
    bool accepted = box.callback(&box, buffer.data(), box.userData);
    // A box the callback opened in its turn stays open.
    if (accepted && OpenedBoxes() == answered)
        box.open = false;
    return accepted;
}

void CancelInputBox() { CurrentInputBox().open = false; }

} // namespace headless

void oapiOpenInputBox(char *title, bool (*Clbk)(void *, char *, void *), char *buf, int vislen, void *usrdata)
{
    headless::InputBoxRequest &box = headless::CurrentInputBox();
    ++headless::OpenedBoxes();
    box.open = true;
    box.title = title ? title : "";
    box.initialText = buf ? buf : "";
    box.visibleLength = vislen;
    box.callback = Clbk;
    box.userData = usrdata;
}
