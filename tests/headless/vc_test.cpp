#include "headless/vc.h"

#include <vector>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

// A vessel interface that records the cockpit callbacks it receives. Made
// without a vessel: its VESSEL members then act on no host vessel.
class Recorder final : public VESSEL3 {
public:
    struct Call {
        int id;
        int event;
        SURFHANDLE surface;
        VECTOR3 point;
    };

    Recorder() : VESSEL3(nullptr) {}

    bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf) override
    {
        redraws.push_back(Call{id, event, surf, _V(0, 0, 0)});
        return true;
    }

    bool clbkVCMouseEvent(int id, int event, VECTOR3 &p) override
    {
        mouse.push_back(Call{id, event, nullptr, p});
        return acceptMouse;
    }

    std::vector<Call> redraws;
    std::vector<Call> mouse;
    bool acceptMouse = true;
};

class VirtualCockpitTest : public ::testing::Test {
protected:
    void SetUp() override { VirtualCockpit::instance().reset(); }
    void TearDown() override { VirtualCockpit::instance().reset(); }

    VirtualCockpit &vc() { return VirtualCockpit::instance(); }

    std::vector<int> AreaIds()
    {
        std::vector<int> ids;
        for (const VcArea &a : vc().areas())
            ids.push_back(a.id);
        return ids;
    }

    // Stand-ins for textures; the cockpit only hands them back.
    int textureA_ = 0, textureB_ = 0, textureC_ = 0;
    SURFHANDLE texA() { return &textureA_; }
    SURFHANDLE texB() { return &textureB_; }
    SURFHANDLE texC() { return &textureC_; }
};

void ExpectVector(const VECTOR3 &expected, const VECTOR3 &actual)
{
    EXPECT_DOUBLE_EQ(expected.x, actual.x);
    EXPECT_DOUBLE_EQ(expected.y, actual.y);
    EXPECT_DOUBLE_EQ(expected.z, actual.z);
}

// A panel 0.4 m wide and 0.5 m high, leaning back: from its top edge at
// y = 1.0, z = 2.0 its left and right edges run 0.3 m down and 0.4 m back.
// Its unit normal, top edge x left edge normalised, is (0, 0.8, -0.6).
const VECTOR3 kPanelTL = _V(-0.2, 1.0, 2.0);
const VECTOR3 kPanelTR = _V(0.2, 1.0, 2.0);
const VECTOR3 kPanelBL = _V(-0.2, 0.7, 1.6);
const VECTOR3 kPanelBR = _V(0.2, 0.7, 1.6);
const VECTOR3 kPanelNormal = _V(0.0, 0.8, -0.6);
const VECTOR3 kPanelCentre = _V(0.0, 0.85, 1.8);

