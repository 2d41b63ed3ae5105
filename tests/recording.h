// Reading the headless sketchpad recorder in tests.

#ifndef KORVANE_TESTS_RECORDING_H
#define KORVANE_TESTS_RECORDING_H

#include <string>
#include <vector>

#include "headless/sketchpad_recorder.h"

namespace testsupport {

// The calls of the last sketchpad obtained on surface (empty if none).
inline std::vector<headless::DrawCall> LastCallsOn(SURFHANDLE surface)
{
    const auto &records = headless::Recordings();
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->surface == surface)
            return it->calls;
    return {};
}

inline std::vector<headless::DrawCall> Only(const std::vector<headless::DrawCall> &calls, headless::DrawOp op)
{
    std::vector<headless::DrawCall> out;
    for (const auto &c : calls)
        if (c.op == op)
            out.push_back(c);
    return out;
}

// The first Text call writing exactly text; null if none.
inline const headless::DrawCall *FindText(const std::vector<headless::DrawCall> &calls, const std::string &text)
{
    for (const auto &c : calls)
        if (c.op == headless::DrawOp::Text && c.text == text)
            return &c;
    return nullptr;
}

// Index of the first call matching op (and text, if given); -1 if none.
inline int IndexOf(const std::vector<headless::DrawCall> &calls, headless::DrawOp op, const std::string &text = "")
{
    for (size_t i = 0; i < calls.size(); ++i)
        if (calls[i].op == op && (text.empty() || calls[i].text == text))
            return static_cast<int>(i);
    return -1;
}

} // namespace testsupport

#endif // KORVANE_TESTS_RECORDING_H
