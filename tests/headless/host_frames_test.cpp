// The host's frame functions as a module sees them: the simulator's
// left-handed ecliptic frame, its planet orientation functions, equatorial
// coordinates and vessel attitude, checked against the simulator's own
// formulas and hand calculations.

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "VesselAPI.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kObliquity = 0.4090928023;
constexpr double kRotationAtJ2000 = 4.88948754;

double Dot(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Length(const VECTOR3 &a) { return std::sqrt(Dot(a, a)); }
VECTOR3 Minus(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
VECTOR3 Cross(const VECTOR3 &a, const VECTOR3 &b)
{
    return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

MATRIX3 Product(const MATRIX3 &a, const MATRIX3 &b)
{
    MATRIX3 m = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                m.data[3 * i + j] += a.data[3 * i + k] * b.data[3 * k + j];
    return m;
}

// The matrices of the simulator's documentation of oapiGetPlanetObliquityMatrix.
MATRIX3 SdkRy(double a)
{
    MATRIX3 m = {{std::cos(a), 0, -std::sin(a), 0, 1, 0, std::sin(a), 0, std::cos(a)}};
    return m;
}
MATRIX3 SdkRx(double a)
{
    MATRIX3 m = {{1, 0, 0, 0, std::cos(a), -std::sin(a), 0, std::sin(a), std::cos(a)}};
    return m;
}

void ExpectMatrixNear(const MATRIX3 &expected, const MATRIX3 &actual, double tol)
{
    for (int k = 0; k < 9; ++k)
        EXPECT_NEAR(actual.data[k], expected.data[k], tol) << "element " << k;
}

void ExpectVectorNear(const VECTOR3 &expected, const VECTOR3 &actual, double tol)
{
    EXPECT_NEAR(actual.x, expected.x, tol);
    EXPECT_NEAR(actual.y, expected.y, tol);
    EXPECT_NEAR(actual.z, expected.z, tol);
}

class HostFramesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        headless::World::instance().reset();
        char earthName[] = "Earth", moonName[] = "Moon";
        earth = oapiGetObjectByName(earthName);
        moon = oapiGetObjectByName(moonName);
    }
    void TearDown() override { headless::World::instance().reset(); }

    Vessel *add(const char *name, std::initializer_list<const char *> lines)
    {
        auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, "ProjectAlpha_ISS"));
        v->makeGenericInterface();
        for (const char *line : lines)
            EXPECT_TRUE(v->parseLine(line)) << line;
        v->finishLoading(headless::World::instance().mjd());
        return v;
    }

    OBJHANDLE earth = nullptr, moon = nullptr;
};

TEST_F(HostFramesTest, EarthsOrientationAtJ2000IsTheSimulatorsFormula)
{
    EXPECT_EQ(oapiGetPlanetObliquity(earth), kObliquity);
    EXPECT_NEAR(oapiGetPlanetCurrentRotation(earth), kRotationAtJ2000, 1e-12);
    EXPECT_EQ(oapiGetPlanetPeriod(earth), 86164.10132);
    // LAN = 0: R_a is the obliquity factor alone; R = R_a Ry(omega).
    MATRIX3 ra;
    oapiGetPlanetObliquityMatrix(earth, &ra);
    ExpectMatrixNear(SdkRx(kObliquity), ra, 1e-15);
    MATRIX3 r;
    oapiGetRotationMatrix(earth, &r);
    ExpectMatrixNear(Product(SdkRx(kObliquity), SdkRy(kRotationAtJ2000)), r, 1e-15);

    // The north pole is (0, cos eps, sin eps), 23.44 deg from the ecliptic
    // pole +y; the point of longitude and latitude 0 is R (1, 0, 0) =
    // (cos w, -sin eps sin w, cos eps sin w) for w = 4.88948754.
    const double R = 6371010.0;
    VECTOR3 pole, origin;
    oapiEquToGlobal(earth, 0.0, kPi / 2, R, &pole);
    ExpectVectorNear(_V(0, R * std::cos(kObliquity), R * std::sin(kObliquity)), pole, 1e-6);
    oapiEquToGlobal(earth, 0.0, 0.0, R, &origin);
    ExpectVectorNear(_V(0.17617426004162684 * R, 0.3915555195213326 * R, -0.9031317208642184 * R), origin, 1e-6);

    // Anything that is not a planet: no obliquity, no rotation, identity.
    Vessel *v = add("V", {"STATUS Landed Earth"});
    EXPECT_EQ(oapiGetPlanetObliquity(v->handle()), 0.0);
    EXPECT_EQ(oapiGetPlanetCurrentRotation(nullptr), 0.0);
    oapiGetPlanetObliquityMatrix(v->handle(), &ra);
    ExpectMatrixNear(MATRIX3{{1, 0, 0, 0, 1, 0, 0, 0, 1}}, ra, 0.0);
}

