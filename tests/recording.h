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

// The texts of the last sketchpad obtained on surface, in drawing order.
inline std::vector<std::string> TextsOn(SURFHANDLE surface)
{
    std::vector<std::string> texts;
    for (const headless::DrawCall &c : LastCallsOn(surface))
        if (c.op == headless::DrawOp::Text)
            texts.push_back(c.text);
    return texts;
}

inline bool Shows(const std::vector<std::string> &texts, const char *text)
{
    for (const std::string &t : texts)
        if (t == text)
            return true;
    return false;
}

// A scenario holding one building at Houston and nothing else.
constexpr char kBuildingOnlyScenario[] = "BEGIN_SHIPS\n"
                                         "Houston:Korvane\n"
                                         "  STATUS Landed Earth\n"
                                         "  POS -95.09 29.5593\n"
                                         "END\n"
                                         "END_SHIPS\n";

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
