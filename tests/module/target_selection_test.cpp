// The target line of the scenario, Ctrl+T and the input box, and the
// tracking network's hand-over.

#include <string>

#include "headless/input.h"
#include "test_support.h"

namespace {

using testsupport::ModuleTest;

class TargetSelectionTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        headless::CurrentInputBox() = headless::InputBoxRequest{};
    }
};

TEST_F(TargetSelectionTest, TargetLineIsRecognisedInAnyCaseAndOtherLinesGoToTheHost)
{
    Vessel *station = addVessel("Station");
    Korvane *k = addBuilding("Houston");
    loadLines(k, {"STATUS Landed Earth", "POS -95.09 29.5593", "target Station", "HEADING 45"});
    EXPECT_TRUE(k->targetValid);
    EXPECT_EQ(k->targetHandle, station->handle());
    EXPECT_EQ(k->targetName, "Station");

    // The host got the generic lines and nothing of the target line.
    Vessel *self = headless::World::instance().vesselByName("Houston");
    EXPECT_NEAR(self->landedLatRad, 29.5593 * 3.14159265358979323846 / 180.0, 1e-12);
    EXPECT_NEAR(self->headingRad, 3.14159265358979323846 / 4.0, 1e-12);
    EXPECT_TRUE(self->extraLines.empty());

    std::string saved = savedText(k);
    EXPECT_NE(saved.find("  TARGET Station\n"), std::string::npos);
    EXPECT_NE(saved.find("STATUS Landed Earth"), std::string::npos);
    // The generic state comes first.
    EXPECT_LT(saved.find("STATUS"), saved.find("TARGET"));
}

TEST_F(TargetSelectionTest, UnknownOrOverlongTargetsInTheScenarioChangeNothing)
{
    addVessel("Station");
    Korvane *fresh = addBuilding("Fresh");
    loadLines(fresh, {"TARGET Nowhere"});
    EXPECT_FALSE(fresh->targetValid);
    EXPECT_EQ(savedText(fresh).find("TARGET"), std::string::npos);

    Korvane *k = addBuilding("Houston");
    loadLines(k, {"TARGET Station", "TARGET Nowhere", "TARGET", "TARGET   "});
    EXPECT_TRUE(k->targetValid);
    EXPECT_EQ(k->targetName, "Station");

    // A key that merely begins with TARGET is still a target line, and its
    // name is the word that starts right after those six characters.
    addVessel("Other");
    Vessel *ed = addVessel("ED");
    loadLines(k, {"TARGETED Other"});
    EXPECT_EQ(k->targetHandle, ed->handle());
    loadLines(k, {"Target\tOther"});
    EXPECT_EQ(k->targetName, "Other");

    // A vessel whose name does not fit the 64-byte look-up is never looked
    // up cut short, even if the cut name exists.
    std::string longName(70, 'L');
    addVessel(longName.substr(0, 63));
    addVessel(longName);
    loadLines(k, {"TARGET " + longName});
    EXPECT_EQ(k->targetName, "Other");

    // A line of any length is read without harm.
    loadLines(k, {"TARGET " + std::string(100000, 'x'), std::string(100000, 'y')});
    EXPECT_EQ(k->targetName, "Other");
}

