// Screen 1's fuel and thrust gauges.

#include "headless/surfaces.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {

using headless::DrawOp;
using testsupport::FindText;
using testsupport::Only;

class GaugesTest : public testsupport::ScreenTest {
protected:
    // The rectangles after the chart's frame: the gauges' own.
    static std::vector<headless::DrawCall> gaugeRects(const std::vector<headless::DrawCall> &calls)
    {
        std::vector<headless::DrawCall> rects = Only(calls, DrawOp::Rectangle);
        return std::vector<headless::DrawCall>(rects.begin() + 2, rects.end());
    }
    std::vector<headless::DrawCall> drawScreen1() { return drawScreen(1); }
};

TEST_F(GaugesTest, WithoutATargetOnlyBaselineAndFrames)
{
    std::vector<headless::DrawCall> calls = drawScreen1();
    std::vector<headless::DrawCall> lines = Only(calls, DrawOp::Line);
    const headless::DrawCall &baseline = lines.back();
    EXPECT_EQ(baseline.x0, 40);
    EXPECT_EQ(baseline.y0, 978);
    EXPECT_EQ(baseline.x1, 984);
    EXPECT_EQ(baseline.pen.tool, building->penWhiteWide);
    std::vector<headless::DrawCall> rects = gaugeRects(calls);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_EQ(rects[0].x0, 228);
    EXPECT_EQ(rects[0].y0, 978);
    EXPECT_EQ(rects[0].x1, 416);
    EXPECT_EQ(rects[0].y1, 558);
    EXPECT_EQ(rects[1].x0, 604);
    EXPECT_EQ(rects[1].x1, 792);
    EXPECT_EQ(rects[1].pen.tool, building->penWhite);
    EXPECT_EQ(FindText(calls, "FUEL"), nullptr);
}

TEST_F(GaugesTest, FullTankAndHalfThrust)
{
    // Two tanks, full: 30 t. The engine runs at half level from t = 0.
    addVessel("Station", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7670 0", "EMPTYMASS 400000",
                          "TANK 20000 20000", "TANK 10000 10000", "MAINENGINE 600000 3100", "BURN 0 100 0.5"});
    ASSERT_TRUE(building->setTargetByName("Station"));
    headless::World::instance().advance(0.0); // the burn is in force, nothing burnt yet
    std::vector<headless::DrawCall> calls = drawScreen1();
    std::vector<headless::DrawCall> rects = gaugeRects(calls);
    ASSERT_EQ(rects.size(), 4u);
    const headless::DrawCall &fuelBar = rects[2], &thrustBar = rects[3];
    EXPECT_EQ(fuelBar.x0, 229);
    EXPECT_EQ(fuelBar.y0, 978);
    EXPECT_EQ(fuelBar.x1, 415);
    EXPECT_EQ(fuelBar.y1, 558);
    EXPECT_EQ(fuelBar.brush.tool, building->brushGrey);
    EXPECT_EQ(fuelBar.pen.tool, building->penBlack);
    EXPECT_EQ(thrustBar.x0, 605);
    EXPECT_EQ(thrustBar.x1, 791);
    EXPECT_EQ(thrustBar.y1, 768); // 978 - 0.5 * 420

    const headless::DrawCall *percent = FindText(calls, "100.000 %");
    ASSERT_NE(percent, nullptr);
    EXPECT_EQ(percent->x0, 134);
    EXPECT_EQ(percent->y0, 535); // 978 - 443
    EXPECT_EQ(percent->alignH, oapi::Sketchpad::CENTER);
    EXPECT_EQ(percent->font.tool, building->fontLarge);
    EXPECT_EQ(percent->textColour, 0xFFFFFFu);
    const headless::DrawCall *mass = FindText(calls, "30000.0 kg");
    ASSERT_NE(mass, nullptr);
    EXPECT_EQ(mass->x0, 322);
    EXPECT_EQ(mass->y0, 978);
    ASSERT_NE(FindText(calls, "FUEL"), nullptr);
    EXPECT_EQ(FindText(calls, "FUEL")->y0, 512);

    const headless::DrawCall *level = FindText(calls, "50.0 %");
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->x0, 886);
    EXPECT_EQ(level->y0, 756); // 978 - 221.5, cut toward zero
    const headless::DrawCall *force = FindText(calls, "300.00 kN");
    ASSERT_NE(force, nullptr);
    EXPECT_EQ(force->x0, 698);
    EXPECT_EQ(FindText(calls, "THRUST")->x0, 698);
}

TEST_F(GaugesTest, NoThrustAndNoTanks)
{
    addVessel("Capsule", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7670 0", "EMPTYMASS 5000"});
    ASSERT_TRUE(building->setTargetByName("Capsule"));
    std::vector<headless::DrawCall> calls = drawScreen1();
    EXPECT_NE(FindText(calls, "0.00 kN"), nullptr);
    EXPECT_NE(FindText(calls, "0.0 %"), nullptr);
    // No capacity: an empty bar and 0 %, never NaN.
    const headless::DrawCall *fill = FindText(calls, "0.000 %");
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->y0, 978);
    EXPECT_EQ(gaugeRects(calls)[2].y1, 978);
    EXPECT_NE(FindText(calls, "0.0 kg"), nullptr);
}

} // namespace
