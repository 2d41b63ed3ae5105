// The redraw dispatch: the screens' timers, the shared surface's clearing
// and copying, the ids with nothing to draw, and the MFD button panels.

#include "cockpit/area_ids.h"
#include "headless/mfd.h"
#include "headless/resources.h"
#include "headless/surfaces.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {

using headless::DrawOp;
using korvane::RedrawCockpitArea;
using testsupport::LastCallsOn;
using testsupport::Only;

class ScreenRedrawTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        headless::ClearRecordings();
        headless::MfdModel::instance().reset();
        building = addBuilding("Houston");
        screen = headless::CreateSurface(1024, 1024);
        panel = headless::CreateSurface(256, 256);
    }
    void TearDown() override
    {
        headless::DestroySurface(screen);
        headless::DestroySurface(panel);
        ModuleTest::TearDown();
    }
    // Sets the length of the current simulation step.
    static void step(double seconds) { headless::World::instance().advance(seconds); }

    Korvane *building = nullptr;
    SURFHANDLE screen = nullptr;
    SURFHANDLE panel = nullptr;
};

TEST_F(ScreenRedrawTest, FirstRequestsDrawAtOnceOnAClearedSurfaceThenCopyIt)
{
    step(0.02);
    for (int id = 0; id < 3; ++id) {
        headless::ClearRecordings();
        EXPECT_TRUE(RedrawCockpitArea(*building, id, screen)) << id;
        std::vector<headless::DrawCall> calls = LastCallsOn(building->drawSurface);
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[0].op, DrawOp::SetOrigin);
        EXPECT_EQ(calls[0].x0, 0);
        EXPECT_EQ(calls[0].y0, 0);
        EXPECT_EQ(calls[1].op, DrawOp::SetBrush);
        EXPECT_EQ(calls[1].brush.tool, building->brushBlack);
        EXPECT_EQ(calls[2].op, DrawOp::Rectangle);
        EXPECT_EQ(calls[2].x0, 0);
        EXPECT_EQ(calls[2].y0, 0);
        EXPECT_EQ(calls[2].x1, 1024);
        EXPECT_EQ(calls[2].y1, 1024);
        EXPECT_EQ(calls[3].op, DrawOp::SetBrush);
        EXPECT_EQ(calls[3].brush.tool, nullptr);
        EXPECT_EQ(building->textLeft, 16);
        EXPECT_EQ(building->activeSketchpad, nullptr); // released before the copy
    }
    EXPECT_EQ(headless::LiveResources().sketchpads, 0);

    // The copy: the screen's texture now holds the shared surface.
    headless::Surface *src = headless::SurfaceFromHandle(building->drawSurface);
    headless::Surface *dst = headless::SurfaceFromHandle(screen);
    for (int p : {0, 5, 511, 1023})
        EXPECT_EQ(dst->Pixel(p, 1023 - p), src->Pixel(p, 1023 - p));
}

TEST_F(ScreenRedrawTest, EveryRequestAdvancesEveryTimer)
{
    step(0.5);
    for (double &t : building->screenTimer)
        t = 0.0;
    EXPECT_FALSE(RedrawCockpitArea(*building, 0, screen)); // 0.5 each
    EXPECT_FALSE(RedrawCockpitArea(*building, 1, screen)); // 1.0 each
    EXPECT_FALSE(RedrawCockpitArea(*building, 0, screen)); // 1.5 each: not yet past 1.5
    EXPECT_EQ(building->screenTimer[2], 1.5);
    headless::ClearRecordings();
    EXPECT_TRUE(RedrawCockpitArea(*building, 2, screen)); // 2.0: screen 2 is drawn
    EXPECT_EQ(building->screenTimer[0], 2.0);
    EXPECT_EQ(building->screenTimer[1], 2.0);
    EXPECT_EQ(building->screenTimer[2], 0.0);
    EXPECT_EQ(headless::Recordings().size(), 1u);

    // A request whose interval has not elapsed draws nothing at all.
    headless::ClearRecordings();
    EXPECT_FALSE(RedrawCockpitArea(*building, 2, screen));
    EXPECT_TRUE(headless::Recordings().empty());
}

