#include "headless/input.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"

namespace headless {
namespace {

struct Answers {
    std::vector<std::string> texts; // every text the callback was handed
    bool reopen = false;            // the callback opens another box
};

// Accepts only "Relay-Sat", as a module accepts only names it knows.
bool AcceptRelay(void *, char *text, void *userData)
{
    auto *answers = static_cast<Answers *>(userData);
    answers->texts.push_back(text);
    if (answers->reopen) {
        char title[] = "Second box";
        oapiOpenInputBox(title, AcceptRelay, nullptr, 20, answers);
    }
    return std::string(text) == "Relay-Sat";
}

class InputBoxTest : public ::testing::Test {
protected:
    void SetUp() override { CurrentInputBox() = InputBoxRequest{}; }
    void TearDown() override { CurrentInputBox() = InputBoxRequest{}; }

    void open(Answers &answers)
    {
        char title[] = "Input Target Vessel";
        oapiOpenInputBox(title, AcceptRelay, nullptr, 20, &answers);
    }
};

TEST_F(InputBoxTest, ARejectedTextLeavesTheBoxOpenAndAnAcceptedOneClosesIt)
{
    Answers answers;
    open(answers);
    EXPECT_FALSE(AnswerInputBox("Nowhere"));
    EXPECT_TRUE(CurrentInputBox().open);
    EXPECT_TRUE(AnswerInputBox("Relay-Sat"));
    EXPECT_FALSE(CurrentInputBox().open);
    EXPECT_EQ((std::vector<std::string>{"Nowhere", "Relay-Sat"}), answers.texts);
    // Closed: further text reaches no callback.
    EXPECT_FALSE(AnswerInputBox("Relay-Sat"));
    EXPECT_EQ(2u, answers.texts.size());
}

TEST_F(InputBoxTest, CancelClosesWithoutCallingBack)
{
    Answers answers;
    open(answers);
    CancelInputBox();
    EXPECT_FALSE(CurrentInputBox().open);
    EXPECT_FALSE(AnswerInputBox("Relay-Sat"));
    EXPECT_TRUE(answers.texts.empty());
    CancelInputBox(); // nothing open: nothing happens
    EXPECT_FALSE(CurrentInputBox().open);
}

TEST_F(InputBoxTest, ABoxOpenedByTheCallbackStaysOpen)
{
    Answers answers;
    answers.reopen = true;
    open(answers);
    EXPECT_TRUE(AnswerInputBox("Relay-Sat"));
    EXPECT_TRUE(CurrentInputBox().open);
    EXPECT_EQ("Second box", CurrentInputBox().title);
}

} // namespace
} // namespace headless
