// The messages a page may send: one table per message type, and one for
// what is refused before any type is looked at.

#include "apps/serve/page_input.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apps/serve/key_codes.h"

namespace serve {
namespace {

// The building's clickable panels: the left and right MFD labels.
const ClickableAreas kPanels{{300, 303}};

struct Case {
    std::string text;
    bool ok;
    Refusal refusal; // when !ok
};

template <typename Message>
void CheckTable(const std::vector<Case> &cases, std::vector<Message> *parsed, const ClickableAreas &areas = kPanels)
{
    for (const Case &c : cases) {
        PageInput input;
        RefusedInput refused;
        bool ok = ParsePageInput(c.text, areas, &input, &refused);
        EXPECT_EQ(c.ok, ok) << c.text << " -> " << refused.reason;
        if (ok) {
            ASSERT_TRUE(std::holds_alternative<Message>(input)) << c.text;
            parsed->push_back(std::get<Message>(input));
        } else {
            EXPECT_EQ(c.refusal, refused.kind) << c.text;
            EXPECT_FALSE(refused.reason.empty()) << c.text;
            EXPECT_LE(refused.reason.size(), kMaxCloseReasonBytes) << c.text;
        }
    }
}

TEST(PageInputTest, ClickTable)
{
    std::vector<ClickMessage> parsed;
    CheckTable<ClickMessage>(
        {
            {R"({"type":"click","area":303,"u":0.265625,"v":0.91796875})", true, {}},
            {R"({"area":300,"v":1,"u":0,"type":"click"})", true, {}}, // any order; edges belong to the picture
            {R"({"type":"click","area":0,"u":0.5,"v":0.5})", false, Refusal::Invalid},    // a screen takes no clicks
            {R"({"type":"click","area":5,"u":0.5,"v":0.5})", false, Refusal::Invalid},    // no such area
            {R"({"type":"click","area":303.0,"u":0.5,"v":0.5})", false, Refusal::Invalid}, // not an integer
            {R"({"type":"click","area":"303","u":0.5,"v":0.5})", false, Refusal::Invalid},
            {R"({"type":"click","area":4294967599,"u":0.5,"v":0.5})", false, Refusal::Invalid}, // 303 + 2^32
            {R"({"type":"click","area":-4294966993,"u":0.5,"v":0.5})", false, Refusal::Invalid}, // 303 - 2^32
            {R"({"type":"click","area":303,"u":-0.001,"v":0.5})", false, Refusal::Invalid},
            {R"({"type":"click","area":303,"u":0.5,"v":1.0001})", false, Refusal::Invalid},
            {R"({"type":"click","area":303,"u":"0.5","v":0.5})", false, Refusal::Invalid},
            {R"({"type":"click","area":303,"u":0.5})", false, Refusal::Invalid},
            {R"({"type":"click","area":303,"u":0.5,"v":0.5,"button":2})", false, Refusal::Invalid},
        },
        &parsed);
    ASSERT_EQ(2u, parsed.size());
    EXPECT_EQ(303, parsed[0].area);
    EXPECT_DOUBLE_EQ(0.265625, parsed[0].u);
    EXPECT_DOUBLE_EQ(0.91796875, parsed[0].v);
    EXPECT_EQ(300, parsed[1].area);
    EXPECT_DOUBLE_EQ(0.0, parsed[1].u);
    EXPECT_DOUBLE_EQ(1.0, parsed[1].v);
}

TEST(PageInputTest, ViewClickTable)
{
    // The panels and a 3D view of 960 x 540 pixels.
    const ClickableAreas withView{{300, 303}, 960, 540};
    std::vector<ViewClickMessage> parsed;
    CheckTable<ViewClickMessage>(
        {
            {R"({"type":"viewclick","x":166,"y":457})", true, {}},
            {R"({"y":539,"x":959,"type":"viewclick"})", true, {}}, // the last pixel
            {R"({"type":"viewclick","x":0,"y":0})", true, {}},
            {R"({"type":"viewclick","x":960,"y":10})", false, Refusal::Invalid}, // one past the right edge
            {R"({"type":"viewclick","x":10,"y":540})", false, Refusal::Invalid},
            {R"({"type":"viewclick","x":-1,"y":10})", false, Refusal::Invalid},
            {R"({"type":"viewclick","x":166.5,"y":457})", false, Refusal::Invalid}, // a pixel is whole
            {R"({"type":"viewclick","x":"166","y":457})", false, Refusal::Invalid},
            {R"({"type":"viewclick","x":4294967462,"y":457})", false, Refusal::Invalid}, // 166 + 2^32
            {R"({"type":"viewclick","x":18446744073709551615,"y":457})", false, Refusal::Invalid},
            {R"({"type":"viewclick","x":-9223372036854775808,"y":457})", false, Refusal::Invalid},
            {R"({"type":"viewclick","x":166})", false, Refusal::Invalid},
            {R"({"type":"viewclick","x":166,"y":457,"button":2})", false, Refusal::Invalid},
        },
        &parsed, withView);
    ASSERT_EQ(3u, parsed.size());
    EXPECT_EQ(166, parsed[0].x);
    EXPECT_EQ(457, parsed[0].y);
    EXPECT_EQ(959, parsed[1].x);
    EXPECT_EQ(539, parsed[1].y);

    // A server that shows no 3D view takes no clicks on it.
    CheckTable<ViewClickMessage>({{R"({"type":"viewclick","x":0,"y":0})", false, Refusal::Invalid}}, &parsed);
    PageInput input;
    RefusedInput refused;
    ASSERT_FALSE(ParsePageInput(R"({"type":"viewclick","x":960,"y":0})", withView, &input, &refused));
    EXPECT_EQ("viewclick x must be within 0..959", refused.reason);
}

TEST(PageInputTest, KeyTable)
{
    std::vector<KeyMessage> parsed;
    CheckTable<KeyMessage>(
        {
            {R"({"type":"key","code":"KeyT","ctrl":true,"alt":false,"shift":false})", true, {}},
            {R"({"type":"key","code":"F1"})", true, {}},
            {R"({"type":"key","code":"ArrowUp","shift":true})", true, {}},
            {R"({"type":"key","code":"Backquote"})", true, {}},
            {R"({"type":"key","code":"ControlLeft"})", false, Refusal::Invalid}, // modifiers are flags
            {R"({"type":"key","code":"Hyper"})", false, Refusal::Invalid},
            {R"({"type":"key","code":"keyt"})", false, Refusal::Invalid},
            {R"({"type":"key","code":20})", false, Refusal::Invalid},
            {R"({"type":"key"})", false, Refusal::Invalid},
            {R"({"type":"key","code":"KeyT","ctrl":1})", false, Refusal::Invalid},
            {R"({"type":"key","code":"KeyT","meta":true})", false, Refusal::Invalid},
        },
        &parsed);
    // The simulator's key codes (its OAPI_KEY_* constants).
    ASSERT_EQ(4u, parsed.size());
    EXPECT_EQ(0x14u, parsed[0].keyCode);
    EXPECT_TRUE(parsed[0].ctrl);
    EXPECT_FALSE(parsed[0].alt || parsed[0].shift);
    EXPECT_EQ(0x3Bu, parsed[1].keyCode);
    EXPECT_FALSE(parsed[1].ctrl || parsed[1].alt || parsed[1].shift);
    EXPECT_EQ(0xC8u, parsed[2].keyCode);
    EXPECT_TRUE(parsed[2].shift);
    EXPECT_EQ(0x29u, parsed[3].keyCode);
}

TEST(PageInputTest, TextTable)
{
    std::vector<TextMessage> parsed;
    CheckTable<TextMessage>(
        {
            {R"({"type":"text","text":"Relay-Sat"})", true, {}},
            {R"({"type":"text","text":""})", true, {}},
            {"{\"type\":\"text\",\"text\":\"" + std::string(255, 'x') + "\"}", true, {}},
            {R"({"type":"text","text":"\u041c\u0438\u0440"})", true, {}}, // "Мир": 6 bytes of UTF-8
            {"{\"type\":\"text\",\"text\":\"" + std::string(256, 'x') + "\"}", false, Refusal::Invalid},
            {R"({"type":"text","text":"a\nb"})", false, Refusal::Invalid},
            {R"({"type":"text","text":"a\u0000b"})", false, Refusal::Invalid},
            {R"({"type":"text","text":"\u007f"})", false, Refusal::Invalid},
            {R"({"type":"text","text":42})", false, Refusal::Invalid},
            {R"({"type":"text"})", false, Refusal::Invalid},
        },
        &parsed);
    ASSERT_EQ(4u, parsed.size());
    EXPECT_EQ("Relay-Sat", parsed[0].text);
    EXPECT_EQ("", parsed[1].text);
    EXPECT_EQ(255u, parsed[2].text.size());
    EXPECT_EQ("\xD0\x9C\xD0\xB8\xD1\x80", parsed[3].text);
}

TEST(PageInputTest, CancelPauseAndWarpTables)
{
    std::vector<CancelMessage> cancels;
    CheckTable<CancelMessage>({{R"({"type":"cancel"})", true, {}},
                               {R"({"type":"cancel","text":"x"})", false, Refusal::Invalid}},
                              &cancels);
    EXPECT_EQ(1u, cancels.size());

    std::vector<PauseMessage> pauses;
    CheckTable<PauseMessage>({{R"({"type":"pause","paused":true})", true, {}},
                              {R"({"type":"pause","paused":false})", true, {}},
                              {R"({"type":"pause"})", false, Refusal::Invalid},
                              {R"({"type":"pause","paused":1})", false, Refusal::Invalid}},
                             &pauses);
    ASSERT_EQ(2u, pauses.size());
    EXPECT_TRUE(pauses[0].paused);
    EXPECT_FALSE(pauses[1].paused);

    std::vector<WarpMessage> warps;
    CheckTable<WarpMessage>({{R"({"type":"warp","warp":0.1})", true, {}},
                             {R"({"type":"warp","warp":100000})", true, {}},
                             {R"({"type":"warp","warp":10})", true, {}},
                             {R"({"type":"warp","warp":0.09})", false, Refusal::Invalid},
                             {R"({"type":"warp","warp":100001})", false, Refusal::Invalid},
                             {R"({"type":"warp","warp":0})", false, Refusal::Invalid},
                             {R"({"type":"warp","warp":-10})", false, Refusal::Invalid},
                             {R"({"type":"warp","warp":"10"})", false, Refusal::Invalid},
                             {R"({"type":"warp","warp":1e400})", false, Refusal::Malformed}},
                            &warps);
    ASSERT_EQ(3u, warps.size());
    EXPECT_DOUBLE_EQ(0.1, warps[0].warp);
    EXPECT_DOUBLE_EQ(100000.0, warps[1].warp);
    EXPECT_DOUBLE_EQ(10.0, warps[2].warp);
}

TEST(PageInputTest, EnvelopeTable)
{
    // Refused before any type is looked at, or for the type itself.
    std::string longType = "{\"type\":\"" + std::string(3000, 'q') + "\"}";
    std::string oversized = "{\"type\":\"text\",\"text\":\"" + std::string(kMaxMessageBytes, 'x') + "\"}";
    std::vector<CancelMessage> none;
    CheckTable<CancelMessage>(
        {
            {oversized, false, Refusal::Oversized},
            {"", false, Refusal::Malformed},
            {"not json", false, Refusal::Malformed},
            {R"(["click",303,0.5,0.5])", false, Refusal::Malformed},
            {R"({"area":303})", false, Refusal::Malformed},
            {R"({"type":7})", false, Refusal::Malformed},
            {"{\"type\":\"text\",\"text\":\"\xff\"}", false, Refusal::Malformed}, // not UTF-8
            {std::string(4000, '['), false, Refusal::Malformed},
            {R"({"type":"fly"})", false, Refusal::Unknown},
            {R"({"type":"Click","area":303,"u":0.5,"v":0.5})", false, Refusal::Unknown},
            {longType, false, Refusal::Unknown},
        },
        &none);

    // A reason quotes the page's words only as printable ASCII, cut short.
    PageInput input;
    RefusedInput refused;
    ASSERT_FALSE(ParsePageInput("{\"type\":\"\\u0007\\u00e9x\"}", kPanels, &input, &refused));
    EXPECT_EQ("unknown message type \"???x\"", refused.reason);
    ASSERT_FALSE(ParsePageInput(longType, kPanels, &input, &refused));
    EXPECT_EQ("unknown message type \"" + std::string(24, 'q') + "...\"", refused.reason);
}

TEST(PageInputTest, CloseCodesAndCounterNames)
{
    EXPECT_EQ(1009, RefusalCloseCode(Refusal::Oversized)); // message too big
    EXPECT_EQ(1003, RefusalCloseCode(Refusal::Binary));    // unsupported data
    EXPECT_EQ(1008, RefusalCloseCode(Refusal::Malformed)); // policy violation
    EXPECT_EQ(1008, RefusalCloseCode(Refusal::Unknown));
    EXPECT_EQ(1008, RefusalCloseCode(Refusal::Invalid));
    EXPECT_STREQ("oversized", RefusalName(Refusal::Oversized));
    EXPECT_STREQ("invalid", RefusalName(Refusal::Invalid));
}

TEST(PageInputTest, KeyStateHoldsTheKeyAndItsModifiersOnly)
{
    char state[256];
    BuildKeyState(KeyCodeOf("KeyT"), true, false, false, state);
    for (int i = 0; i < 256; ++i) {
        bool held = i == 0x14 || i == 0x1D; // T and left Ctrl
        EXPECT_EQ(held ? static_cast<char>(0x80) : 0, state[i]) << i;
    }
    BuildKeyState(KeyCodeOf("KeyS"), false, true, true, state);
    EXPECT_EQ(static_cast<char>(0x80), state[0x1F]); // S
    EXPECT_EQ(static_cast<char>(0x80), state[0x38]); // left Alt
    EXPECT_EQ(static_cast<char>(0x80), state[0x2A]); // left Shift
    EXPECT_EQ(0, state[0x1D]);
    EXPECT_EQ(0u, KeyCodeOf(""));
    // Every name of the set has a code of its own.
    std::vector<std::string> names = KeyNames();
    std::vector<unsigned int> codes;
    for (const std::string &n : names)
        codes.push_back(KeyCodeOf(n));
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes.end(), std::adjacent_find(codes.begin(), codes.end()));
    EXPECT_EQ(0u, std::count(codes.begin(), codes.end(), 0u));
}

} // namespace
} // namespace serve