TEST_F(HostFramesTest, EquatorialAndGlobalCoordinatesAreInverse)
{
    headless::World::instance().setStartMjd(61000.0);
    for (double lngDeg = -170.0; lngDeg < 180.0; lngDeg += 40.0)
        for (double latDeg : {-80.0, -30.0, 0.0, 45.0, 89.0}) {
            VECTOR3 glob;
            oapiEquToGlobal(earth, lngDeg * kDeg, latDeg * kDeg, 7e6, &glob);
            double lng, lat, rad;
            oapiGlobalToEqu(earth, glob, &lng, &lat, &rad);
            EXPECT_NEAR(lng, lngDeg * kDeg, 1e-12);
            EXPECT_NEAR(lat, latDeg * kDeg, 1e-12);
            EXPECT_NEAR(rad, 7e6, 1e-6);
        }
    // A landed vessel is where the planet's coordinates put it.
    Vessel *pad = add("Pad", {"STATUS Landed Earth", "POS -80.6 28.5"});
    VECTOR3 expected, actual;
    oapiEquToGlobal(earth, -80.6 * kDeg, 28.5 * kDeg, 6371010.0, &expected);
    oapiGetGlobalPos(pad->handle(), &actual);
    ExpectVectorNear(expected, actual, 1e-6);
}

TEST_F(HostFramesTest, StationStateInTheEclipticFrameAndItsEquatorialElements)
{
    // The station scenario's state: in the simulator's frame y is the
    // ecliptic pole. By hand (swap y and z, h = r x v): 74.51 deg to the
    // ecliptic with its node at 169.03 deg, and with the equator's pole at
    // (0, sin eps, cos eps) cos i = 0.6213, i = 51.59 deg to the equator.
    headless::World::instance().setStartMjd(51982.0975169074);
    Vessel *iss = add("ISS", {"STATUS Orbiting Earth", "RPOS 4770488.27 4245945.37 -2122703.08",
                              "RVEL 5242.970 -5610.802 567.655"});
    VECTOR3 pos, vel;
    oapiGetGlobalPos(iss->handle(), &pos);
    oapiGetRelativeVel(iss->handle(), earth, &vel);
    ExpectVectorNear(_V(4770488.27, 4245945.37, -2122703.08), pos, 1e-6); // Earth is the origin
    ExpectVectorNear(_V(5242.970, -5610.802, 567.655), vel, 1e-9);
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(iss->iface->GetElements(earth, el, &prm, 0, FRAME_ECL));
    EXPECT_NEAR(el.i / kDeg, 74.513, 0.001);
    EXPECT_NEAR(el.theta / kDeg, 169.034, 0.001);
    ASSERT_TRUE(iss->iface->GetElements(earth, el, &prm, 0, FRAME_EQU));
    EXPECT_NEAR(el.i / kDeg, 51.59, 0.02);
    // 359 km up, 7.70 km/s.
    EXPECT_NEAR(iss->iface->GetAltitude(), 358884.4, 0.1);
}

