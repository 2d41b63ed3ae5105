// Screen 0's title line and link line.

#include "headless/surfaces.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "screens/status_lines.h"
#include "test_support.h"

namespace {

using headless::DrawOp;
using testsupport::Only;

class StatusLinesTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        building = addBuilding("Houston");
        screen = headless::CreateSurface(1024, 1024);
        skp = oapiGetSketchpad(screen);
        headless::ClearRecordings();
    }
    void TearDown() override
    {
        if (skp)
            oapiReleaseSketchpad(skp);
        headless::DestroySurface(screen);
        ModuleTest::TearDown();
    }
    // The calls since the last clearing (none yet: no record).
    std::vector<headless::DrawCall> calls() const
    {
        const auto &records = headless::Recordings();
        return records.empty() ? std::vector<headless::DrawCall>{} : records.back().calls;
    }

    Korvane *building = nullptr;
    SURFHANDLE screen = nullptr;
    oapi::Sketchpad *skp = nullptr;
};

TEST_F(StatusLinesTest, TitleLineOnlyWithATargetAndLongNamesWhole)
{
    korvane::drawTitleLine(*skp, *building);
    EXPECT_TRUE(Only(calls(), DrawOp::Text).empty());

    std::string longName(300, 'Z');
    addVessel("Station");
    ASSERT_TRUE(building->setTargetByName("Station"));
    building->textLeft = 16;
    korvane::drawTitleLine(*skp, *building);
    std::vector<headless::DrawCall> texts = Only(calls(), DrawOp::Text);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Target: Station");
    EXPECT_EQ(texts[0].x0, 16);
    EXPECT_EQ(texts[0].y0, 46);
    EXPECT_EQ(texts[0].font.tool, building->fontLarge);
    EXPECT_EQ(texts[0].textColour, 0xFFFFFFu);

    // A name longer than any look-up buffer is still shown whole, on one line.
    building->targetName = longName;
    korvane::drawTitleLine(*skp, *building);
    texts = Only(calls(), DrawOp::Text);
    EXPECT_EQ(texts.back().text, "Target: " + longName);
}

TEST_F(StatusLinesTest, LinkLineTextAndColourByType)
{
    addVessel("Carnarvon");
    building->linkNode = oapiGetVesselByName(const_cast<char *>("Carnarvon"));
    building->linkStrength = 87.25;
    building->linkLag = 0.00345;
    building->linkUp = true;
    skp->SetTextColor(0x123456);
    skp->SetOrigin(0, 256);

    struct Case {
        int type;
        const char *typeText;
        DWORD colour;
    } const cases[] = {{1, "Trk Stn", 0xFF00FF}, {2, "TDRS", 0x00FFFF}, {3, "DSN", 0xFFFF00},
                       {0, "No Link", 0x123456}, {7, "", 0x123456}};
    for (const Case &c : cases) {
        skp->SetTextColor(0x123456);
        building->linkType = c.type;
        korvane::drawLinkLine(*skp, *building);
        std::vector<headless::DrawCall> texts = Only(calls(), DrawOp::Text);
        ASSERT_FALSE(texts.empty());
        const headless::DrawCall &t = texts.back();
        EXPECT_EQ(t.text, std::string("Link:Carnarvon Type:") + c.typeText + " Strength:87.2% Lag:0.003")
            << c.type;
        EXPECT_EQ(t.textColour, c.colour) << c.type;
        EXPECT_EQ(t.x0, 16);
        EXPECT_EQ(t.y0, 138);
        EXPECT_EQ(t.originX, 0);
        EXPECT_EQ(t.originY, 0);
        EXPECT_EQ(t.font.tool, building->fontLarge);
    }
    EXPECT_EQ(calls().back().op, DrawOp::SetBrush);

    // No link: nothing written, origin left alone.
    building->linkUp = false;
    size_t before = calls().size();
    korvane::drawLinkLine(*skp, *building);
    EXPECT_EQ(calls().size(), before);
}

TEST_F(StatusLinesTest, LinkTypeNames)
{
    EXPECT_STREQ(korvane::LinkTypeName(0), "No Link");
    EXPECT_STREQ(korvane::LinkTypeName(1), "Trk Stn");
    EXPECT_STREQ(korvane::LinkTypeName(2), "TDRS");
    EXPECT_STREQ(korvane::LinkTypeName(3), "DSN");
    EXPECT_STREQ(korvane::LinkTypeName(4), "");
    EXPECT_STREQ(korvane::LinkTypeName(-1), "");
}

} // namespace
