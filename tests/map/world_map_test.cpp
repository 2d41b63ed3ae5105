// Screen 0's world map on the recording sketchpad: layers and their order,
// the target's marker, track and circle, and the network's markers.

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <string>

#include "headless/surfaces.h"
#include "map/map_markers.h"
#include "network/boundary_checks.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {

using headless::DrawCall;
using headless::DrawOp;
using testsupport::Only;

std::vector<DrawCall> WithPen(const std::vector<DrawCall> &calls, DrawOp op, const oapi::Pen *pen)
{
    std::vector<DrawCall> out;
    for (const DrawCall &c : calls)
        if (c.op == op && c.pen.tool == pen)
            out.push_back(c);
    return out;
}

class WorldMapTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        // An empty simulator root: no coastline file.
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        savedDir = cwd;
        char tmpl[] = "/tmp/korvane-map-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root = tmpl;
        ASSERT_EQ(chdir(root.c_str()), 0);
        building = addBuilding("Houston");
        Vessel *self = headless::World::instance().vesselByName("Houston");
        self->parseLine("POS -95.09 29.5593");
        screen = headless::CreateSurface(1024, 1024);
    }
    void TearDown() override
    {
        headless::DestroySurface(screen);
        ModuleTest::TearDown();
        EXPECT_EQ(chdir(savedDir.c_str()), 0);
        std::string cleanup = "rm -rf '" + root + "'";
        EXPECT_EQ(std::system(cleanup.c_str()), 0);
    }
    std::vector<DrawCall> drawScreen0()
    {
        headless::ClearRecordings();
        building->screenTimer[0] = 10.0;
        EXPECT_TRUE(korvane::RedrawCockpitArea(*building, 0, screen));
        return testsupport::LastCallsOn(building->drawSurface);
    }
    // A network whose nodes are real host objects: one deep-space station,
    // two tracking stations, three relays on the geostationary orbit at
    // J2000 (in the simulator's frame the equator runs from the equinox
    // (1, 0, 0) to (0, -sin eps, cos eps), eps = 0.4090928023).
    void attachNetwork()
    {
        const char *names[6] = {"Stn-A", "Stn-B", "Relay-1", "Relay-2", "Relay-3", "Deep"};
        const char *lines[6][3] = {
            {"STATUS Landed Earth", "POS 0 0", ""},
            {"STATUS Landed Earth", "POS 20 10", ""},
            {"STATUS Orbiting Earth", "RPOS 42164000 0 0", "RVEL 0 -1223.045 2820.982"},
            {"STATUS Orbiting Earth", "RPOS 0 -16771876 38684714", "RVEL -3074.7 0 0"},
            {"STATUS Orbiting Earth", "RPOS -42164000 0 0", "RVEL 0 1223.045 -2820.982"},
            {"STATUS Landed Earth", "POS -116.89 35.4267", ""},
        };
        unsigned char *records[6] = {layout.stations, layout.stations + 88, layout.relays,
                                     layout.relays + 88, layout.relays + 176, layout.deepSpace};
        for (int i = 0; i < 6; ++i) {
            nodes[i] = addVessel(names[i], {lines[i][0], lines[i][1], lines[i][2]});
            boundarycheck::PutAt<OBJHANDLE>(records[i], 80, nodes[i]->handle());
            boundarycheck::PutAt<double>(records[i], 32, i == 1 ? 20.0 : 0.0);
            boundarycheck::PutAt<double>(records[i], 40, i == 1 ? 10.0 : 0.0);
        }
        layout.context.planet = headless::World::instance().earth()->handle();
        building->clbkGeneric(0, 1, &layout.context);
    }

    std::string savedDir, root;
    Korvane *building = nullptr;
    SURFHANDLE screen = nullptr;
    boundarycheck::Layout layout;
    Vessel *nodes[6] = {};
};