TEST_F(TargetSelectionTest, KeyCombinations)
{
    Korvane *k = addBuilding("Houston");
    auto press = [&](std::initializer_list<int> keys) {
        char kstate[256] = {};
        for (int key : keys)
            kstate[key] = static_cast<char>(0x80);
        headless::CurrentInputBox().open = false;
        return k->clbkConsumeBufferedKey(OAPI_KEY_T, true, kstate);
    };

    EXPECT_EQ(press({0x14, 0x1D}), 1); // Ctrl+T
    EXPECT_TRUE(headless::CurrentInputBox().open);
    EXPECT_EQ(headless::CurrentInputBox().title, "Input Target Vessel");
    EXPECT_EQ(headless::CurrentInputBox().initialText, "");
    EXPECT_EQ(headless::CurrentInputBox().visibleLength, 20);
    EXPECT_EQ(headless::CurrentInputBox().userData, k);

    EXPECT_EQ(press({0x14, 0x9D}), 1); // right Ctrl+T
    EXPECT_TRUE(headless::CurrentInputBox().open);

    EXPECT_EQ(press({0x14, 0x1D, 0x2A}), 0); // with Shift
    EXPECT_EQ(press({0x14, 0x1D, 0x36}), 0);
    EXPECT_EQ(press({0x14, 0x1D, 0x38}), 0); // with Alt
    EXPECT_EQ(press({0x14, 0x1D, 0xB8}), 0);
    EXPECT_FALSE(headless::CurrentInputBox().open);

    EXPECT_EQ(press({0x1F}), 1);         // S alone is swallowed
    EXPECT_EQ(press({0x1F, 0x1D}), 0);   // Ctrl+S is not
    EXPECT_EQ(press({0x1F, 0x2A}), 0);   // nor Shift+S
    EXPECT_EQ(press({0x14}), 0);         // T alone
    EXPECT_EQ(press({}), 0);
    EXPECT_FALSE(headless::CurrentInputBox().open);

    // Only a set top bit counts as down.
    char kstate[256] = {};
    kstate[0x14] = 0x7F;
    kstate[0x1D] = static_cast<char>(0x80);
    EXPECT_EQ(k->clbkConsumeBufferedKey(OAPI_KEY_T, true, kstate), 0);
}

TEST_F(TargetSelectionTest, TypedNamesSetOrClearTheTarget)
{
    Vessel *station = addVessel("Station");
    Vessel *relay = addVessel("Relay");
    Korvane *k = addBuilding("Houston");

    char kstate[256] = {};
    kstate[0x14] = kstate[0x1D] = static_cast<char>(0x80);
    ASSERT_EQ(k->clbkConsumeBufferedKey(OAPI_KEY_T, true, kstate), 1);
    EXPECT_TRUE(headless::AnswerInputBox("Station"));
    EXPECT_TRUE(k->targetValid);
    EXPECT_EQ(k->targetHandle, station->handle());

    EXPECT_TRUE(k->setTargetByName("Relay"));
    EXPECT_EQ(k->targetHandle, relay->handle());

    // An unknown name clears the target but is kept as typed; the handle
    // stays but is no longer used.
    EXPECT_FALSE(k->setTargetByName("Stations"));
    EXPECT_FALSE(k->targetValid);
    EXPECT_EQ(k->targetName, "Stations");
    EXPECT_EQ(savedText(k).find("TARGET"), std::string::npos);

    // Over 63 characters: never resolved, whole name kept.
    std::string longName(64, 'N');
    addVessel(longName);
    addVessel(longName.substr(0, 63));
    EXPECT_FALSE(k->setTargetByName(longName.c_str()));
    EXPECT_EQ(k->targetName, longName);
    EXPECT_FALSE(k->targetValid);
    EXPECT_TRUE(k->setTargetByName(longName.substr(0, 63).c_str()));

    EXPECT_FALSE(k->setTargetByName(""));
    EXPECT_FALSE(Korvane::onTargetInput(nullptr, const_cast<char *>("Nobody"), k));
    EXPECT_TRUE(Korvane::onTargetInput(nullptr, const_cast<char *>("Station"), k));
    EXPECT_EQ(k->targetHandle, station->handle());
}

TEST_F(TargetSelectionTest, GenericMessageHandsOverTheNetworkOnlyWithParameterOne)
{
    Korvane *k = addBuilding("Houston");
    int networkA = 0, networkB = 0;
    EXPECT_EQ(k->clbkGeneric(0, 1, &networkA), 0);
    EXPECT_EQ(k->network, &networkA);
    EXPECT_EQ(k->clbkGeneric(99, 2, &networkB), 0);
    EXPECT_EQ(k->network, &networkA);
    EXPECT_EQ(k->clbkGeneric(7, 0, &networkB), 0);
    EXPECT_EQ(k->network, &networkA);
    EXPECT_EQ(k->clbkGeneric(7, 1, &networkB), 0); // any message id, replaced
    EXPECT_EQ(k->network, &networkB);
    EXPECT_EQ(k->clbkGeneric(0, 1, nullptr), 0);   // null turns the network off
    EXPECT_EQ(k->network, nullptr);
}

} // namespace
