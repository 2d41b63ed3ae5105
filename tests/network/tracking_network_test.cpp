// The tracking-network boundary: offsets, virtual calls, and the link query
// on the map screen's redraw.

#include "headless/surfaces.h"
#include "network/boundary_checks.h"
#include "network/target_link.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {

bool HasLinkLine(const std::vector<headless::DrawCall> &calls)
{
    for (const auto &c : calls)
        if (c.op == headless::DrawOp::Text && c.text.rfind("Link:", 0) == 0)
            return true;
    return false;
}

TEST(TrackingNetworkBoundaryTest, OffsetsAndVirtualCalls)
{
    for (const std::string &failure : boundarycheck::RunBoundaryChecks())
        ADD_FAILURE() << failure;
}

class TargetLinkTest : public testsupport::ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        station = addVessel("Station", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7670 0"});
    }
    std::vector<headless::DrawCall> drawScreen0() { return drawScreen(0); }
    Vessel *station = nullptr;
    boundarycheck::Layout layout;
};

TEST_F(TargetLinkTest, QueryFillsTheLinkFieldsOnEachMapRedraw)
{
    ASSERT_TRUE(building->setTargetByName("Station"));
    building->clbkGeneric(0, 1, &layout.context);
    layout.network.answer = true;
    layout.network.answerNode = layout.objects; // any handle: its name reads empty
    layout.network.answerType = 1;
    layout.network.answerLag = 0.0125;
    layout.network.answerStrength = 93.0;

    std::vector<headless::DrawCall> calls = drawScreen0();
    EXPECT_EQ(layout.network.calls, 1);
    EXPECT_EQ(layout.network.lastTarget, station->handle());
    EXPECT_EQ(layout.network.lastNode, &building->linkNode);
    EXPECT_EQ(layout.network.lastType, &building->linkType);
    EXPECT_EQ(layout.network.lastLag, &building->linkLag);
    EXPECT_EQ(layout.network.lastStrength, &building->linkStrength);
    EXPECT_TRUE(building->linkUp);
    EXPECT_EQ(building->linkType, 1);
    EXPECT_EQ(building->linkStrength, 93.0);
    EXPECT_NE(testsupport::FindText(calls, "Link: Type:Trk Stn Strength:93.0% Lag:0.013"), nullptr);

    layout.network.answer = false;
    calls = drawScreen0();
    EXPECT_EQ(layout.network.calls, 2);
    EXPECT_FALSE(building->linkUp);
    EXPECT_FALSE(HasLinkLine(calls));
}

TEST_F(TargetLinkTest, NoValidTargetMeansNoCallAndNoLink)
{
    building->clbkGeneric(0, 1, &layout.context);
    building->linkUp = true;
    drawScreen0();
    EXPECT_EQ(layout.network.calls, 0);
    EXPECT_FALSE(building->linkUp);

    building->linkUp = true;
    korvane::RefreshTargetLink(*building);
    EXPECT_FALSE(building->linkUp);
    EXPECT_EQ(layout.network.calls, 0);
}

TEST_F(TargetLinkTest, NullDisabledAndReplacedNetworks)
{
    ASSERT_TRUE(building->setTargetByName("Station"));
    building->linkUp = true;
    building->linkStrength = 42.0;

    // No network: no query, the link state keeps its last values, no line.
    std::vector<headless::DrawCall> calls = drawScreen0();
    EXPECT_FALSE(korvane::NetworkShown(*building));
    EXPECT_TRUE(building->linkUp);
    EXPECT_EQ(building->linkStrength, 42.0);
    EXPECT_FALSE(HasLinkLine(calls));

    // Disabled: the same.
    boundarycheck::PutAt<uint8_t>(layout.network.base(), 149, 0);
    building->clbkGeneric(0, 1, &layout.context);
    EXPECT_FALSE(korvane::NetworkShown(*building));
    drawScreen0();
    EXPECT_EQ(layout.network.calls, 0);
    EXPECT_EQ(building->linkStrength, 42.0);

    // Replaced by another network between frames: the new one is asked.
    boundarycheck::Layout other;
    other.network.answer = true;
    other.network.answerStrength = 12.0;
    building->clbkGeneric(0, 1, &other.context);
    drawScreen0();
    EXPECT_EQ(layout.network.calls, 0);
    EXPECT_EQ(other.network.calls, 1);
    EXPECT_EQ(building->linkStrength, 12.0);

    // Cleared: nothing is asked any more.
    building->clbkGeneric(0, 1, nullptr);
    drawScreen0();
    EXPECT_EQ(other.network.calls, 1);
}

} // namespace
