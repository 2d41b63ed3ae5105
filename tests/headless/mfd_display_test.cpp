#include "headless/mfd_display.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/resources.h"
#include "headless/surfaces.h"
#include "recording.h"

namespace headless {
namespace {

class MfdDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MfdModel::instance().reset();
        MfdDisplays::instance().reset();
        ClearRecordings();
    }
    void TearDown() override
    {
        MfdDisplays::instance().reset();
        MfdModel::instance().reset();
        ClearRecordings();
    }

    static std::vector<std::string> TextsOn(SURFHANDLE s)
    {
        std::vector<std::string> texts;
        for (const DrawCall &c : testsupport::Only(testsupport::LastCallsOn(s), DrawOp::Text))
            texts.push_back(c.text);
        return texts;
    }

    // Pixels of the display's text colour, green 0xE0 with no red or blue.
    static int GreenPixels(SURFHANDLE s, int top, int bottom)
    {
        const Surface *surface = SurfaceFromHandle(s);
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < surface->width(); ++x)
                n += surface->Pixel(x, y) == 0x00E000u;
        return n;
    }
};

TEST_F(MfdDisplayTest, EachMfdShowsItsTitleAndLinesOnASquareSurface)
{
    SURFHANDLE left = MfdDisplays::instance().paint(0);
    SURFHANDLE right = MfdDisplays::instance().paint(1);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    EXPECT_NE(left, right);
    const Surface *surface = SurfaceFromHandle(left);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 512);
    EXPECT_EQ(surface->height(), 512);

    // The left MFD starts in Orbit mode, the right one in Surface mode.
    EXPECT_EQ(TextsOn(left), (std::vector<std::string>{"Orbit", "Reference  Earth", "Frame      Ecliptic",
                                                        "View       Orbit", "Distances  Radius"}));
    EXPECT_EQ(TextsOn(right), (std::vector<std::string>{"Surface", "Altitude   Mean radius", "Speed      Airspeed",
                                                         "Units      Metric"}));
    EXPECT_GT(GreenPixels(left, 0, 60), 50) << "the title is painted";

    // A press of the first button changes the reference body; painted again,
    // the same surface shows it.
    ASSERT_TRUE(MfdModel::instance().processButton(0, 0, PANEL_MOUSE_LBDOWN));
    EXPECT_EQ(MfdDisplays::instance().paint(0), left);
    std::vector<std::string> texts = TextsOn(left);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[1], "Reference  Moon");
    EXPECT_EQ(MfdDisplays::instance().surface(0), left);

    // The right MFD's menu holds the longest lines an MFD shows (36
    // characters): they end within the display's 16-pixel right margin.
    ASSERT_NE(MfdModel::instance().sendKey(1, 0x29), 0); // the menu key
    SURFHANDLE menu = MfdDisplays::instance().paint(1);
    EXPECT_EQ(TextsOn(menu).at(1), "ALT  Altitude: mean radius or ground");
    const Surface *painted = SurfaceFromHandle(menu);
    int inMargin = 0, text = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            if (painted->Pixel(x, y) == 0x00E000u)
                (x >= 512 - 16 ? inMargin : text)++;
    EXPECT_GT(text, 500);
    EXPECT_EQ(inMargin, 0);
}

TEST_F(MfdDisplayTest, SwitchedOffMfdIsBlackAndOtherMfdsHaveNoDisplay)
{
    SURFHANDLE left = MfdDisplays::instance().paint(0);
    ASSERT_GT(GreenPixels(left, 0, 512), 0);
    MfdModel::instance().togglePower(0);
    MfdDisplays::instance().paint(0);
    EXPECT_TRUE(TextsOn(left).empty());
    EXPECT_EQ(GreenPixels(left, 0, 512), 0);
    EXPECT_EQ(SurfaceFromHandle(left)->Pixel(0, 0), 0u);

    EXPECT_EQ(MfdDisplays::instance().paint(2), nullptr);
    EXPECT_EQ(MfdDisplays::instance().paint(-1), nullptr);
    EXPECT_EQ(MfdDisplays::instance().surface(1), nullptr) << "never painted";
}

TEST_F(MfdDisplayTest, PaintingKeepsNoToolAndResetReleasesTheSurfaces)
{
    ResourceCounts before = LiveResources();
    MfdDisplays::instance().paint(0);
    MfdDisplays::instance().paint(1);
    MfdDisplays::instance().paint(1);
    ResourceCounts during = LiveResources();
    EXPECT_EQ(during.surfaces, before.surfaces + 2);
    EXPECT_EQ(during.pens + during.brushes + during.fonts + during.sketchpads,
              before.pens + before.brushes + before.fonts + before.sketchpads);
    MfdDisplays::instance().reset();
    EXPECT_EQ(LiveResources().surfaces, before.surfaces);
    EXPECT_EQ(LiveResources().invalidReleases, before.invalidReleases);
}

} // namespace
} // namespace headless