TEST_F(WorldMapTest, WithoutTargetNetworkOrCoastlinesOnlyTheReferenceLines)
{
    std::vector<DrawCall> calls = drawScreen0();
    EXPECT_TRUE(building->coastLoaded);
    EXPECT_FALSE(building->coastAvailable);
    EXPECT_DOUBLE_EQ(building->mapScaleX, 1024.0 / 360000.0);
    EXPECT_DOUBLE_EQ(building->mapScaleY, 1024.0 / 360000.0);

    std::vector<DrawCall> lines = Only(calls, DrawOp::Line);
    ASSERT_EQ(lines.size(), 3u);
    const int ys[3] = {0, 512, 256};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(lines[static_cast<size_t>(i)].x0, 0);
        EXPECT_EQ(lines[static_cast<size_t>(i)].x1, 1024);
        EXPECT_EQ(lines[static_cast<size_t>(i)].y0, ys[i]);
        EXPECT_EQ(lines[static_cast<size_t>(i)].y1, ys[i]);
        EXPECT_EQ(lines[static_cast<size_t>(i)].originY, 256); // the map's band of the screen
    }
    EXPECT_EQ(lines[0].pen.tool, building->penWhite);
    EXPECT_EQ(lines[1].pen.tool, building->penWhite);
    EXPECT_EQ(lines[2].pen.tool, building->penWhiteDashed);
    EXPECT_TRUE(Only(calls, DrawOp::Polyline).empty());
    EXPECT_TRUE(Only(calls, DrawOp::Text).empty());

    // A coastline file that appears later is not tried again.
    ASSERT_EQ(std::system("mkdir -p Config/Earth/Data && printf '1\\n1\\n2\\n0 0\\n10 10\\n' > "
                          "Config/Earth/Data/coast.vec"),
              0);
    calls = drawScreen0();
    EXPECT_FALSE(building->coastAvailable);
    EXPECT_TRUE(Only(calls, DrawOp::Polyline).empty());
}

TEST_F(WorldMapTest, CoastlinesAreDrawnInBlueBeforeTheReferenceLines)
{
    ASSERT_EQ(std::system("mkdir -p Config/Earth/Data && printf '1\\n2\\n2\\n0 0\\n-180 90\\n1\\n180 -90\\n' > "
                          "Config/Earth/Data/coast.vec"),
              0);
    std::vector<DrawCall> calls = drawScreen0();
    EXPECT_TRUE(building->coastAvailable);
    std::vector<DrawCall> coast = WithPen(calls, DrawOp::Polyline, building->penBlue);
    ASSERT_EQ(coast.size(), 2u);
    ASSERT_EQ(coast[0].points.size(), 2u);
    EXPECT_EQ(coast[0].points[0].x, 512);
    EXPECT_EQ(coast[0].points[0].y, 256);
    EXPECT_EQ(coast[0].points[1].x, 0);
    EXPECT_EQ(coast[0].points[1].y, 0);
    EXPECT_EQ(coast[1].points[0].x, 1024);
    EXPECT_EQ(coast[1].points[0].y, 512);
    EXPECT_LT(testsupport::IndexOf(calls, DrawOp::Polyline), testsupport::IndexOf(calls, DrawOp::Line));
}

TEST_F(WorldMapTest, OrbitingTargetHasMarkerTrackAndCircle)
{
    addVessel("Station", {"STATUS Orbiting Earth", "ELEMENTS 6776000 0.0015 51.6 120 160 25 51544.5"});
    ASSERT_TRUE(building->setTargetByName("Station"));
    std::vector<DrawCall> calls = drawScreen0();

    const DrawCall *title = testsupport::FindText(calls, "Target: Station");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->originY, 0);

    std::vector<DrawCall> cross = WithPen(calls, DrawOp::Line, building->penGreen);
    ASSERT_EQ(cross.size(), 2u);
    EXPECT_EQ(cross[0].x1 - cross[0].x0, 8); // half-size 4
    EXPECT_EQ(cross[1].y1 - cross[1].y0, 8);
    const DrawCall *label = testsupport::FindText(calls, "Station");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->textColour, 0x00FF00u);
    EXPECT_EQ(label->font.tool, building->fontSmall);
    EXPECT_EQ(label->x0, cross[1].x0 + 2); // offset 4 / 2

    std::vector<DrawCall> track = WithPen(calls, DrawOp::Polyline, building->penGreen);
    ASSERT_EQ(track.size(), 9u);
    for (size_t i = 0; i < track.size(); ++i) {
        ASSERT_EQ(track[i].points.size(), 37u);
        // The first track starts at the target's marker.
        if (i == 0) {
            EXPECT_NEAR(track[0].points[0].x, cross[1].x0, 1);
            EXPECT_NEAR(track[0].points[0].y, cross[0].y0, 1);
        }
        // Copies: the same track 1024 pixels east and west.
        if (i % 3 == 1)
            EXPECT_NEAR(track[i].points[5].x, track[i - 1].points[5].x + 1024, 1);
        if (i % 3 == 2)
            EXPECT_NEAR(track[i].points[5].x, track[i - 2].points[5].x - 1024, 1);
        for (size_t j = 1; j < 37; ++j)
            EXPECT_LT(std::abs(track[i].points[j].x - track[i].points[j - 1].x), 512) << "no jump across the map";
    }
    std::vector<DrawCall> circle = WithPen(calls, DrawOp::Polyline, building->penDarkGreen);
    ASSERT_EQ(circle.size(), 3u);
    EXPECT_EQ(circle[0].points.size(), 37u);
    // Marker, then track, then circle.
    EXPECT_LT(testsupport::IndexOf(calls, DrawOp::Text, "Station"), testsupport::IndexOf(calls, DrawOp::Polyline));
}

