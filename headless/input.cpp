#include "headless/input.h"

#include <vector>

#include "OrbiterAPI.h"

namespace headless {

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
    box.open = false;
    // The callback gets a writable, zero-terminated copy, as from an edit box.
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return box.callback(&box, buffer.data(), box.userData);
}

} // namespace headless

void oapiOpenInputBox(char *title, bool (*Clbk)(void *, char *, void *), char *buf, int vislen, void *usrdata)
{
    headless::InputBoxRequest &box = headless::CurrentInputBox();
    box.open = true;
    box.title = title ? title : "";
    box.initialText = buf ? buf : "";
    box.visibleLength = vislen;
    box.callback = Clbk;
    box.userData = usrdata;
}