TEST_F(VirtualCockpitTest, RegistersAreasAndMfdsReplacingById)
{
    vc().beginLoad(2);
    EXPECT_EQ(2, vc().position());
    oapiVCRegisterArea(10, _R(0, 10, 256, 138), PANEL_REDRAW_ALWAYS, PANEL_MOUSE_LBDOWN, PANEL_MAP_NONE, texA());
    oapiVCRegisterArea(20, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBUP);
    oapiVCRegisterArea(30, _R(5, 6, 7, 8), PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBPRESSED, PANEL_MAP_NONE, texB());
    EXPECT_EQ((std::vector<int>{10, 20, 30}), AreaIds());

    const VcArea *a10 = vc().area(10);
    ASSERT_NE(nullptr, a10);
    EXPECT_TRUE(a10->hasTexture);
    EXPECT_EQ(0, a10->rect.left);
    EXPECT_EQ(10, a10->rect.top);
    EXPECT_EQ(256, a10->rect.right);
    EXPECT_EQ(138, a10->rect.bottom);
    EXPECT_EQ(PANEL_REDRAW_ALWAYS, a10->redrawMode);
    EXPECT_EQ(PANEL_MOUSE_LBDOWN, a10->mouseMode);
    EXPECT_EQ(PANEL_MAP_NONE, a10->backgroundMode);
    EXPECT_EQ(texA(), a10->texture);
    EXPECT_EQ(VcArea::Zone::None, a10->zone);

    const VcArea *a20 = vc().area(20);
    ASSERT_NE(nullptr, a20);
    EXPECT_FALSE(a20->hasTexture);
    EXPECT_EQ(nullptr, a20->texture);
    EXPECT_EQ(0, a20->rect.left);
    EXPECT_EQ(0, a20->rect.bottom);
    EXPECT_EQ(PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBUP, a20->mouseMode);
    EXPECT_EQ(nullptr, vc().area(40));

    // A second registration of 20 is a new area in the old place: new modes,
    // a texture now, and the click zone it had is gone.
    oapiVCSetAreaClickmode_Spherical(20, _V(1, 2, 3), 0.1);
    EXPECT_EQ(VcArea::Zone::Sphere, vc().area(20)->zone);
    oapiVCRegisterArea(20, _R(1, 2, 3, 4), PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBUP, PANEL_MAP_NONE, texC());
    EXPECT_EQ((std::vector<int>{10, 20, 30}), AreaIds());
    a20 = vc().area(20);
    EXPECT_TRUE(a20->hasTexture);
    EXPECT_EQ(texC(), a20->texture);
    EXPECT_EQ(PANEL_REDRAW_MOUSE, a20->redrawMode);
    EXPECT_EQ(PANEL_MOUSE_LBUP, a20->mouseMode);
    EXPECT_EQ(VcArea::Zone::None, a20->zone);

    // Click zones for areas that do not exist are dropped.
    oapiVCSetAreaClickmode_Spherical(99, _V(0, 0, 0), 1.0);
    oapiVCSetAreaClickmode_Quadrilateral(98, kPanelTL, kPanelTR, kPanelBL, kPanelBR);
    EXPECT_EQ(3u, vc().areas().size());
    EXPECT_EQ(nullptr, vc().areaAt(_V(0, 0, 0)));
    EXPECT_EQ(nullptr, vc().areaAt(kPanelCentre));

    VCMFDSPEC left = {3, 7};
    VCMFDSPEC right = {4, 8};
    VCMFDSPEC leftAgain = {5, 9};
    oapiVCRegisterMFD(0, &left);
    oapiVCRegisterMFD(1, nullptr);
    oapiVCRegisterMFD(1, &right);
    oapiVCRegisterMFD(0, &leftAgain);
    ASSERT_EQ(2u, vc().mfds().size());
    EXPECT_EQ(0, vc().mfds()[0].mfd);
    EXPECT_EQ(5u, vc().mfds()[0].nmesh);
    EXPECT_EQ(9u, vc().mfds()[0].ngroup);
    EXPECT_EQ(1, vc().mfds()[1].mfd);
    EXPECT_EQ(4u, vc().mfds()[1].nmesh);
    EXPECT_EQ(8u, vc().mfds()[1].ngroup);

    // Loading another position starts from nothing.
    vc().beginLoad(0);
    EXPECT_EQ(0, vc().position());
    EXPECT_TRUE(vc().areas().empty());
    EXPECT_TRUE(vc().mfds().empty());
    EXPECT_EQ(nullptr, vc().area(10));

    vc().reset();
    EXPECT_EQ(-1, vc().position());
}

TEST_F(VirtualCockpitTest, CameraOutlivesALoadThatSetsNone)
{
    const VcCamera &cam = vc().camera();
    EXPECT_EQ(0.0, cam.catchAngleRad);
    EXPECT_EQ(0.0, cam.rotLeft);
    EXPECT_EQ(0.0, cam.rotDown);
    ExpectVector(_V(0, 0, 0), cam.shiftRight);
    for (int n : cam.neighbours)
        EXPECT_EQ(-1, n);

    Recorder vessel;
    vc().beginLoad(0);
    vessel.SetCameraCatchAngle(0.2);
    vessel.SetCameraRotationRange(0.5, 0.6, 0.7, 0.8);
    vessel.SetCameraShiftRange(_V(0, 0, 0.3), _V(-0.2, 0, 0), _V(0.2, 0, 0));
    oapiVCSetNeighbours(-1, 1, 2, -1);

    vc().beginLoad(1);
    EXPECT_EQ(0.2, cam.catchAngleRad);
    EXPECT_EQ(0.5, cam.rotLeft);
    EXPECT_EQ(0.6, cam.rotRight);
    EXPECT_EQ(0.7, cam.rotUp);
    EXPECT_EQ(0.8, cam.rotDown);
    ExpectVector(_V(0, 0, 0.3), cam.shiftForward);
    ExpectVector(_V(-0.2, 0, 0), cam.shiftLeft);
    ExpectVector(_V(0.2, 0, 0), cam.shiftRight);
    EXPECT_EQ(-1, cam.neighbours[0]);
    EXPECT_EQ(1, cam.neighbours[1]);
    EXPECT_EQ(2, cam.neighbours[2]);
    EXPECT_EQ(-1, cam.neighbours[3]);

    // A load that sets some of it changes only that.
    vc().beginLoad(2);
    oapiVCSetNeighbours(0, -1, -1, -1);
    EXPECT_EQ(0.2, cam.catchAngleRad);
    EXPECT_EQ(0.8, cam.rotDown);
    EXPECT_EQ(0, cam.neighbours[0]);
    EXPECT_EQ(-1, cam.neighbours[1]);

    vc().reset();
    EXPECT_EQ(0.0, cam.catchAngleRad);
    EXPECT_EQ(0.0, cam.rotUp);
    ExpectVector(_V(0, 0, 0), cam.shiftForward);
    EXPECT_EQ(-1, cam.neighbours[0]);
    EXPECT_EQ(-1, cam.neighbours[2]);
}

