// The link model on its own: elevation above a ground site's horizon, Earth
// blocking the line of sight, link strength and light time. Expected values
// come from textbook geometry (the elevation of a satellite seen from the
// ground as a function of the central angle) and from the model's stated
// reference ranges, not from the code under test.

#include "tracknet/link_model.h"

#include <cmath>

#include <gtest/gtest.h>

namespace tracknet {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371010.0;   // m
constexpr double kGeoRadius = 42164e3;       // m
constexpr double kSpeedOfLight = 299792458.0; // m/s

double Radians(double deg) { return deg * kPi / 180.0; }
double Degrees(double rad) { return rad * 180.0 / kPi; }

// A point at radius r in the x-y plane, angleDeg from the x axis.
VECTOR3 InPlane(double r, double angleDeg)
{
    return _V(r * std::cos(Radians(angleDeg)), r * std::sin(Radians(angleDeg)), 0.0);
}

// Elevation of a satellite at radius r seen from a site at radius R, with the
// central angle gamma between them: tan(el) = (cos gamma - R / r) / sin gamma.
double TextbookElevationDeg(double R, double r, double gammaDeg)
{
    double g = Radians(gammaDeg);
    return Degrees(std::atan2(std::cos(g) - R / r, std::sin(g)));
}

TEST(LinkModelElevation, OverheadAndOnTheHorizon)
{
    VECTOR3 site = _V(kEarthRadius, 0.0, 0.0);
    EXPECT_NEAR(ElevationDeg(site, _V(kEarthRadius + 400e3, 0.0, 0.0)), 90.0, 1e-9);
    // Straight along the local horizon, east and north.
    EXPECT_NEAR(ElevationDeg(site, _V(kEarthRadius, 1000e3, 0.0)), 0.0, 1e-9);
    EXPECT_NEAR(ElevationDeg(site, _V(kEarthRadius, 0.0, 1000e3)), 0.0, 1e-9);
    // Straight down, through Earth.
    EXPECT_NEAR(ElevationDeg(site, _V(-kEarthRadius, 0.0, 0.0)), -90.0, 1e-9);
    // The site's own position: taken as overhead, not as a division by zero.
    EXPECT_EQ(ElevationDeg(site, site), 90.0);
}

TEST(LinkModelElevation, MatchesTheCentralAngleFormula)
{
    // A geostationary satellite seen from sites further and further from its
    // sub-satellite point, in and out of the equatorial plane.
    VECTOR3 satellite = _V(kGeoRadius, 0.0, 0.0);
    for (double gamma : {10.0, 30.0, 60.0, 75.0, 81.0}) {
        double expected = TextbookElevationDeg(kEarthRadius, kGeoRadius, gamma);
        EXPECT_NEAR(ElevationDeg(InPlane(kEarthRadius, gamma), satellite), expected, 1e-9) << gamma;
        VECTOR3 northern = _V(kEarthRadius * std::cos(Radians(gamma)), 0.0, kEarthRadius * std::sin(Radians(gamma)));
        EXPECT_NEAR(ElevationDeg(northern, satellite), expected, 1e-9) << gamma;
    }
    // 60 deg away: (0.5 - 0.1511) / 0.8660 gives about 21.9 deg.
    EXPECT_NEAR(ElevationDeg(InPlane(kEarthRadius, 60.0), satellite), 21.94, 0.01);
    // The satellite sets 81.3 deg from its sub-satellite point (cos = R / r).
    EXPECT_GT(ElevationDeg(InPlane(kEarthRadius, 81.0), satellite), 0.0);
    EXPECT_LT(ElevationDeg(InPlane(kEarthRadius, 81.6), satellite), 0.0);
}

TEST(LinkModelLineOfSight, EarthBlocksOnlyWhatPassesThroughIt)
{
    const double r = 7000e3;
    // A chord between points 30 deg apart stays 7000 cos 15 = 6761 km out.
    EXPECT_TRUE(LineOfSightClear(InPlane(r, 0.0), InPlane(r, 30.0), kEarthRadius));
    // 60 deg apart it dips to 7000 cos 30 = 6062 km, inside Earth.
    EXPECT_FALSE(LineOfSightClear(InPlane(r, 0.0), InPlane(r, 60.0), kEarthRadius));
    // Opposite sides.
    EXPECT_FALSE(LineOfSightClear(InPlane(r, 0.0), InPlane(r, 180.0), kEarthRadius));
    // Radially outward: the closest point is an end point, however long the
    // line through Earth's centre would be.
    EXPECT_TRUE(LineOfSightClear(InPlane(r, 0.0), InPlane(4 * r, 0.0), kEarthRadius));
    // Symmetric in its ends.
    EXPECT_EQ(LineOfSightClear(InPlane(kGeoRadius, 0.0), InPlane(r, 100.0), kEarthRadius),
              LineOfSightClear(InPlane(r, 100.0), InPlane(kGeoRadius, 0.0), kEarthRadius));
}

TEST(LinkModelLineOfSight, GeostationaryReachOfALowOrbit)
{
    // A satellite at 400 km is in view of a geostationary one up to a central
    // angle of acos(R / r1) + acos(R / r2) = 19.8 + 81.3 = 101.1 deg.
    const double low = kEarthRadius + 400e3;
    double limitDeg = Degrees(std::acos(kEarthRadius / low) + std::acos(kEarthRadius / kGeoRadius));
    EXPECT_TRUE(LineOfSightClear(InPlane(low, limitDeg - 0.2), InPlane(kGeoRadius, 0.0), kEarthRadius));
    EXPECT_FALSE(LineOfSightClear(InPlane(low, limitDeg + 0.2), InPlane(kGeoRadius, 0.0), kEarthRadius));
}

TEST(LinkModelLineOfSight, FromTheSurface)
{
    VECTOR3 ground = _V(kEarthRadius, 0.0, 0.0);
    // Straight up from the mean radius: the line only touches the surface.
    EXPECT_TRUE(LineOfSightClear(ground, _V(kGeoRadius, 0.0, 0.0), kEarthRadius));
    // Just above the horizon, and just below it towards a point 580 km up
    // (the line dips 3.5 km under the surface on its way).
    EXPECT_TRUE(LineOfSightClear(ground, _V(kEarthRadius + 1000.0, 2000e3, 0.0), kEarthRadius));
    EXPECT_FALSE(LineOfSightClear(ground, _V(kEarthRadius - 100e3, 3000e3, 0.0), kEarthRadius));
}

TEST(LinkModelStrength, FallsWithRangeBeyondTheReference)
{
    EXPECT_DOUBLE_EQ(SignalStrengthPercent(400e3, 1000e3, 90.0), 100.0);
    EXPECT_DOUBLE_EQ(SignalStrengthPercent(1000e3, 1000e3, 90.0), 100.0);
    EXPECT_NEAR(SignalStrengthPercent(2000e3, 1000e3, 90.0), 25.0, 1e-12);
    EXPECT_NEAR(SignalStrengthPercent(10000e3, 1000e3, 90.0), 1.0, 1e-12);
}

TEST(LinkModelStrength, FallsTowardsTheHorizon)
{
    // Full gain from 15 deg up, in proportion below.
    EXPECT_DOUBLE_EQ(SignalStrengthPercent(500e3, 1000e3, 15.0), 100.0);
    EXPECT_DOUBLE_EQ(SignalStrengthPercent(500e3, 1000e3, 45.0), 100.0);
    EXPECT_NEAR(SignalStrengthPercent(500e3, 1000e3, 7.5), 50.0, 1e-12);
    EXPECT_NEAR(SignalStrengthPercent(500e3, 1000e3, kMinimumElevationDeg), 100.0 / 3.0, 1e-12);
    EXPECT_DOUBLE_EQ(SignalStrengthPercent(500e3, 1000e3, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(SignalStrengthPercent(500e3, 1000e3, -3.0), 0.0);
    // Both at once: twice the range and half the gain.
    EXPECT_NEAR(SignalStrengthPercent(2000e3, 1000e3, 7.5), 12.5, 1e-12);
}

TEST(LinkModelLightTime, OneWayAtTheSpeedOfLight)
{
    EXPECT_DOUBLE_EQ(LightTimeSeconds(kSpeedOfLight), 1.0);
    EXPECT_DOUBLE_EQ(LightTimeSeconds(0.0), 0.0);
    // The Moon's mean distance: about 1.28 s.
    EXPECT_NEAR(LightTimeSeconds(384400e3), 1.2822, 1e-4);
    EXPECT_DOUBLE_EQ(DistanceMetres(_V(1.0, 2.0, 3.0), _V(4.0, 6.0, 3.0)), 5.0);
}

} // namespace
} // namespace tracknet
