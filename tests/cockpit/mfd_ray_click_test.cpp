// End to end: a click through a pixel of the view from the main desk, cast
// as a ray from the camera the room's pictures are drawn through (the
// vessel view of the preview and the live server), reaches the MFD button
// seen there, and a click beside a button reaches nothing.

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/cockpit_camera.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vc.h"
#include "headless/vecmath.h"
#include "headless/vessel_view.h"
#include "headless/world.h"
#include "recording.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::vector<std::string> PanelTexts(int panelArea)
{
    const headless::VcArea *panel = headless::VirtualCockpit::instance().area(panelArea);
    return panel ? testsupport::TextsOn(panel->texture) : std::vector<std::string>();
}

class MfdRayClickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sim_.loadScenarioText(testsupport::kBuildingOnlyScenario, &error)) << error;
        ASSERT_TRUE(sim_.loadCockpit(0));
        headless::ViewSpec seat;
        seat.fovDeg = headless::SessionFovDeg(sim_);
        camera_ = headless::VesselView().camera(*sim_.focus(), seat);
        headless::ClearRecordings();
        sim_.frame(0.1); // the panels' first drawing
    }

    // Clicks the pixel in which point p appears from the main desk.
    bool ClickPixelOf(const VECTOR3 &p)
    {
        double x = 0, y = 0;
        EXPECT_TRUE(camera_.Project(p, kWidth, kHeight, &x, &y));
        EXPECT_TRUE(x >= 0 && x < kWidth && y >= 0 && y < kHeight) << "seen from the desk";
        headless::Ray ray = camera_.RayThroughPixel(static_cast<int>(x), static_cast<int>(y), kWidth, kHeight);
        return sim_.clickRay(ray.origin, ray.direction);
    }

    headless::Simulator sim_{KORVANE_ROOT_DIR};
    headless::ViewCamera camera_;
};

TEST_F(MfdRayClickTest, ClickOnEachSelectButtonSeenFromTheDeskShowsThatMfdsModeSelection)
{
    EXPECT_EQ(camera_.position.y, -1.55) << "the camera of position 0";
    EXPECT_EQ(camera_.fovYDeg, 40.0) << "a scenario without a camera block";
    const struct {
        int selectArea, panelArea, otherPanel;
    } mfds[] = {{214, 300, 303}, {114, 303, 300}};
    for (const auto &m : mfds) {
        ASSERT_FALSE(testsupport::Shows(PanelTexts(m.panelArea), "ORB"));
        const headless::VcArea *select = headless::VirtualCockpit::instance().area(m.selectArea);
        ASSERT_NE(select, nullptr);
        headless::ClearRecordings();
        ASSERT_TRUE(ClickPixelOf(headless::VirtualCockpit::zoneCentre(*select)));
        sim_.frame(0.1);
        EXPECT_TRUE(testsupport::Shows(PanelTexts(m.panelArea), "ORB")) << m.selectArea;
        EXPECT_TRUE(PanelTexts(m.otherPanel).empty()) << "the other panel is not redrawn";
    }

    // A side button of the right MFD's quadrilateral zones: the third mode
    // is chosen.
    const headless::VcArea *third = headless::VirtualCockpit::instance().area(102);
    ASSERT_NE(third, nullptr);
    headless::ClearRecordings();
    ASSERT_TRUE(ClickPixelOf(headless::VirtualCockpit::zoneCentre(*third)));
    sim_.frame(0.1);
    EXPECT_TRUE(testsupport::Shows(PanelTexts(303), "ZM+"));
}

TEST_F(MfdRayClickTest, ClickBesideEveryButtonDoesNothing)
{
    // 0.043 m to the right of each centre: beyond the zone's 0.0234375 m,
    // short of the next column (0.129 m) and the next of the power, select
    // and menu buttons (0.086 m).
    int buttons = 0;
    for (const headless::VcArea &a : headless::VirtualCockpit::instance().areas()) {
        if (a.zone == headless::VcArea::Zone::None)
            continue;
        ++buttons;
        headless::ClearRecordings();
        EXPECT_FALSE(ClickPixelOf(headless::VirtualCockpit::zoneCentre(a) + _V(0.043, 0, 0))) << a.id;
        sim_.frame(0.1);
        EXPECT_TRUE(PanelTexts(300).empty() && PanelTexts(303).empty()) << a.id;
    }
    EXPECT_EQ(buttons, 30);
}

} // namespace