TEST_F(VirtualCockpitTest, RedrawTriggersAreQueuedOnceForThisPosition)
{
    vc().beginLoad(1);
    oapiVCTriggerRedrawArea(-1, 5);
    oapiVCTriggerRedrawArea(1, 6);
    oapiVCTriggerRedrawArea(0, 7); // another position
    oapiVCTriggerRedrawArea(2, 8); // another position
    oapiVCTriggerRedrawArea(-1, 5);
    oapiVCTriggerRedrawArea(1, 9);
    oapiVCTriggerRedrawArea(-1, 6);
    EXPECT_EQ((std::vector<int>{5, 6, 9}), vc().takeTriggeredAreas());
    EXPECT_TRUE(vc().takeTriggeredAreas().empty());

    // Taken ids may be queued again.
    oapiVCTriggerRedrawArea(1, 5);
    EXPECT_EQ((std::vector<int>{5}), vc().takeTriggeredAreas());

    // A new load drops what the previous position asked for.
    oapiVCTriggerRedrawArea(-1, 3);
    vc().beginLoad(0);
    EXPECT_TRUE(vc().takeTriggeredAreas().empty());
    oapiVCTriggerRedrawArea(0, 4);
    oapiVCTriggerRedrawArea(1, 2);
    EXPECT_EQ((std::vector<int>{4}), vc().takeTriggeredAreas());

    // With no position loaded only "any position" counts.
    vc().reset();
    oapiVCTriggerRedrawArea(0, 1);
    oapiVCTriggerRedrawArea(-1, 2);
    EXPECT_EQ((std::vector<int>{2}), vc().takeTriggeredAreas());
}

