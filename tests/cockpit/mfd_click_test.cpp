// End to end: a click on an MFD button's click zone in the headless
// simulator, routed to the plug-in loaded from the simulator root, changes
// the labels that the next frame draws on that MFD's panel.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vc.h"
#include "recording.h"

namespace {

TEST(MfdClickTest, SelectButtonClickShowsTheModeSelectionLabelsNextFrame)
{
    headless::Simulator sim(KORVANE_ROOT_DIR);
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(testsupport::kBuildingOnlyScenario, &error)) << error;
    ASSERT_TRUE(sim.loadCockpit(0));
    const headless::VcArea *rightPanel = headless::VirtualCockpit::instance().area(303);
    ASSERT_NE(rightPanel, nullptr);

    headless::ClearRecordings();
    sim.frame(0.1); // the panels' first drawing
    std::vector<std::string> before = testsupport::TextsOn(rightPanel->texture);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(std::count(before.begin(), before.end(), std::string("ORB")), 0);

    // The right MFD's select button, by the centre of its click zone.
    const headless::VcArea *select = headless::VirtualCockpit::instance().area(114);
    ASSERT_NE(select, nullptr);
    headless::ClearRecordings();
    ASSERT_TRUE(sim.clickAt(headless::VirtualCockpit::zoneCentre(*select)));
    EXPECT_TRUE(testsupport::TextsOn(rightPanel->texture).empty()); // nothing drawn before the frame
    sim.frame(0.1);
    std::vector<std::string> after = testsupport::TextsOn(rightPanel->texture);
    for (const char *mode : {"ORB", "SRF", "MAP", "COM", "SEL", "MNU", "PWR"})
        EXPECT_EQ(std::count(after.begin(), after.end(), std::string(mode)), 1) << mode;

    // A side button of the quadrilateral zones: the third mode is chosen and
    // its own labels appear.
    const headless::VcArea *third = headless::VirtualCockpit::instance().area(102);
    ASSERT_NE(third, nullptr);
    ASSERT_EQ(third->zone, headless::VcArea::Zone::Quad);
    headless::ClearRecordings();
    ASSERT_TRUE(sim.clickAt(headless::VirtualCockpit::zoneCentre(*third)));
    sim.frame(0.1);
    after = testsupport::TextsOn(rightPanel->texture);
    EXPECT_EQ(std::count(after.begin(), after.end(), std::string("ORB")), 0);
    EXPECT_EQ(std::count(after.begin(), after.end(), std::string("ZM+")), 1);

    // A click beside every zone reaches nothing.
    EXPECT_FALSE(sim.clickAt(_V(5.0, 5.0, 5.0)));
}

} // namespace