TEST_F(ScreenRedrawTest, IdsWithoutAPageDrawNothing)
{
    step(0.5);
    for (int id : {3, 5, 99, 100, 214, 301, -1}) {
        headless::ClearRecordings();
        EXPECT_TRUE(RedrawCockpitArea(*building, id, screen)) << id;
        EXPECT_TRUE(headless::Recordings().empty()) << id;
    }
    for (double t : building->screenTimer)
        EXPECT_EQ(t, 10.0); // only screen requests move the timers
}

TEST_F(ScreenRedrawTest, MfdPanelFramesFixedLabelsAndButtonLabels)
{
    for (int mfd = 0; mfd < 2; ++mfd) {
        headless::ClearRecordings();
        EXPECT_TRUE(RedrawCockpitArea(*building, mfd == 0 ? 300 : 303, panel));
        std::vector<headless::DrawCall> calls = LastCallsOn(panel);
        std::vector<headless::DrawCall> rects = Only(calls, DrawOp::Rectangle);
        ASSERT_EQ(rects.size(), 1u + 12u + 3u);
        EXPECT_EQ(rects[0].x1, 256);
        EXPECT_EQ(rects[0].brush.tool, building->brushBlack);
        const int tops[6] = {15, 50, 85, 120, 155, 190};
        for (int row = 0; row < 6; ++row) {
            const headless::DrawCall &l = rects[1 + 2 * row], &r = rects[2 + 2 * row];
            EXPECT_EQ(l.x0, 68);
            EXPECT_EQ(l.y0, tops[row]);
            EXPECT_EQ(l.x1, 98);
            EXPECT_EQ(l.y1, tops[row] + 20);
            EXPECT_EQ(r.x0, 158);
            EXPECT_EQ(r.x1, 188);
            EXPECT_EQ(l.pen.tool, building->penGreen);
            EXPECT_EQ(l.brush.tool, building->brushDarkOlive);
        }
        EXPECT_EQ(rects[13].x0, 53);
        EXPECT_EQ(rects[14].x0, 113);
        EXPECT_EQ(rects[15].x0, 173);
        EXPECT_EQ(rects[15].y1, 245);

        const headless::DrawCall *sel = testsupport::FindText(calls, "SEL");
        const headless::DrawCall *mnu = testsupport::FindText(calls, "MNU");
        const headless::DrawCall *pwr = testsupport::FindText(calls, "PWR");
        ASSERT_TRUE(sel && mnu && pwr);
        EXPECT_EQ(sel->x0, 128);
        EXPECT_EQ(sel->y0, 229);
        EXPECT_EQ(mnu->x0, 188);
        EXPECT_EQ(pwr->x0, 68);
        EXPECT_EQ(sel->textColour, 0x6EC86Eu); // RGB(110, 200, 110)
        EXPECT_EQ(pwr->textColour, 0x6D74C1u); // RGB(193, 116, 109)
        EXPECT_EQ(sel->alignH, oapi::Sketchpad::CENTER);
        EXPECT_EQ(sel->alignV, oapi::Sketchpad::TOP);
        EXPECT_EQ(sel->font.tool, building->fontTiny);
        EXPECT_EQ(sel->brush.tool, nullptr);

        // Every label the MFD gives, at its button.
        for (int bt = 0; bt < 12; ++bt) {
            const char *label = oapiMFDButtonLabel(mfd, bt);
            if (!label)
                continue;
            bool found = false;
            for (const auto &c : Only(calls, DrawOp::Text))
                found = found || (c.text == label && c.x0 == 83 + 90 * (bt / 6) && c.y0 == 19 + 35 * (bt % 6));
            EXPECT_TRUE(found) << "mfd " << mfd << " button " << bt << " " << label;
        }
    }
}

TEST_F(ScreenRedrawTest, SwitchedOffMfdShowsOnlyFramesAndFixedLabels)
{
    oapiToggleMFD_on(1);
    headless::ClearRecordings();
    EXPECT_TRUE(RedrawCockpitArea(*building, 303, panel));
    std::vector<headless::DrawCall> texts = Only(LastCallsOn(panel), DrawOp::Text);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text, "SEL");
    EXPECT_EQ(texts[1].text, "MNU");
    EXPECT_EQ(texts[2].text, "PWR");
    EXPECT_EQ(Only(LastCallsOn(panel), DrawOp::Rectangle).size(), 16u);
}

} // namespace
