#include "headless/cockpit_camera.h"

#include <cmath>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

void ExpectNear(const VECTOR3 &expected, const VECTOR3 &actual, double tolerance = 1e-12)
{
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

// The building's cockpit registers a rotation range of pi each way.
VcCamera BuildingLimits()
{
    VcCamera c;
    c.rotLeft = c.rotRight = c.rotUp = c.rotDown = kPi;
    return c;
}

TEST(CockpitCameraTest, FieldOfViewComesFromTheCameraBlockOrIsFortyDegrees)
{
    EXPECT_EQ(CameraBlockFovDeg({}), 40.0);
    EXPECT_EQ(CameraBlockFovDeg({"TARGET Houston", "MODE Cockpit", "FOV 60.00"}), 60.0);
    EXPECT_EQ(CameraBlockFovDeg({"  fov\t35.5  "}), 35.5);
    EXPECT_EQ(CameraBlockFovDeg({"FOV 50", "FOV 70"}), 70.0);
    // Lines that give no angle leave the default.
    for (const char *bad : {"FOV", "FOV ", "FOV abc", "FOV 0", "FOV 180", "FOV -5", "FOV 50 deg", "FOVX 50",
                            "XFOV 50", "FOV nan", "FOV 1e400"})
        EXPECT_EQ(CameraBlockFovDeg({bad}), 40.0) << bad;
    EXPECT_EQ(CameraBlockFovDeg({"FOV 55", "FOV junk"}), 55.0);
}

TEST(CockpitCameraTest, HeadTurnsWithinTheRegisteredRangeAndNoFurtherThanStraightUpOrDown)
{
    HeadTurn t = ClampHeadTurn(BuildingLimits(), HeadTurn{200.0, 120.0});
    EXPECT_DOUBLE_EQ(t.yawDeg, 180.0);
    EXPECT_DOUBLE_EQ(t.pitchDeg, 90.0);
    t = ClampHeadTurn(BuildingLimits(), HeadTurn{-30.0, -100.0});
    EXPECT_DOUBLE_EQ(t.yawDeg, -30.0);
    EXPECT_DOUBLE_EQ(t.pitchDeg, -90.0);

    // 0.5 rad to the left is 28.6479 degrees, 1 rad to the right 57.2958.
    VcCamera uneven;
    uneven.rotLeft = 0.5;
    uneven.rotRight = 1.0;
    uneven.rotUp = 0.1;
    uneven.rotDown = 0.2;
    t = ClampHeadTurn(uneven, HeadTurn{-40.0, 10.0});
    EXPECT_NEAR(t.yawDeg, -28.64788975654116, 1e-12);
    EXPECT_NEAR(t.pitchDeg, 5.729577951308232, 1e-12);
    t = ClampHeadTurn(uneven, HeadTurn{70.0, -20.0});
    EXPECT_NEAR(t.yawDeg, 57.29577951308232, 1e-12);
    EXPECT_NEAR(t.pitchDeg, -11.459155902616464, 1e-12);

    // A cockpit that registered no range: the head does not turn.
    t = ClampHeadTurn(VcCamera(), HeadTurn{45.0, 10.0});
    EXPECT_EQ(t.yawDeg, 0.0);
    EXPECT_EQ(t.pitchDeg, 0.0);
}

TEST(CockpitCameraTest, EyeAtTheCameraOffsetLookingForwardOrTurned)
{
    const VECTOR3 desk = _V(0, -1.55, -7); // cockpit position 0
    ViewCamera c = CockpitCamera(desk, BuildingLimits(), HeadTurn{});
    ExpectNear(desk, c.position);
    ExpectNear(_V(0, 0, 1), c.forward);
    ExpectNear(_V(0, 1, 0), c.up);
    ExpectNear(_V(1, 0, 0), c.right());
    EXPECT_EQ(c.fovYDeg, 40.0);

    // Turned right a quarter: looking along +x, the right hand towards -z.
    c = CockpitCamera(desk, BuildingLimits(), HeadTurn{90.0, 0.0});
    ExpectNear(_V(1, 0, 0), c.forward);
    ExpectNear(_V(0, 0, -1), c.right());
    // 30 degrees right and 20 up: forward (sin 30 cos 20, sin 20, cos 30 cos 20),
    // up (-sin 30 sin 20, cos 20, -cos 30 sin 20).
    c = CockpitCamera(desk, BuildingLimits(), HeadTurn{30.0, 20.0}, 55.0);
    ExpectNear(_V(0.46984631039295416, 0.3420201433256687, 0.8137976813493738), c.forward);
    ExpectNear(_V(-0.17101007166283433, 0.9396926207859084, -0.29619813272602386), c.up);
    EXPECT_NEAR(dot(c.forward, c.up), 0.0, 1e-15);
    EXPECT_EQ(c.fovYDeg, 55.0);
}

TEST(CockpitCameraTest, FromTheMainDeskTheScreensHangAboveTheMfdButtonsInTheirOrder)
{
    // Position 0 at 1920 x 1080 with 40 degrees of view: half the height is
    // tan 20 deg = 0.36397 at unit distance, half the width 0.64706. The
    // screens' mesh offsets and the MFD select buttons' click-zone centres
    // land at (computed by hand from those figures):
    ViewCamera c = CockpitCamera(_V(0, -1.55, -7), BuildingLimits(), HeadTurn{});
    struct Expected {
        VECTOR3 point;
        double x, y;
    };
    const Expected points[] = {
        {_V(-5.25, -0.1, 9.28), 481.554, 407.858},              // screen 1, left
        {_V(-1.25, -0.1, 9.28), 846.084, 407.858},              // screen 0
        {_V(2.75, -0.1, 9.28), 1210.614, 407.858},              // screen 2, right
        {_V(-0.685202, -1.958942, -5.380787), 332.169, 914.702}, // left MFD select, 214
        {_V(0.585066, -1.958942, -5.380862), 1496.104, 914.719}, // right MFD select, 114
        {_V(-0.770604, -1.657845, -5.320146), 279.407, 635.248}, // left MFD button 0, 200
        {_V(0.653067, -1.908759, -5.385162), 1560.007, 869.611}, // right MFD button 11, 111
    };
    for (const Expected &e : points) {
        double x = 0, y = 0;
        ASSERT_TRUE(c.Project(e.point, 1920, 1080, &x, &y));
        EXPECT_NEAR(x, e.x, 1e-3);
        EXPECT_NEAR(y, e.y, 1e-3);
    }
}

TEST(CockpitCameraTest, PictureEdgesAreTheFieldOfView)
{
    ViewCamera c = CockpitCamera(_V(1, 2, 3), BuildingLimits(), HeadTurn{});
    double x = 0, y = 0;
    const double t = std::tan(DegreesToRadians(20.0));
    ASSERT_TRUE(c.Project(_V(1, 2 + 5 * t, 8), 400, 300, &x, &y)); // on the top edge, in the middle
    EXPECT_NEAR(x, 200.0, 1e-9);
    EXPECT_NEAR(y, 0.0, 1e-9);
    ASSERT_TRUE(c.Project(_V(1 - 5 * t * 4.0 / 3.0, 2 - 5 * t, 8), 400, 300, &x, &y)); // bottom-left corner
    EXPECT_NEAR(x, 0.0, 1e-9);
    EXPECT_NEAR(y, 300.0, 1e-9);
    // Behind the eye, or nearer than the near plane: no place in the picture.
    EXPECT_FALSE(c.Project(_V(1, 2, 2), 400, 300, &x, &y));
    EXPECT_FALSE(c.Project(_V(1, 2, 3.01), 400, 300, &x, &y));
    // The ray through the centre of the top-left pixel points up and left.
    Ray r = c.RayThroughPixel(0, 0, 400, 300);
    EXPECT_LT(r.direction.x, 0.0);
    EXPECT_GT(r.direction.y, 0.0);
    EXPECT_NEAR(length(r.direction), 1.0, 1e-15);
    ExpectNear(_V(1, 2, 3), r.origin);
}

TEST(CockpitCameraTest, ExternalCameraSeesTheWholeVesselFromOutside)
{
    const VECTOR3 centre = _V(0, 10, 0);
    const double radius = 25.0;
    ViewCamera c = ExternalCamera(centre, radius);
    EXPECT_GT(length(c.position - centre), radius);
    EXPECT_LT(c.position.z, centre.z); // behind
    EXPECT_LT(c.position.x, centre.x); // to the left
    EXPECT_GT(c.position.y, centre.y); // above
    EXPECT_NEAR(dot(c.forward, c.up), 0.0, 1e-12);
    EXPECT_GT(c.up.y, 0.0);
    double x = 0, y = 0;
    ASSERT_TRUE(c.Project(centre, 1920, 1080, &x, &y));
    EXPECT_NEAR(x, 960.0, 1e-6);
    EXPECT_NEAR(y, 540.0, 1e-6);
    // The sphere's top and bottom, seen across the line of sight, in the picture.
    for (double s : {1.0, -1.0}) {
        ASSERT_TRUE(c.Project(centre + c.up * (s * radius), 1920, 1080, &x, &y));
        EXPECT_GT(y, 0.0);
        EXPECT_LT(y, 1080.0);
    }
    EXPECT_GT(length(centre - c.position) - radius, c.nearMetres);
    EXPECT_GT(c.farMetres, length(centre - c.position) + radius);
}

TEST(CockpitCameraTest, GroundIsTheLowestTouchdownPoint)
{
    // The building's points: three on the ground, one on the roof.
    std::vector<TOUCHDOWNVTX> building(4);
    building[0].pos = _V(8.660254037844387, -5.0, -4.999999999999999);
    building[1].pos = _V(0.0, -5.0, 10.0);
    building[2].pos = _V(-8.660254037844387, -5.0, -4.999999999999999);
    building[3].pos = _V(0.0, 50.0, 0.0);
    EXPECT_EQ(GroundLevel(building), -5.0);
    EXPECT_EQ(GroundLevel({}), 0.0);
}

} // namespace
} // namespace headless
