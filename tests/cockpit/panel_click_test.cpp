// End to end: every button frame that a label panel draws, mapped through
// the desk's mesh into the room and clicked there in the headless
// simulator, reaches that button of that MFD, and the MFD's labels change.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/texture_point.h"
#include "headless/vc.h"
#include "recording.h"

namespace {

class PanelClickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sim.loadScenarioText(testsupport::kBuildingOnlyScenario, &error)) << error;
        ASSERT_TRUE(sim.loadCockpit(0));
        headless::ClearRecordings();
        sim.frame(0.1); // the panels' first drawing
        for (int side = 0; side < 2; ++side) {
            panel[side] = headless::VirtualCockpit::instance().area(side == 0 ? 300 : 303)->texture;
            for (const headless::DrawCall &c :
                 testsupport::Only(testsupport::LastCallsOn(panel[side]), headless::DrawOp::Rectangle))
                if (c.x1 - c.x0 <= 40) // a button frame, not the background
                    frames[side].push_back(c);
        }
    }

    // The room point of a frame's centre on panel `side`'s texture.
    VECTOR3 Mapped(int side, const headless::DrawCall &frame)
    {
        VECTOR3 p{};
        EXPECT_TRUE(headless::TexturePointToVessel(*sim.focus(), panel[side], (frame.x0 + frame.x1) / 512.0,
                                                   (frame.y0 + frame.y1) / 512.0, &p));
        return p;
    }

    // Clicks the frame drawn at (x0, y0) on panel `side`, then runs a frame.
    void Click(int side, int x0, int y0)
    {
        for (const headless::DrawCall &f : frames[side])
            if (f.x0 == x0 && f.y0 == y0) {
                headless::ClearRecordings();
                ASSERT_TRUE(sim.clickAt(Mapped(side, f)));
                sim.frame(0.1);
                return;
            }
        FAIL() << "no frame at " << x0 << ", " << y0;
    }

    headless::Simulator sim{KORVANE_ROOT_DIR};
    SURFHANDLE panel[2] = {};
    std::vector<headless::DrawCall> frames[2];
};

TEST_F(PanelClickTest, EveryDrawnFrameClickedInTheRoomReachesItsOwnMfd)
{
    for (int side = 0; side < 2; ++side) {
        ASSERT_EQ(frames[side].size(), 15u);
        const int firstButton = side == 0 ? 200 : 100;
        std::vector<int> reached;
        for (const headless::DrawCall &frame : frames[side]) {
            const VECTOR3 p = Mapped(side, frame);
            const headless::VcArea *area = headless::VirtualCockpit::instance().areaAt(p);
            ASSERT_NE(area, nullptr) << "frame at " << frame.x0 << ", " << frame.y0 << " lies on no click zone";
            EXPECT_GE(area->id, firstButton);
            EXPECT_LT(area->id, firstButton + 15);
            reached.push_back(area->id);

            // The click redraws that MFD's panel in the next frame, and only it.
            headless::ClearRecordings();
            ASSERT_TRUE(sim.clickAt(p));
            sim.frame(0.1);
            EXPECT_FALSE(testsupport::TextsOn(panel[side]).empty()) << area->id;
            EXPECT_TRUE(testsupport::TextsOn(panel[1 - side]).empty()) << area->id;
        }
        std::sort(reached.begin(), reached.end());
        EXPECT_EQ(std::unique(reached.begin(), reached.end()), reached.end()) << "two frames on one button";
    }
}

TEST_F(PanelClickTest, ClicksOnTheMappedFramesChangeTheLabels)
{
    // The right MFD shows Surface mode. SEL (frame at 113, 225) lists the modes.
    EXPECT_TRUE(testsupport::Shows(testsupport::TextsOn(panel[1]), "ALT"));
    Click(1, 113, 225);
    std::vector<std::string> texts = testsupport::TextsOn(panel[1]);
    for (const char *mode : {"ORB", "SRF", "MAP", "COM"})
        EXPECT_TRUE(testsupport::Shows(texts, mode)) << mode;
    // The third button of the first column (frame at 68, 85) picks Map mode.
    Click(1, 68, 85);
    texts = testsupport::TextsOn(panel[1]);
    EXPECT_FALSE(testsupport::Shows(texts, "ORB"));
    EXPECT_TRUE(testsupport::Shows(texts, "ZM+"));

    // The left MFD's PWR frame (53, 225) switches it off: no labels; again: back.
    Click(0, 53, 225);
    texts = testsupport::TextsOn(panel[0]);
    EXPECT_TRUE(testsupport::Shows(texts, "PWR"));
    EXPECT_FALSE(testsupport::Shows(texts, "REF"));
    Click(0, 53, 225);
    EXPECT_TRUE(testsupport::Shows(testsupport::TextsOn(panel[0]), "REF"));
    // The left MFD's clicks left the right panel alone.
    EXPECT_TRUE(testsupport::TextsOn(panel[1]).empty());
}

} // namespace
