// Clicks along a ray: which click zones a ray from the eye meets, nearest
// first, and the click that the nearest one receives.

#include "headless/vc.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

class ClickRecorder final : public VESSEL3 {
public:
    struct Call {
        int id;
        int event;
        VECTOR3 point;
    };
    ClickRecorder() : VESSEL3(nullptr) {}
    bool clbkVCMouseEvent(int id, int event, VECTOR3 &p) override
    {
        calls.push_back(Call{id, event, p});
        return true;
    }
    std::vector<Call> calls;
};

class VcRayTest : public ::testing::Test {
protected:
    void SetUp() override { VirtualCockpit::instance().reset(); }
    void TearDown() override { VirtualCockpit::instance().reset(); }
    VirtualCockpit &vc() { return VirtualCockpit::instance(); }

    void AddSphere(int id, const VECTOR3 &centre, double radius)
    {
        vc().registerArea(Area(id));
        vc().setSphericalZone(id, centre, radius);
    }
    void AddQuad(int id, const VECTOR3 &tl, const VECTOR3 &tr, const VECTOR3 &bl, const VECTOR3 &br)
    {
        vc().registerArea(Area(id));
        vc().setQuadrilateralZone(id, tl, tr, bl, br);
    }
    // The ids hit by the ray from o towards target, nearest first.
    std::vector<int> IdsHit(const VECTOR3 &o, const VECTOR3 &target)
    {
        std::vector<int> ids;
        for (const VirtualCockpit::RayHit &h : vc().hitsAlong(o, target - o))
            ids.push_back(h.area->id);
        return ids;
    }

private:
    static VcArea Area(int id)
    {
        VcArea a;
        a.id = id;
        a.redrawMode = PANEL_REDRAW_MOUSE;
        a.mouseMode = PANEL_MOUSE_LBDOWN | PANEL_MOUSE_LBUP;
        return a;
    }
};

const VECTOR3 kEye = _V(0, 0, 0);

void ExpectNear(const VECTOR3 &expected, const VECTOR3 &actual, double tolerance = 1e-12)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

TEST_F(VcRayTest, SphereIsHitWhenTheRayPassesWithinItsRadiusOfACentreAhead)
{
    AddSphere(7, _V(0, 0, 2), 0.1);
    std::vector<VirtualCockpit::RayHit> hits = vc().hitsAlong(kEye, _V(0, 0, 1));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].area->id, 7);
    EXPECT_NEAR(hits[0].distance, 1.9, 1e-12); // enters at z = 2 - 0.1
    ExpectNear(_V(0, 0, 2), hits[0].point);
    ExpectNear(_V(0, 0, 2), hits[0].areaPoint);

    // Towards (0.09, 0, 2) the centre is 0.18 / 2.002024 = 0.08991 m off the
    // ray; towards (0.11, 0, 2) it is 0.22 / 2.003023 = 0.10983 m off.
    EXPECT_EQ(IdsHit(kEye, _V(0.09, 0, 2)), std::vector<int>{7});
    EXPECT_TRUE(IdsHit(kEye, _V(0.11, 0, 2)).empty());
    // A direction of any length.
    EXPECT_EQ(vc().hitsAlong(kEye, _V(0, 0, 250)).size(), 1u);

    // Behind the eye: the ray looks away from it, or the eye is past it.
    EXPECT_TRUE(vc().hitsAlong(kEye, _V(0, 0, -1)).empty());
    EXPECT_TRUE(vc().hitsAlong(_V(0, 0, 2.05), _V(0, 0, 1)).empty());
    // From inside the sphere, looking at the centre: a hit at once.
    hits = vc().hitsAlong(_V(0, 0, 2.05), _V(0, 0, -1));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0].distance, 0.0);
    // No direction at all meets nothing.
    EXPECT_TRUE(vc().hitsAlong(kEye, _V(0, 0, 0)).empty());
}

TEST_F(VcRayTest, QuadrilateralIsHitInsideItsOutlineAheadFromEitherSide)
{
    // 0.4 m square, upright, 2 m ahead.
    AddQuad(3, _V(-0.2, 0.2, 2), _V(0.2, 0.2, 2), _V(-0.2, -0.2, 2), _V(0.2, -0.2, 2));
    std::vector<VirtualCockpit::RayHit> hits = vc().hitsAlong(kEye, _V(0.1, -0.1, 2));
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_NEAR(hits[0].distance, std::sqrt(0.01 + 0.01 + 4.0), 1e-12);
    ExpectNear(_V(0.1, -0.1, 2), hits[0].point);
    // (0.1 + 0.2) / 0.4 across from the left, (0.2 + 0.1) / 0.4 down from the top.
    ExpectNear(_V(0.75, 0.75, 0), hits[0].areaPoint);

    EXPECT_TRUE(IdsHit(kEye, _V(0.25, 0, 2)).empty());          // beside it
    EXPECT_TRUE(vc().hitsAlong(_V(0, 0, 3), _V(0, 0, 1)).empty()); // plane behind the eye
    EXPECT_TRUE(vc().hitsAlong(_V(-1, 0, 2), _V(1, 0, 0)).empty()); // along its plane
    // From behind: the same zone, its middle.
    hits = vc().hitsAlong(_V(0, 0, 4), _V(0, 0, -1));
    ASSERT_EQ(hits.size(), 1u);
    ExpectNear(_V(0.5, 0.5, 0), hits[0].areaPoint);

    // Corners that span no plane (all at one point, or on one line) take no
    // clicks.
    vc().reset();
    AddQuad(4, _V(0, 0, 2), _V(0, 0, 2), _V(0, 0, 2), _V(0, 0, 2));
    AddQuad(5, _V(-0.2, 0, 2), _V(0.2, 0, 2), _V(-0.1, 0, 2), _V(0.1, 0, 2));
    EXPECT_TRUE(vc().hitsAlong(kEye, _V(0, 0, 1)).empty());
}