TEST_F(VirtualCockpitTest, SphericalZones)
{
    vc().beginLoad(0);
    oapiVCRegisterArea(1, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCSetAreaClickmode_Spherical(1, _V(1, 2, 3), 0.5);
    const VcArea *a = vc().area(1);

    EXPECT_EQ(a, vc().areaAt(_V(1, 2, 3)));
    EXPECT_EQ(a, vc().areaAt(_V(1.2, 2.2, 3.2)));  // 0.2 * sqrt(3) = 0.35 m from the centre
    EXPECT_EQ(a, vc().areaAt(_V(1.5, 2, 3)));      // on the surface
    EXPECT_EQ(a, vc().areaAt(_V(1, 2, 2.5)));      // on the surface
    EXPECT_EQ(nullptr, vc().areaAt(_V(1, 2, 3.51)));
    EXPECT_EQ(nullptr, vc().areaAt(_V(1.4, 2.4, 3))); // 0.57 m off, though within 0.5 m on each axis
    EXPECT_EQ(nullptr, vc().areaAt(_V(-1, -2, -3)));
    ExpectVector(_V(1, 2, 3), VirtualCockpit::zoneCentre(*a));
}

TEST_F(VirtualCockpitTest, TiltedQuadrilateralZones)
{
    vc().beginLoad(0);
    oapiVCRegisterArea(1, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCSetAreaClickmode_Quadrilateral(1, kPanelTL, kPanelTR, kPanelBL, kPanelBR);
    const VcArea *a = vc().area(1);
    ASSERT_EQ(VcArea::Zone::Quad, a->zone);
    ExpectVector(kPanelCentre, VirtualCockpit::zoneCentre(*a));

    EXPECT_EQ(a, vc().areaAt(kPanelCentre));
    // A quarter across and three quarters down: TL + 0.25 (TR - TL) + 0.75 (BL - TL).
    EXPECT_EQ(a, vc().areaAt(_V(-0.1, 0.775, 1.7)));
    // Half way down, near the left and the right edge (outside the triangles
    // a wrong corner order would make of it).
    EXPECT_EQ(a, vc().areaAt(_V(-0.16, 0.85, 1.8)));
    EXPECT_EQ(a, vc().areaAt(_V(0.16, 0.85, 1.8)));
    // Edges and corners count.
    EXPECT_EQ(a, vc().areaAt(_V(0.2, 0.85, 1.8)));
    EXPECT_EQ(a, vc().areaAt(kPanelBR));
    EXPECT_EQ(a, vc().areaAt(kPanelTL));

    // In the plane but outside: beyond the left edge, below the bottom edge,
    // above the top edge.
    EXPECT_EQ(nullptr, vc().areaAt(_V(-0.25, 0.85, 1.8)));
    EXPECT_EQ(nullptr, vc().areaAt(_V(0.0, 0.64, 1.52)));  // TL + 0.5 (TR - TL) + 1.2 (BL - TL)
    EXPECT_EQ(nullptr, vc().areaAt(_V(0.0, 1.06, 2.08)));  // TL + 0.5 (TR - TL) - 0.2 (BL - TL)

    // Off the plane: 3 cm in front or behind still hit, 6 cm do not.
    EXPECT_EQ(a, vc().areaAt(kPanelCentre + kPanelNormal * 0.03));
    EXPECT_EQ(a, vc().areaAt(kPanelCentre - kPanelNormal * 0.03));
    EXPECT_EQ(nullptr, vc().areaAt(kPanelCentre + kPanelNormal * 0.06));
    EXPECT_EQ(nullptr, vc().areaAt(kPanelCentre - kPanelNormal * 0.06));
    // Straight above the centre in y: the panel leans, so this is 0.08 m off
    // the plane (0.1 * 0.8) and is rejected although it is "above" the panel.
    EXPECT_EQ(nullptr, vc().areaAt(_V(0.0, 0.95, 1.8)));
}

TEST_F(VirtualCockpitTest, EdgesOfAnObliquePanelCount)
{
    // A 0.3 m x 0.6 m panel turned about all three axes: its top edge runs
    // along a = (1, 2, 2) / 3, its left edge along b = (2, 1, -2) / 3 (both
    // unit length, a . b = 0). The corner coordinates are not exact in
    // binary, so points on the edges come out a rounding error to either side.
    const VECTOR3 across = _V(1.0, 2.0, 2.0) / 3.0;
    const VECTOR3 down = _V(2.0, 1.0, -2.0) / 3.0;
    const VECTOR3 tl = _V(0.1, -0.7, 1.3);
    const VECTOR3 tr = _V(0.2, -0.5, 1.5); // tl + 0.3 a
    const VECTOR3 bl = _V(0.5, -0.5, 0.9); // tl + 0.6 b
    const VECTOR3 br = _V(0.6, -0.3, 1.1); // tl + 0.3 a + 0.6 b
    vc().beginLoad(0);
    oapiVCRegisterArea(1, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCSetAreaClickmode_Quadrilateral(1, tl, tr, bl, br);
    const VcArea *a = vc().area(1);

    for (int i = 0; i <= 10; ++i) {
        double t = i / 10.0;
        SCOPED_TRACE(t);
        EXPECT_EQ(a, vc().areaAt(tl + (tr - tl) * t)); // top
        EXPECT_EQ(a, vc().areaAt(tl + (bl - tl) * t)); // left
        EXPECT_EQ(a, vc().areaAt(tr + (br - tr) * t)); // right
        EXPECT_EQ(a, vc().areaAt(bl + (br - bl) * t)); // bottom
    }
    // A millimetre outside the middle of each edge.
    EXPECT_EQ(nullptr, vc().areaAt((tl + tr) / 2.0 - down * 0.001));
    EXPECT_EQ(nullptr, vc().areaAt((bl + br) / 2.0 + down * 0.001));
    EXPECT_EQ(nullptr, vc().areaAt((tl + bl) / 2.0 - across * 0.001));
    EXPECT_EQ(nullptr, vc().areaAt((tr + br) / 2.0 + across * 0.001));
    // The middle, and a millimetre inside the middle of each edge.
    EXPECT_EQ(a, vc().areaAt((tl + br) / 2.0));
    EXPECT_EQ(a, vc().areaAt((tl + tr) / 2.0 + down * 0.001));
    EXPECT_EQ(a, vc().areaAt((tr + br) / 2.0 - across * 0.001));
}

TEST_F(VirtualCockpitTest, TrapezoidZoneFollowsItsSlantedEdges)
{
    // In the plane z = 0: top edge 0.4 m wide at y = 0, bottom edge 0.6 m wide
    // at y = -0.4. The right edge runs from (0.2, 0) to (0.3, -0.4), so at
    // y = -0.35 it is at x = 0.2 + 0.1 * 0.35 / 0.4 = 0.2875.
    vc().beginLoad(0);
    oapiVCRegisterArea(1, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCSetAreaClickmode_Quadrilateral(1, _V(-0.2, 0, 0), _V(0.2, 0, 0), _V(-0.3, -0.4, 0), _V(0.3, -0.4, 0));
    const VcArea *a = vc().area(1);
    EXPECT_EQ(a, vc().areaAt(_V(0.27, -0.35, 0)));
    EXPECT_EQ(a, vc().areaAt(_V(-0.27, -0.35, 0)));
    EXPECT_EQ(nullptr, vc().areaAt(_V(0.30, -0.35, 0)));
    // Near the top, the top edge is narrower than the bottom one.
    EXPECT_EQ(nullptr, vc().areaAt(_V(0.25, -0.05, 0)));
    ExpectVector(_V(0, -0.2, 0), VirtualCockpit::zoneCentre(*a));
}

TEST_F(VirtualCockpitTest, FirstRegisteredZoneWinsAndAreasWithoutZoneTakeNoClicks)
{
    vc().beginLoad(0);
    oapiVCRegisterArea(1, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN); // no zone
    oapiVCRegisterArea(2, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCRegisterArea(3, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCSetAreaClickmode_Quadrilateral(3, kPanelTL, kPanelTR, kPanelBL, kPanelBR);
    oapiVCSetAreaClickmode_Spherical(2, kPanelCentre, 0.05);

    EXPECT_EQ(vc().area(2), vc().areaAt(kPanelCentre));
    EXPECT_EQ(vc().area(3), vc().areaAt(_V(-0.1, 0.775, 1.7)));
    EXPECT_EQ(nullptr, vc().areaAt(_V(0, 0, 0)));
    EXPECT_EQ(nullptr, vc().areaAt(VirtualCockpit::zoneCentre(*vc().area(1))));
}

TEST_F(VirtualCockpitTest, RedrawsAlwaysAreasThenTriggeredOnesOncePerFrame)
{
    vc().beginLoad(0);
    oapiVCRegisterArea(1, _R(0, 0, 64, 64), PANEL_REDRAW_ALWAYS, PANEL_MOUSE_LBDOWN, PANEL_MAP_NONE, texA());
    oapiVCRegisterArea(2, _R(0, 0, 64, 64), PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBDOWN, PANEL_MAP_NONE, texB());
    oapiVCRegisterArea(3, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCRegisterArea(4, _R(0, 0, 64, 64), PANEL_REDRAW_ALWAYS | PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBDOWN,
                       PANEL_MAP_NONE, texC());
    oapiVCTriggerRedrawArea(-1, 3);
    oapiVCTriggerRedrawArea(-1, 4);
    oapiVCTriggerRedrawArea(-1, 99); // not registered
    oapiVCTriggerRedrawArea(-1, 2);

    Recorder vessel;
    vc().RunCockpitRedraws(&vessel);
    ASSERT_EQ(4u, vessel.redraws.size());
    EXPECT_EQ(1, vessel.redraws[0].id);
    EXPECT_EQ(PANEL_REDRAW_ALWAYS, vessel.redraws[0].event);
    EXPECT_EQ(texA(), vessel.redraws[0].surface);
    EXPECT_EQ(4, vessel.redraws[1].id);
    EXPECT_EQ(PANEL_REDRAW_ALWAYS, vessel.redraws[1].event);
    EXPECT_EQ(texC(), vessel.redraws[1].surface);
    EXPECT_EQ(3, vessel.redraws[2].id);
    EXPECT_EQ(PANEL_REDRAW_MOUSE, vessel.redraws[2].event);
    EXPECT_EQ(nullptr, vessel.redraws[2].surface);
    EXPECT_EQ(2, vessel.redraws[3].id);
    EXPECT_EQ(PANEL_REDRAW_MOUSE, vessel.redraws[3].event);
    EXPECT_EQ(texB(), vessel.redraws[3].surface);
    EXPECT_TRUE(vc().takeTriggeredAreas().empty());
    EXPECT_TRUE(vessel.mouse.empty());

    // The next frame, with nothing triggered, redraws only the ALWAYS areas.
    vessel.redraws.clear();
    vc().RunCockpitRedraws(&vessel);
    ASSERT_EQ(2u, vessel.redraws.size());
    EXPECT_EQ(1, vessel.redraws[0].id);
    EXPECT_EQ(4, vessel.redraws[1].id);
}

TEST_F(VirtualCockpitTest, ClicksReachTheAreaWithTheEventsItAsksFor)
{
    vc().beginLoad(0);
    oapiVCRegisterArea(5, _R(0, 0, 64, 64), PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBUP,
                       PANEL_MAP_NONE, texA());
    oapiVCSetAreaClickmode_Quadrilateral(5, kPanelTL, kPanelTR, kPanelBL, kPanelBR);
    oapiVCRegisterArea(6, PANEL_REDRAW_NEVER, PANEL_MOUSE_LBDOWN);
    oapiVCSetAreaClickmode_Spherical(6, _V(1, 0, 0), 0.1);
    oapiVCRegisterArea(7, PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBUP);
    oapiVCSetAreaClickmode_Spherical(7, _V(2, 0, 0), 0.1);
    oapiVCRegisterArea(8, PANEL_REDRAW_MOUSE, PANEL_MOUSE_LBPRESSED);
    oapiVCSetAreaClickmode_Spherical(8, _V(3, 0, 0), 0.1);

    Recorder vessel;
    const VECTOR3 p = _V(-0.1, 0.775, 1.7);
    EXPECT_TRUE(vc().ClickAt(&vessel, p));
    ASSERT_EQ(2u, vessel.mouse.size());
    EXPECT_EQ(5, vessel.mouse[0].id);
    EXPECT_EQ(PANEL_MOUSE_LBDOWN, vessel.mouse[0].event);
    ExpectVector(p, vessel.mouse[0].point);
    EXPECT_EQ(5, vessel.mouse[1].id);
    EXPECT_EQ(PANEL_MOUSE_LBUP, vessel.mouse[1].event);
    ExpectVector(p, vessel.mouse[1].point);
    // Accepted by an area that redraws on mouse events: redrawn next frame.
    EXPECT_EQ((std::vector<int>{5}), vc().takeTriggeredAreas());
    EXPECT_TRUE(vessel.redraws.empty());

    vessel.mouse.clear();
    EXPECT_TRUE(vc().ClickAt(&vessel, _V(1, 0, 0.05)));
    ASSERT_EQ(1u, vessel.mouse.size());
    EXPECT_EQ(6, vessel.mouse[0].id);
    EXPECT_EQ(PANEL_MOUSE_LBDOWN, vessel.mouse[0].event);
    EXPECT_TRUE(vc().takeTriggeredAreas().empty()); // area 6 never redraws

    vessel.mouse.clear();
    EXPECT_TRUE(vc().ClickAt(&vessel, _V(2, 0, 0)));
    ASSERT_EQ(1u, vessel.mouse.size());
    EXPECT_EQ(7, vessel.mouse[0].id);
    EXPECT_EQ(PANEL_MOUSE_LBUP, vessel.mouse[0].event);
    vc().takeTriggeredAreas();

    // An area that takes no button-down or button-up gets nothing, but the
    // click was still on it.
    vessel.mouse.clear();
    EXPECT_TRUE(vc().ClickAt(&vessel, _V(3, 0, 0)));
    EXPECT_TRUE(vessel.mouse.empty());
    EXPECT_TRUE(vc().takeTriggeredAreas().empty());

    // A click beside every area reaches no one.
    EXPECT_FALSE(vc().ClickAt(&vessel, _V(1.5, 0, 0)));
    EXPECT_TRUE(vessel.mouse.empty());

    // Events the vessel turns down do not redraw the area.
    vessel.acceptMouse = false;
    EXPECT_TRUE(vc().ClickAt(&vessel, kPanelCentre));
    EXPECT_EQ(2u, vessel.mouse.size());
    EXPECT_TRUE(vc().takeTriggeredAreas().empty());
}

} // namespace
} // namespace headless