TEST_F(WorldMapTest, LandedOrDeletedTargetsHaveNoTrack)
{
    Vessel *rover = addVessel("Rover", {"STATUS Landed Earth", "POS 10 20"});
    ASSERT_TRUE(building->setTargetByName("Rover"));
    std::vector<DrawCall> calls = drawScreen0();
    EXPECT_TRUE(WithPen(calls, DrawOp::Polyline, building->penGreen).empty());
    EXPECT_EQ(WithPen(calls, DrawOp::Polyline, building->penDarkGreen).size(), 3u);
    EXPECT_NE(testsupport::FindText(calls, "Rover"), nullptr);

    // A hyperbolic target: marker and circle, no track.
    addVessel("Escape", {"STATUS Orbiting Earth", "RPOS 7000000 0 0", "RVEL 0 12000 0"});
    ASSERT_TRUE(building->setTargetByName("Escape"));
    calls = drawScreen0();
    EXPECT_TRUE(WithPen(calls, DrawOp::Polyline, building->penGreen).empty());
    EXPECT_EQ(WithPen(calls, DrawOp::Polyline, building->penDarkGreen).size(), 3u);

    // Deleted while followed: nothing of it is drawn any more.
    ASSERT_TRUE(building->setTargetByName("Rover"));
    headless::World::instance().deleteVessel(rover);
    calls = drawScreen0();
    EXPECT_EQ(testsupport::FindText(calls, "Rover"), nullptr);
    EXPECT_NE(testsupport::FindText(calls, "Target: Rover"), nullptr); // the name as entered stays
    EXPECT_TRUE(Only(calls, DrawOp::Polyline).empty());
}

TEST_F(WorldMapTest, StationMarkerAndLabelPositions)
{
    oapi::Sketchpad *skp = oapiGetSketchpad(screen);
    ASSERT_NE(skp, nullptr);
    skp->SetFont(building->fontSmall);
    const int h = static_cast<int>(skp->GetCharSize() & 0xFFFF);
    const korvane::MapView view{1000.0, 1024.0 / 360000.0, 1024.0 / 360000.0, nullptr};
    korvane::drawCross(*skp, view, 0.0, 0.0, 3);
    korvane::drawMarkerLabel(*skp, view, "Stn", 0.0, 0.0, 3 / 2);
    korvane::drawRing(*skp, view, 0.0, 0.0, 15);
    oapiReleaseSketchpad(skp);
    std::vector<DrawCall> calls = headless::Recordings().back().calls;
    std::vector<DrawCall> lines = Only(calls, DrawOp::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x0, 509);
    EXPECT_EQ(lines[0].y0, 256);
    EXPECT_EQ(lines[0].x1, 515);
    EXPECT_EQ(lines[0].y1, 256);
    EXPECT_EQ(lines[1].x0, 512);
    EXPECT_EQ(lines[1].y0, 253);
    EXPECT_EQ(lines[1].x1, 512);
    EXPECT_EQ(lines[1].y1, 259);
    const DrawCall *label = testsupport::FindText(calls, "Stn");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(h, 16);
    EXPECT_EQ(label->x0, 513);
    EXPECT_EQ(label->y0, 256 - h - 1);
    std::vector<DrawCall> rings = Only(calls, DrawOp::Ellipse);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].x0, 497);
    EXPECT_EQ(rings[0].y0, 241);
    EXPECT_EQ(rings[0].x1, 527);
    EXPECT_EQ(rings[0].y1, 271);
}

