#include "headless/messages.h"

#include <cstdio>

namespace headless {

namespace {
MessageCapture *&CurrentCapture()
{
    static MessageCapture *capture = nullptr;
    return capture;
}
} // namespace

void Report(const std::string &text)
{
    if (MessageCapture *capture = CurrentCapture())
        capture->lines_.push_back(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

MessageCapture::MessageCapture() : previous_(CurrentCapture()) { CurrentCapture() = this; }

MessageCapture::~MessageCapture() { CurrentCapture() = previous_; }

bool MessageCapture::contains(const std::string &text) const
{
    for (const std::string &line : lines_)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

} // namespace headless
