#include "headless/frames.h"

#include <cmath>
#include <initializer_list>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

constexpr double kEarthRadius = 6371000.0;         // m
constexpr double kEarthSiderealPeriod = 86164.09;  // s
constexpr double kJ2000Mjd = 51544.5;

double AngleError(double a, double b) { return std::fabs(std::remainder(a - b, kTwoPi)); }

void ExpectVectorNear(const VECTOR3 &expected, const VECTOR3 &actual, double tol)
{
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

TEST(Frames, PlanetRotationAngle)
{
    const double atJ2000 = DegreesToRadians(280.46061837);
    const double periodDays = kEarthSiderealPeriod / kSecondsPerDay;
    EXPECT_NEAR(PlanetRotationAngle(kJ2000Mjd, kEarthSiderealPeriod), atJ2000, 1e-12);
    EXPECT_NEAR(PlanetRotationAngle(kJ2000Mjd + periodDays, kEarthSiderealPeriod), atJ2000, 1e-9);
    // A quarter turn later: 370.46 deg, reported as 10.46 deg.
    EXPECT_NEAR(PlanetRotationAngle(kJ2000Mjd + periodDays / 4, kEarthSiderealPeriod),
                DegreesToRadians(10.46061837), 1e-9);
    // Ten thousand and a quarter turns later, and a half turn before J2000.
    EXPECT_NEAR(PlanetRotationAngle(kJ2000Mjd + 10000.25 * periodDays, kEarthSiderealPeriod),
                DegreesToRadians(10.46061837), 1e-7);
    EXPECT_NEAR(PlanetRotationAngle(kJ2000Mjd - periodDays / 2, kEarthSiderealPeriod),
                DegreesToRadians(100.46061837), 1e-9);
    for (double mjd = 40000.0; mjd < 70000.0; mjd += 1234.567) {
        double angle = PlanetRotationAngle(mjd, kEarthSiderealPeriod);
        EXPECT_GE(angle, 0.0);
        EXPECT_LT(angle, kTwoPi);
    }
}

TEST(Frames, KnownEquatorialPositions)
{
    const double R = kEarthRadius;
    double lng, lat, rad;

    // Longitude 0, latitude 0 at rotation angle 0 is on +x.
    ExpectVectorNear(_V(R, 0.0, 0.0), RelativeFromEquatorial(0.0, 0.0, R, 0.0), 1e-6);
    EquatorialFromRelative(_V(R, 0.0, 0.0), 0.0, lng, lat, rad);
    EXPECT_NEAR(lng, 0.0, 1e-15);
    EXPECT_NEAR(lat, 0.0, 1e-15);
    EXPECT_NEAR(rad, R, 1e-6);

    // East is positive: 90 E is on +y before the planet turns.
    ExpectVectorNear(_V(0.0, R, 0.0), RelativeFromEquatorial(kPi / 2, 0.0, R, 0.0), 1e-6);

    // After a quarter turn the prime meridian is on +y and +x is at 90 W.
    ExpectVectorNear(_V(0.0, R, 0.0), RelativeFromEquatorial(0.0, 0.0, R, kPi / 2), 1e-6);
    EquatorialFromRelative(_V(R, 0.0, 0.0), kPi / 2, lng, lat, rad);
    EXPECT_NEAR(lng, -kPi / 2, 1e-15);

    // Latitude 45 N and the north pole.
    EquatorialFromRelative(_V(1.0, 0.0, 1.0), 0.0, lng, lat, rad);
    EXPECT_NEAR(lat, kPi / 4, 1e-15);
    EXPECT_NEAR(rad, std::sqrt(2.0), 1e-15);
    EquatorialFromRelative(_V(0.0, 0.0, R), 0.0, lng, lat, rad);
    EXPECT_NEAR(lat, kPi / 2, 1e-15);
    EquatorialFromRelative(_V(0.0, 0.0, -R), 0.0, lng, lat, rad);
    EXPECT_NEAR(lat, -kPi / 2, 1e-15);

    // Longitudes stay within -pi..pi: just south of -x is near 180 W, and a
    // rotation angle of nearly a full turn does not push the result out.
    EquatorialFromRelative(_V(-R, -1.0, 0.0), 0.0, lng, lat, rad);
    EXPECT_NEAR(lng, -kPi, 1e-6);
    EquatorialFromRelative(_V(-R, 1.0, 0.0), 0.0, lng, lat, rad);
    EXPECT_NEAR(lng, kPi, 1e-6);
    EquatorialFromRelative(_V(0.0, -R, 0.0), 6.0, lng, lat, rad);
    EXPECT_NEAR(lng, -kPi / 2 - 6.0 + kTwoPi, 1e-12);
}

TEST(Frames, EquatorialRelativeRoundTrip)
{
    for (double rot : {0.0, 1.0, 3.5, 6.2}) {
        for (double lngDeg = -175.0; lngDeg < 180.0; lngDeg += 25.0) {
            for (double latDeg : {-89.0, -45.0, 0.0, 30.0, 89.9}) {
                double lngIn = DegreesToRadians(lngDeg), latIn = DegreesToRadians(latDeg);
                double radIn = kEarthRadius + 400e3;
                VECTOR3 rel = RelativeFromEquatorial(lngIn, latIn, radIn, rot);
                EXPECT_NEAR(length(rel), radIn, 1e-6);
                double lng, lat, rad;
                EquatorialFromRelative(rel, rot, lng, lat, rad);
                EXPECT_LT(AngleError(lng, lngIn), 1e-12);
                EXPECT_NEAR(lat, latIn, 1e-12);
                EXPECT_NEAR(rad, radIn, 1e-6);
                EXPECT_GE(lng, -kPi);
                EXPECT_LE(lng, kPi);
                ExpectVectorNear(rel, RelativeFromEquatorial(lng, lat, rad, rot), 1e-6);
            }
        }
    }
}

TEST(Frames, CorotationVelocity)
{
    // On the equator: 2 pi R / T = 464.58 m/s, towards the east.
    const double equatorSpeed = kTwoPi * kEarthRadius / kEarthSiderealPeriod;
    EXPECT_NEAR(equatorSpeed, 464.58, 0.01);
    for (double lngDeg : {0.0, 90.0, -120.0}) {
        VECTOR3 rel = RelativeFromEquatorial(DegreesToRadians(lngDeg), 0.0, kEarthRadius, 0.3);
        VECTOR3 north, east, up;
        LocalHorizon(rel, north, east, up);
        ExpectVectorNear(east * equatorSpeed, CorotationVelocity(rel, kEarthSiderealPeriod), 1e-9);
    }
    // At 60 N the circle of latitude is half as long; at the pole it is a point.
    VECTOR3 rel60 = RelativeFromEquatorial(0.5, DegreesToRadians(60.0), kEarthRadius, 0.0);
    EXPECT_NEAR(length(CorotationVelocity(rel60, kEarthSiderealPeriod)), equatorSpeed / 2, 1e-9);
    EXPECT_EQ(length(CorotationVelocity(_V(0.0, 0.0, kEarthRadius), kEarthSiderealPeriod)), 0.0);
}

TEST(Frames, LocalHorizon)
{
    VECTOR3 north, east, up;

    // Longitude 0, latitude 0 at rotation angle 0.
    LocalHorizon(_V(kEarthRadius, 0.0, 0.0), north, east, up);
    ExpectVectorNear(_V(0.0, 0.0, 1.0), north, 1e-15);
    ExpectVectorNear(_V(0.0, 1.0, 0.0), east, 1e-15);
    ExpectVectorNear(_V(1.0, 0.0, 0.0), up, 1e-15);

    // Over +y at 45 N: east is -x, north tilts from +z towards -y.
    const double h = std::sqrt(0.5);
    LocalHorizon(_V(0.0, 3.0, 3.0), north, east, up);
    ExpectVectorNear(_V(0.0, -h, h), north, 1e-15);
    ExpectVectorNear(_V(-1.0, 0.0, 0.0), east, 1e-15);
    ExpectVectorNear(_V(0.0, h, h), up, 1e-15);

    // Anywhere: north and east are the directions in which latitude and
    // longitude grow (finite differences), and the frame is orthonormal.
    const double step = 1e-7;
    for (double lng : {-3.0, -1.0, 0.4, 2.5}) {
        for (double lat : {-1.5, -0.7, 0.0, 0.9, 1.5}) {
            VECTOR3 rel = RelativeFromEquatorial(lng, lat, kEarthRadius, 0.0);
            LocalHorizon(rel, north, east, up);
            VECTOR3 towardsNorth = unit(RelativeFromEquatorial(lng, lat + step, kEarthRadius, 0.0) - rel);
            VECTOR3 towardsEast = unit(RelativeFromEquatorial(lng + step, lat, kEarthRadius, 0.0) - rel);
            ExpectVectorNear(towardsNorth, north, 1e-6);
            ExpectVectorNear(towardsEast, east, 1e-6);
            ExpectVectorNear(unit(rel), up, 1e-15);
            EXPECT_NEAR(dot(north, east), 0.0, 1e-15);
            EXPECT_NEAR(length(north), 1.0, 1e-15);
            EXPECT_NEAR(length(east), 1.0, 1e-15);
        }
    }

    // On the polar axis and at the centre: a defined orthonormal frame with
    // up away from the centre (or +z) and no NaN.
    for (VECTOR3 rel : {_V(0.0, 0.0, kEarthRadius), _V(0.0, 0.0, -kEarthRadius), _V(0.0, 0.0, 0.0)}) {
        LocalHorizon(rel, north, east, up);
        ExpectVectorNear(rel.z < 0.0 ? _V(0.0, 0.0, -1.0) : _V(0.0, 0.0, 1.0), up, 0.0);
        for (const VECTOR3 &v : {north, east, up})
            EXPECT_NEAR(length(v), 1.0, 1e-15);
        EXPECT_NEAR(dot(north, east), 0.0, 1e-15);
        EXPECT_NEAR(dot(north, up), 0.0, 1e-15);
        EXPECT_NEAR(dot(east, up), 0.0, 1e-15);
    }
}

} // namespace
} // namespace headless