TEST_F(WorldMapTest, CopiesStand1024PixelsApart)
{
    Vessel *site = addVessel("Site", {"STATUS Landed Earth", "POS 10 0"});
    oapi::Sketchpad *skp = oapiGetSketchpad(screen);
    const korvane::MapView view{1000.0, 1024.0 / 360000.0, 1024.0 / 360000.0,
                                headless::World::instance().earth()->handle()};
    korvane::drawObjectMarker(*skp, view, site->handle(), true, 3, true, true);
    oapiReleaseSketchpad(skp);
    std::vector<DrawCall> calls = headless::Recordings().back().calls;
    std::vector<DrawCall> rings = Only(calls, DrawOp::Ellipse);
    std::vector<DrawCall> labels = Only(calls, DrawOp::Text);
    ASSERT_EQ(rings.size(), 3u);
    ASSERT_EQ(labels.size(), 3u);
    // 10 deg east: x = trunc(190 * 1024 / 360) = trunc(540.4) = 540; the
    // copies at 370 and -350 deg: trunc(1564.4) = 1564 and trunc(-483.6) =
    // -483 (toward zero), 1024 pixels apart give or take the truncation.
    EXPECT_EQ(rings[0].x0, 540 - 3);
    EXPECT_EQ(rings[1].x0, 1564 - 3);
    EXPECT_EQ(rings[2].x0, -483 - 3);
    EXPECT_EQ(labels[0].x0, 540 + 1); // offset 3 / 2
    EXPECT_EQ(labels[1].x0, 1564 + 1);
    EXPECT_EQ(labels[2].x0, -483 + 1);
    EXPECT_EQ(labels[1].y0, labels[0].y0);
}

TEST_F(WorldMapTest, NetworkMarkersByListWithTheLinkedNodesHighlight)
{
    attachNetwork();
    addVessel("Station", {"STATUS Orbiting Earth", "RPOS 6771010 0 0", "RVEL 0 7670 0"});
    ASSERT_TRUE(building->setTargetByName("Station"));

    // Linked to the second tracking station.
    layout.network.answer = true;
    layout.network.answerNode = nodes[1]->handle();
    layout.network.answerType = 1;
    std::vector<DrawCall> calls = drawScreen0();
    std::vector<DrawCall> cyan = WithPen(calls, DrawOp::Line, building->penCyan);
    std::vector<DrawCall> magenta = WithPen(calls, DrawOp::Line, building->penMagenta);
    std::vector<DrawCall> yellow = WithPen(calls, DrawOp::Line, building->penYellow);
    EXPECT_EQ(cyan.size(), 2u);    // one deep-space cross
    EXPECT_EQ(magenta.size(), 4u); // two station crosses
    EXPECT_EQ(yellow.size(), 6u);  // three relay crosses
    EXPECT_LT(testsupport::IndexOf(calls, DrawOp::Text, "Deep"), testsupport::IndexOf(calls, DrawOp::Text, "Stn-A"));
    EXPECT_LT(testsupport::IndexOf(calls, DrawOp::Text, "Stn-B"), testsupport::IndexOf(calls, DrawOp::Text, "Relay-1"));
    EXPECT_EQ(testsupport::FindText(calls, "Deep")->textColour, 0xFFFF00u);
    EXPECT_EQ(testsupport::FindText(calls, "Stn-A")->textColour, 0xFF00FFu);
    EXPECT_EQ(testsupport::FindText(calls, "Relay-2")->textColour, 0x00FFFFu);
    std::vector<DrawCall> rings = Only(calls, DrawOp::Ellipse);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].pen.tool, building->penMagenta);
    // At the record's stored position (20 E, 10 N): x = trunc(200 * 1024 / 360) = 568,
    // y = trunc(80 * 1024 / 360) = 227.
    EXPECT_EQ(rings[0].x0, 568 - 15);
    EXPECT_EQ(rings[0].y0, 227 - 15);
    EXPECT_TRUE(WithPen(calls, DrawOp::Polyline, building->penYellow).empty());
    const DrawCall *linkLine = nullptr;
    for (const DrawCall &c : calls)
        if (c.op == DrawOp::Text && c.text.rfind("Link:Stn-B Type:Trk Stn", 0) == 0)
            linkLine = &c;
    ASSERT_NE(linkLine, nullptr);
    EXPECT_EQ(linkLine->originY, 0);

    // Linked through the second relay: its horizon circle, no ring.
    layout.network.answerNode = nodes[3]->handle();
    layout.network.answerType = 2;
    calls = drawScreen0();
    EXPECT_TRUE(Only(calls, DrawOp::Ellipse).empty());
    std::vector<DrawCall> footprint = WithPen(calls, DrawOp::Polyline, building->penYellow);
    ASSERT_EQ(footprint.size(), 3u);
    EXPECT_EQ(footprint[0].points.size(), 37u);

    // No link: no highlight at all.
    layout.network.answer = false;
    layout.network.answerNode = nullptr;
    calls = drawScreen0();
    EXPECT_TRUE(Only(calls, DrawOp::Ellipse).empty());
    EXPECT_TRUE(WithPen(calls, DrawOp::Polyline, building->penYellow).empty());
}

} // namespace
