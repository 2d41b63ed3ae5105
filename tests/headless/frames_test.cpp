#include "headless/frames.h"

#include <cmath>
#include <initializer_list>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

constexpr double kEarthRadius = 6371010.0; // m

// Earth as the simulator's configuration gives it.
PlanetRotation Earth()
{
    PlanetRotation rot;
    rot.obliquityRad = 0.4090928023;
    rot.equatorNodeRad = 0.0;
    rot.equatorNodeMjd = 51544.5;
    rot.rotationOffsetRad = 4.88948754;
    rot.siderealPeriodSeconds = 86164.10132;
    rot.precessionPeriodDays = -9413040.4;
    return rot;
}

double AngleError(double a, double b) { return std::fabs(std::remainder(a - b, kTwoPi)); }

void ExpectVectorNear(const VECTOR3 &expected, const VECTOR3 &actual, double tol)
{
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

void ExpectMatrixNear(const MATRIX3 &expected, const MATRIX3 &actual, double tol)
{
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(actual.data[k], expected.data[k], tol) << "element " << k;
}

// The simulator's rotation about its y axis, as its documentation writes it
// for both the node and the rotation angle.
MATRIX3 SimulatorRy(double a)
{
    MATRIX3 m = {{std::cos(a), 0, -std::sin(a), 0, 1, 0, std::sin(a), 0, std::cos(a)}};
    return m;
}

TEST(Frames, TheSimulatorsFrameIsTheInternalOneWithYAndZSwapped)
{
    // The ecliptic north pole is the simulator's +y and the internal +Z.
    ExpectVectorNear(_V(0, 0, 1), FromSimulatorFrame(_V(0, 1, 0)), 0.0);
    ExpectVectorNear(_V(1, 3, 2), ToSimulatorFrame(_V(1, 2, 3)), 0.0);
    ExpectVectorNear(_V(4, -5, 6), FromSimulatorFrame(ToSimulatorFrame(_V(4, -5, 6))), 0.0);

    // A right-handed turn about the internal Z (the ecliptic pole) is the
    // simulator's documented rotation about its y axis.
    for (double a : {0.3, 2.0, -1.1})
        ExpectMatrixNear(SimulatorRy(a), ToSimulatorFrame(RotationZ(a)), 1e-15);
    MATRIX3 m = mul(RotationX(0.4), RotationZ(1.3));
    ExpectMatrixNear(m, FromSimulatorFrame(ToSimulatorFrame(m)), 0.0);
}

TEST(Frames, EarthsRotationAngleAndNode)
{
    const PlanetRotation earth = Earth();
    // At J2000 the angle is SidRotOffset and the node is LAN.
    EXPECT_NEAR(RotationAngle(earth, 51544.5), 4.88948754, 1e-12);
    EXPECT_EQ(EquatorNode(earth, 51544.5), 0.0);
    // One sidereal period later: one turn, plus the node's motion over that
    // day (2 pi 0.99727 / -9413040.4 rad) times cos(obliquity).
    EXPECT_NEAR(RotationAngle(earth, 51544.5 + 86164.10132 / 86400.0), 4.889488150727825, 1e-10);
    // The dates of the station scenario and of late 2025 (independent
    // evaluation of the model).
    EXPECT_NEAR(RotationAngle(earth, 51982.0975169074), 3.605248123058198, 1e-8);
    EXPECT_NEAR(EquatorNode(earth, 51982.0975169074), -0.0002920954518256239, 1e-15);
    EXPECT_NEAR(RotationAngle(earth, 61000.0), 1.0444059650872148, 1e-7);
    for (double mjd = 40000.0; mjd < 70000.0; mjd += 1234.567) {
        double angle = RotationAngle(earth, mjd);
        EXPECT_GE(angle, 0.0);
        EXPECT_LT(angle, kTwoPi);
    }
    // Without precession there is no correction.
    PlanetRotation still = earth;
    still.precessionPeriodDays = 0.0;
    EXPECT_LT(AngleError(RotationAngle(still, 51544.5 + 2.25 * 86164.10132 / 86400.0), 4.88948754 + kPi / 2), 1e-9);
}

TEST(Frames, PlanetOrientationIsTheSimulatorsObliquityMatrixTimesItsRotation)
{
    const PlanetRotation earth = Earth();
    for (double mjd : {51544.5, 51982.0975169074, 61000.0}) {
        SCOPED_TRACE(mjd);
        double theta = EquatorNode(earth, mjd), omega = RotationAngle(earth, mjd);
        double c = std::cos(0.4090928023), s = std::sin(0.4090928023);
        MATRIX3 obliquity = {{1, 0, 0, 0, c, -s, 0, s, c}};
        MATRIX3 ra = mul(SimulatorRy(theta), obliquity);
        ExpectMatrixNear(ra, ToSimulatorFrame(EquatorialOrientation(earth, mjd)), 1e-15);
        ExpectMatrixNear(mul(ra, SimulatorRy(omega)), ToSimulatorFrame(PlanetOrientation(earth, mjd)), 1e-15);
    }

    // At J2000 the pole is at ecliptic longitude 90 deg, 23.44 deg from the
    // ecliptic pole, and the prime meridian on the equator points to
    // (cos w, sin w cos eps, -sin w sin eps) for w = 4.88948754.
    MATRIX3 r = PlanetOrientation(earth, 51544.5);
    ExpectVectorNear(_V(0, std::sin(0.4090928023), std::cos(0.4090928023)), column(r, 2), 1e-15);
    ExpectVectorNear(_V(0.17617426004162684, -0.9031317208642184, 0.3915555195213326), column(r, 0), 1e-12);
}

TEST(Frames, AngularVelocityMovesPlanetFixedPointsAndSpinsSidereally)
{
    // A planet whose axis precesses once in ten days, so that the node's
    // motion is a tenth of the spin and finite differences resolve it.
    PlanetRotation fast = Earth();
    fast.precessionPeriodDays = -10.0;
    const double mjd = 51544.8, dt = 1.0;
    VECTOR3 w = PlanetAngularVelocity(fast, mjd);
    for (VECTOR3 p : {_V(1, 0, 0), _V(0, 1, 0), _V(0, 0, 1), unit(_V(3, -4, 4))}) {
        VECTOR3 before = mul(PlanetOrientation(fast, mjd - dt / 86400.0), p);
        VECTOR3 after = mul(PlanetOrientation(fast, mjd + dt / 86400.0), p);
        VECTOR3 rate = (after - before) / (2 * dt);
        ExpectVectorNear(rate, cross(w, mul(PlanetOrientation(fast, mjd), p)), 1e-10);
    }
    // The spin about the axis is one turn per SidRotPeriod in inertial
    // space, whatever the node does.
    for (const PlanetRotation &rot : {fast, Earth()}) {
        VECTOR3 axis = column(EquatorialOrientation(rot, mjd), 2);
        EXPECT_NEAR(dot(PlanetAngularVelocity(rot, mjd), axis), kTwoPi / 86164.10132, 1e-18);
    }
}

TEST(Frames, KnownEquatorialPositions)
{
    const MATRIX3 I = IdentityMatrix();
    const double R = kEarthRadius;
    double lng, lat, rad;

    // Longitude 0, latitude 0 of an unturned planet is on +x; east is +y.
    ExpectVectorNear(_V(R, 0.0, 0.0), RelativeFromEquatorial(0.0, 0.0, R, I), 1e-6);
    EquatorialFromRelative(_V(R, 0.0, 0.0), I, lng, lat, rad);
    EXPECT_NEAR(lng, 0.0, 1e-15);
    EXPECT_NEAR(lat, 0.0, 1e-15);
    EXPECT_NEAR(rad, R, 1e-6);
    ExpectVectorNear(_V(0.0, R, 0.0), RelativeFromEquatorial(kPi / 2, 0.0, R, I), 1e-6);

    // After a quarter turn the prime meridian is on +y and +x is at 90 W.
    ExpectVectorNear(_V(0.0, R, 0.0), RelativeFromEquatorial(0.0, 0.0, R, RotationZ(kPi / 2)), 1e-6);
    EquatorialFromRelative(_V(R, 0.0, 0.0), RotationZ(kPi / 2), lng, lat, rad);
    EXPECT_NEAR(lng, -kPi / 2, 1e-15);

    // Latitude 45 N and the poles.
    EquatorialFromRelative(_V(1.0, 0.0, 1.0), I, lng, lat, rad);
    EXPECT_NEAR(lat, kPi / 4, 1e-15);
    EXPECT_NEAR(rad, std::sqrt(2.0), 1e-15);
    EquatorialFromRelative(_V(0.0, 0.0, -R), I, lng, lat, rad);
    EXPECT_NEAR(lat, -kPi / 2, 1e-15);

    // Earth's north pole at J2000 is at internal (0, sin eps, cos eps).
    MATRIX3 earth = PlanetOrientation(Earth(), 51544.5);
    EquatorialFromRelative(_V(0.0, R * std::sin(0.4090928023), R * std::cos(0.4090928023)), earth, lng, lat, rad);
    EXPECT_NEAR(lat, kPi / 2, 1e-7);

    // Longitudes stay within -pi..pi.
    EquatorialFromRelative(_V(-R, -1.0, 0.0), I, lng, lat, rad);
    EXPECT_NEAR(lng, -kPi, 1e-6);
    EquatorialFromRelative(_V(-R, 1.0, 0.0), I, lng, lat, rad);
    EXPECT_NEAR(lng, kPi, 1e-6);
}

TEST(Frames, EquatorialRelativeRoundTrip)
{
    const PlanetRotation earth = Earth();
    for (double mjd : {51544.5, 51982.1, 60650.3, 61000.0}) {
        MATRIX3 orientation = PlanetOrientation(earth, mjd);
        for (double lngDeg = -175.0; lngDeg < 180.0; lngDeg += 25.0) {
            for (double latDeg : {-89.0, -45.0, 0.0, 30.0, 89.9}) {
                double lngIn = DegreesToRadians(lngDeg), latIn = DegreesToRadians(latDeg);
                double radIn = kEarthRadius + 400e3;
                VECTOR3 rel = RelativeFromEquatorial(lngIn, latIn, radIn, orientation);
                EXPECT_NEAR(length(rel), radIn, 1e-6);
                double lng, lat, rad;
                EquatorialFromRelative(rel, orientation, lng, lat, rad);
                EXPECT_LT(AngleError(lng, lngIn), 1e-12);
                EXPECT_NEAR(lat, latIn, 1e-12);
                EXPECT_NEAR(rad, radIn, 1e-6);
                EXPECT_GE(lng, -kPi);
                EXPECT_LE(lng, kPi);
            }
        }
    }
}

TEST(Frames, CorotationVelocity)
{
    // On the equator: 2 pi R / T = 464.58 m/s, towards the east.
    const PlanetRotation earth = Earth();
    const double equatorSpeed = kTwoPi * kEarthRadius / 86164.10132;
    EXPECT_NEAR(equatorSpeed, 464.58, 0.01);
    MATRIX3 orientation = PlanetOrientation(earth, 60650.5);
    VECTOR3 w = PlanetAngularVelocity(earth, 60650.5);
    for (double lngDeg : {0.0, 90.0, -120.0}) {
        VECTOR3 rel = RelativeFromEquatorial(DegreesToRadians(lngDeg), 0.0, kEarthRadius, orientation);
        VECTOR3 north, east, up;
        LocalHorizon(rel, orientation, north, east, up);
        // The node's motion adds at most 2 pi R / 9413040.4 d = 5e-5 m/s.
        ExpectVectorNear(east * equatorSpeed, CorotationVelocity(rel, w), 1e-4);
    }
    // At 60 N the circle of latitude is half as long.
    VECTOR3 rel60 = RelativeFromEquatorial(0.5, DegreesToRadians(60.0), kEarthRadius, orientation);
    EXPECT_NEAR(length(CorotationVelocity(rel60, w)), equatorSpeed / 2, 1e-4);
}

TEST(Frames, LocalHorizon)
{
    const MATRIX3 I = IdentityMatrix();
    VECTOR3 north, east, up;

    // Longitude 0, latitude 0 of an unturned planet.
    LocalHorizon(_V(kEarthRadius, 0.0, 0.0), I, north, east, up);
    ExpectVectorNear(_V(0.0, 0.0, 1.0), north, 1e-15);
    ExpectVectorNear(_V(0.0, 1.0, 0.0), east, 1e-15);
    ExpectVectorNear(_V(1.0, 0.0, 0.0), up, 1e-15);

    // Over +y at 45 N: east is -x, north tilts from +z towards -y.
    const double h = std::sqrt(0.5);
    LocalHorizon(_V(0.0, 3.0, 3.0), I, north, east, up);
    ExpectVectorNear(_V(0.0, -h, h), north, 1e-15);
    ExpectVectorNear(_V(-1.0, 0.0, 0.0), east, 1e-15);
    ExpectVectorNear(_V(0.0, h, h), up, 1e-15);

    // On a turned and tilted planet: north and east are the directions in
    // which latitude and longitude grow (finite differences), and the frame
    // is orthonormal.
    const MATRIX3 orientation = PlanetOrientation(Earth(), 61000.0);
    const double step = 1e-7;
    for (double lng : {-3.0, -1.0, 0.4, 2.5}) {
        for (double lat : {-1.5, -0.7, 0.0, 0.9, 1.5}) {
            VECTOR3 rel = RelativeFromEquatorial(lng, lat, kEarthRadius, orientation);
            LocalHorizon(rel, orientation, north, east, up);
            VECTOR3 towardsNorth = unit(RelativeFromEquatorial(lng, lat + step, kEarthRadius, orientation) - rel);
            VECTOR3 towardsEast = unit(RelativeFromEquatorial(lng + step, lat, kEarthRadius, orientation) - rel);
            ExpectVectorNear(towardsNorth, north, 1e-6);
            ExpectVectorNear(towardsEast, east, 1e-6);
            ExpectVectorNear(unit(rel), up, 1e-15);
            EXPECT_NEAR(dot(north, east), 0.0, 1e-15);
        }
    }

    // On the axis and at the centre: a defined orthonormal frame with up
    // along the axis, and no NaN.
    VECTOR3 axis = column(orientation, 2);
    for (VECTOR3 rel : {axis * kEarthRadius, axis * -kEarthRadius, _V(0.0, 0.0, 0.0)}) {
        LocalHorizon(rel, orientation, north, east, up);
        ExpectVectorNear(dot(rel, axis) < 0.0 ? -axis : axis, up, 1e-15);
        for (const VECTOR3 &v : {north, east, up})
            EXPECT_NEAR(length(v), 1.0, 1e-15);
        EXPECT_NEAR(dot(north, east), 0.0, 1e-15);
        EXPECT_NEAR(dot(north, up), 0.0, 1e-15);
        EXPECT_NEAR(dot(east, up), 0.0, 1e-15);
    }
}

} // namespace
} // namespace headless
