// Screen 1's chart: grid, scale labels and the two curves.

#include "headless/surfaces.h"
#include "recording.h"
#include "screens/history_graphs.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {

using headless::DrawOp;
using testsupport::Only;

class HistoryGraphsTest : public testsupport::ScreenTest {
protected:
    std::vector<headless::DrawCall> drawScreen1() { return drawScreen(1); }
};

TEST_F(HistoryGraphsTest, EmptyHistoryGridAndLabels)
{
    std::vector<headless::DrawCall> calls = drawScreen1();
    std::vector<headless::DrawCall> rects = Only(calls, DrawOp::Rectangle);
    ASSERT_GE(rects.size(), 2u);
    EXPECT_EQ(rects[1].x0, 40);
    EXPECT_EQ(rects[1].y0, 46);
    EXPECT_EQ(rects[1].x1, 984);
    EXPECT_EQ(rects[1].y1, 512);
    EXPECT_EQ(rects[1].pen.tool, building->penWhite);
    EXPECT_EQ(rects[1].brush.tool, nullptr);

    std::vector<headless::DrawCall> lines = Only(calls, DrawOp::Line);
    // Ten vertical and ten horizontal dashed lines, then the gauges' baseline.
    ASSERT_EQ(lines.size(), 21u);
    for (int k = 0; k < 10; ++k) {
        const headless::DrawCall &v = lines[static_cast<size_t>(2 * k)];
        const headless::DrawCall &h = lines[static_cast<size_t>(2 * k + 1)];
        EXPECT_EQ(v.x0, 40 + 94 * k);
        EXPECT_EQ(v.x1, 40 + 94 * k);
        EXPECT_EQ(v.y0, 46);
        EXPECT_EQ(v.y1, 512);
        EXPECT_EQ(h.y0, 46 + 46 * k);
        EXPECT_EQ(h.x0, 40);
        EXPECT_EQ(h.x1, 984);
        EXPECT_EQ(v.pen.tool, building->penWhiteDashed);
    }
    EXPECT_EQ(lines[18].x0, 886); // the last grid lines
    EXPECT_EQ(lines[19].y0, 460);

    std::vector<headless::DrawCall> texts = Only(calls, DrawOp::Text);
    int altitudeLabels = 0, speedLabels = 0;
    for (const auto &t : texts) {
        if (t.x0 == 984) {
            EXPECT_EQ(t.text, "0.0");
            EXPECT_EQ(t.textColour, 0xFF00FFu);
            ++altitudeLabels;
        }
        if (t.x0 == 1 && t.y0 >= 46) {
            EXPECT_EQ(t.text, "0.000");
            EXPECT_EQ(t.textColour, 0xFFFF00u);
            ++speedLabels;
        }
    }
    EXPECT_EQ(altitudeLabels, 10);
    EXPECT_EQ(speedLabels, 10);
    const headless::DrawCall *spd = testsupport::FindText(calls, "Spd[km/s]");
    const headless::DrawCall *alt = testsupport::FindText(calls, "Alt[km]");
    ASSERT_TRUE(spd && alt);
    EXPECT_EQ(spd->x0, 1);
    EXPECT_EQ(spd->y0, 5);
    EXPECT_EQ(spd->textColour, 0xFFFF00u);
    EXPECT_EQ(alt->x0, 981);
    EXPECT_EQ(alt->y0, 1);
    EXPECT_EQ(alt->textColour, 0xFF00FFu);

    std::vector<headless::DrawCall> curves = Only(calls, DrawOp::Polyline);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_TRUE(curves[0].points.empty());
    EXPECT_EQ(curves[0].pen.tool, building->penMagentaWide);
    EXPECT_EQ(curves[1].pen.tool, building->penCyanWide);
}

TEST_F(HistoryGraphsTest, LabelsAndCurvesOfAKnownHistory)
{
    // Altitudes 100..300 km, speeds 7.0..7.5 km/s, ten seconds apart.
    const double day = 1.0 / 86400.0;
    building->history.push({60000.0, 100e3, 7500.0});
    building->history.push({60000.0 + 10 * day, 300e3, 7000.0});
    building->history.push({60000.0 + 20 * day, 200e3, 7250.0});
    std::vector<headless::DrawCall> calls = drawScreen1();

    // Altitude labels run from 300.0 down in tenths of the 200 km range.
    const char *altitude[10] = {"300.0", "280.0", "260.0", "240.0", "220.0",
                                "200.0", "180.0", "160.0", "140.0", "120.0"};
    const char *speed[10] = {"7.500", "7.450", "7.400", "7.350", "7.300",
                             "7.250", "7.200", "7.150", "7.100", "7.050"};
    for (int k = 0; k < 10; ++k) {
        bool a = false, s = false;
        for (const auto &t : Only(calls, DrawOp::Text)) {
            a = a || (t.x0 == 984 && t.y0 == 46 + 46 * k && t.text == altitude[k]);
            s = s || (t.x0 == 1 && t.y0 == 46 + 46 * k && t.text == speed[k]);
        }
        EXPECT_TRUE(a) << altitude[k];
        EXPECT_TRUE(s) << speed[k];
    }

    std::vector<headless::DrawCall> curves = Only(calls, DrawOp::Polyline);
    ASSERT_EQ(curves.size(), 2u);
    ASSERT_EQ(curves[0].points.size(), 3u);
    // x: newest at 961, 10 s older 0.7867 px per second further left:
    // 961 - 7.87 = 953.13 -> 953, 961 - 15.73 = 945.27 -> 945.
    EXPECT_EQ(curves[0].points[2].x, 961);
    EXPECT_EQ(curves[0].points[1].x, 953);
    EXPECT_EQ(curves[0].points[0].x, 945);
    // Minimum on the bottom edge, maximum on the top, the middle half-way.
    EXPECT_EQ(curves[0].points[0].y, 512);
    EXPECT_EQ(curves[0].points[1].y, 46);
    EXPECT_EQ(curves[0].points[2].y, 279); // 512 - 0.5 * 466
    EXPECT_EQ(curves[1].points[0].y, 46);
    EXPECT_EQ(curves[1].points[1].y, 512);
    EXPECT_EQ(curves[1].points[2].y, 279);
    EXPECT_EQ(curves[1].points[1].x, 953);
}

TEST_F(HistoryGraphsTest, OldSamplesPileUpOnTheLeftAndFlatCurvesLieOnTheBottom)
{
    // 600 samples 2 s apart: 1198 s of history; 961 - 1198 * 0.7867 = 18.6.
    for (int i = 0; i < 600; ++i)
        building->history.push({60000.0 + 2.0 * i / 86400.0, 400e3, 7000.0 + i});
    std::vector<headless::DrawCall> curves = Only(drawScreen1(), DrawOp::Polyline);
    ASSERT_EQ(curves[0].points.size(), 600u);
    EXPECT_EQ(curves[0].points[0].x, 40);
    EXPECT_EQ(curves[0].points[599].x, 961);
    for (const auto &p : curves[0].points)
        EXPECT_EQ(p.y, 512); // constant altitude: range 0, drawn along the bottom
    EXPECT_EQ(curves[1].points[0].y, 512);
    EXPECT_EQ(curves[1].points[599].y, 46);

    EXPECT_EQ(korvane::ChartX(0.0), 961);
    EXPECT_EQ(korvane::ChartX(1e12), 40);
    EXPECT_EQ(korvane::ChartY(5.0, 5.0, 0.0), 512);
}

} // namespace