TEST_F(VcRayTest, PositionWithinATiltedPanelAndATrapezoid)
{
    // A panel leaning back (its top edge at z = 2, its bottom at z = 1.6):
    // its middle (0, 0.85, 1.8) is at (0.5, 0.5).
    AddQuad(1, _V(-0.2, 1.0, 2.0), _V(0.2, 1.0, 2.0), _V(-0.2, 0.7, 1.6), _V(0.2, 0.7, 1.6));
    std::vector<VirtualCockpit::RayHit> hits = vc().hitsAlong(kEye, _V(0, 0.85, 1.8));
    ASSERT_EQ(hits.size(), 1u);
    ExpectNear(_V(0.5, 0.5, 0), hits[0].areaPoint);
    // Its top-right corner region: (0.15, 0.97, 1.96) lies at u = 0.35 / 0.4,
    // v = 0.03 / 0.3 along the slant.
    hits = vc().hitsAlong(kEye, _V(0.15, 0.97, 1.96));
    ASSERT_EQ(hits.size(), 1u);
    ExpectNear(_V(0.875, 0.1, 0), hits[0].areaPoint, 1e-9);

    // A trapezoid, 0.2 m wide at the top and 0.6 m at the bottom: on its
    // middle line (y = 0) it runs from x = -0.2 to 0.2, so x = -0.1 is a
    // quarter of the way across; the bilinear map gives the same:
    // -0.1 + 0.25 x 0.2 + 0.5 x -0.2 + 0.125 x 0.4 = -0.1.
    vc().reset();
    AddQuad(2, _V(-0.1, 0.2, 2), _V(0.1, 0.2, 2), _V(-0.3, -0.2, 2), _V(0.3, -0.2, 2));
    hits = vc().hitsAlong(kEye, _V(-0.1, 0, 2));
    ASSERT_EQ(hits.size(), 1u);
    ExpectNear(_V(0.25, 0.5, 0), hits[0].areaPoint, 1e-9);
    EXPECT_TRUE(IdsHit(kEye, _V(-0.25, 0.1, 2)).empty()); // outside the slanted left edge
}

TEST_F(VcRayTest, NearestZoneComesFirstWhateverTheRegistrationOrder)
{
    for (int order = 0; order < 2; ++order) {
        vc().reset();
        auto sphere = [&] { AddSphere(10, _V(0, 0, 3), 0.2); };
        auto quad = [&] { AddQuad(20, _V(-0.1, 0.1, 2), _V(0.1, 0.1, 2), _V(-0.1, -0.1, 2), _V(0.1, -0.1, 2)); };
        if (order == 0) {
            sphere();
            quad();
        } else {
            quad();
            sphere();
        }
        EXPECT_EQ(IdsHit(kEye, _V(0, 0, 1)), (std::vector<int>{20, 10}));
        // Towards (0.18, 0, 3): past the quad's edge (x = 0.12 at z = 2), and
        // 0.54 / 3.005395 = 0.17968 m from the sphere's centre.
        EXPECT_EQ(IdsHit(kEye, _V(0.18, 0, 3)), std::vector<int>{10});
    }
}

TEST_F(VcRayTest, ClickAlongTheRayReachesTheNearestAreaOnly)
{
    AddSphere(10, _V(0, 0, 3), 0.2);
    AddQuad(20, _V(-0.2, 0.2, 2), _V(0.2, 0.2, 2), _V(-0.2, -0.2, 2), _V(0.2, -0.2, 2));
    ClickRecorder iface;
    ASSERT_TRUE(vc().ClickAlong(&iface, kEye, _V(0, 0, 1)));
    ASSERT_EQ(iface.calls.size(), 2u);
    EXPECT_EQ(iface.calls[0].id, 20);
    EXPECT_EQ(iface.calls[0].event, PANEL_MOUSE_LBDOWN);
    EXPECT_EQ(iface.calls[1].event, PANEL_MOUSE_LBUP);
    ExpectNear(_V(0.5, 0.5, 0), iface.calls[1].point);
    EXPECT_EQ(vc().takeTriggeredAreas(), std::vector<int>{20});

    // A ray that meets no zone: no event, false.
    iface.calls.clear();
    EXPECT_FALSE(vc().ClickAlong(&iface, kEye, _V(0, 1, 0)));
    EXPECT_TRUE(iface.calls.empty());
    EXPECT_TRUE(vc().takeTriggeredAreas().empty());
}

} // namespace
} // namespace headless