TEST_F(HostFramesTest, VesselAttitudeIsTheScenariosAndItsMatrix)
{
    Vessel *v = add("V", {"STATUS Orbiting Earth", "RPOS 7000000 0 0", "RVEL 0 0 7500", "AROT 10 -35 80"});
    VECTOR3 arot;
    v->iface->GetGlobalOrientation(arot);
    EXPECT_NEAR(arot.x, 10 * kDeg, 1e-12);
    EXPECT_NEAR(arot.y, -35 * kDeg, 1e-12);
    EXPECT_NEAR(arot.z, 80 * kDeg, 1e-12);
    // The matrix of the simulator's documentation: R = Rx'(a) Ry'(b) Rz'(g)
    // with Rx'(a) = [1 0 0; 0 ca sa; 0 -sa ca] and so on.
    double a = 10 * kDeg, b = -35 * kDeg, g = 80 * kDeg;
    MATRIX3 rx = {{1, 0, 0, 0, std::cos(a), std::sin(a), 0, -std::sin(a), std::cos(a)}};
    MATRIX3 ry = {{std::cos(b), 0, -std::sin(b), 0, 1, 0, std::sin(b), 0, std::cos(b)}};
    MATRIX3 rz = {{std::cos(g), std::sin(g), 0, -std::sin(g), std::cos(g), 0, 0, 0, 1}};
    MATRIX3 r;
    oapiGetRotationMatrix(v->handle(), &r);
    ExpectMatrixNear(Product(rx, Product(ry, rz)), r, 1e-15);

    EXPECT_STREQ(v->iface->GetClassName(), "ProjectAlpha_ISS");
    EXPECT_EQ(v->iface->Version(), 2); // a VESSEL3
}

TEST_F(HostFramesTest, MoonTurnsBoundWithItsAxisByCassinisLaws)
{
    // The Moon's axis lies on the far side of the ecliptic pole from its
    // orbit's pole: 5.1454 + 1.5424 = 6.6878 deg from the orbit's pole.
    VECTOR3 moonPos, moonVel, axis, centre;
    oapiGetGlobalPos(moon, &moonPos);
    oapiGetRelativeVel(moon, earth, &moonVel);
    oapiEquToGlobal(moon, 0.0, kPi / 2, 1.0, &axis);
    axis = Minus(axis, moonPos);
    // The orbit's pole is r x v in right-handed terms; in the simulator's
    // left-handed components that is v x r.
    VECTOR3 orbitPole = Cross(moonVel, moonPos);
    double angle = std::acos(Dot(orbitPole, axis) / (Length(orbitPole) * Length(axis)));
    EXPECT_NEAR(angle / kDeg, 6.6878, 0.001);
    VECTOR3 eclipticPole = _V(0, 1, 0);
    EXPECT_NEAR(std::acos(Dot(orbitPole, eclipticPole) / Length(orbitPole)) / kDeg, 5.1454, 0.001);
    EXPECT_NEAR(std::acos(Dot(axis, eclipticPole) / Length(axis)) / kDeg, 1.5424, 0.001);

    // Longitude 0 faces Earth's mean direction (ecliptic longitude 38.3164
    // deg, seen from the Moon). At J2000 Earth stands off it by the Moon's
    // librations: in longitude the equation of the centre, 2 e sin M + 5/4
    // e^2 sin 2M = 4.235 deg for M = 134.96 deg; in latitude the Moon's own
    // 5.101 deg (argument of latitude 97.51 deg) on one side of the ecliptic
    // and its equator's 1.540 deg there on the other. The angle between
    // (4.235 deg, -5.101 deg) and (0, 1.540 deg) is 7.87 deg.
    oapiGetGlobalPos(earth, &centre);
    VECTOR3 nearSide;
    oapiEquToGlobal(moon, 0.0, 0.0, 1.0, &nearSide);
    nearSide = Minus(nearSide, moonPos);
    VECTOR3 towardsEarth = Minus(centre, moonPos);
    double off = std::acos(Dot(nearSide, towardsEarth) / (Length(nearSide) * Length(towardsEarth)));
    EXPECT_NEAR(off / kDeg, 7.87, 0.05);
}

} // namespace
