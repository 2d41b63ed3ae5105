#include "headless/attitude.h"

#include <cmath>
#include <initializer_list>
#include <random>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

VECTOR3 Column(const MATRIX3 &m, int k) { return _V(m.data[k], m.data[3 + k], m.data[6 + k]); }

// The proper rotation whose forward (column 2) and up (column 1) axes are
// given; column 0 completes it as up x forward.
MATRIX3 FromForwardUp(const VECTOR3 &forward, const VECTOR3 &up)
{
    VECTOR3 x = cross(up, forward);
    MATRIX3 m;
    for (int row = 0; row < 3; ++row) {
        m.data[3 * row] = x.data[row];
        m.data[3 * row + 1] = up.data[row];
        m.data[3 * row + 2] = forward.data[row];
    }
    return m;
}

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

void ExpectProperRotation(const MATRIX3 &m, double tol)
{
    VECTOR3 x = Column(m, 0), y = Column(m, 1), z = Column(m, 2);
    EXPECT_NEAR(length(x), 1.0, tol);
    EXPECT_NEAR(length(y), 1.0, tol);
    EXPECT_NEAR(length(z), 1.0, tol);
    EXPECT_NEAR(dot(x, y), 0.0, tol);
    EXPECT_NEAR(dot(y, z), 0.0, tol);
    EXPECT_NEAR(dot(z, x), 0.0, tol);
    EXPECT_NEAR(dot(cross(x, y), z), 1.0, tol);
}

double AngleError(double a, double b) { return std::fabs(std::remainder(a - b, kTwoPi)); }

TEST(Attitude, EulerAngles)
{
    const MATRIX3 identity = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    ExpectMatrixNear(identity, RotationFromEuler(_V(0, 0, 0)), 0.0);
    ExpectVectorNear(_V(0, 0, 0), EulerFromRotation(identity), 0.0);

    // Quarter turns about single global axes: Rx(90) takes y to z, Ry(90)
    // takes z to x, Rz(90) takes x to y.
    const double q = kPi / 2;
    ExpectVectorNear(_V(0, 0, 1), Column(RotationFromEuler(_V(q, 0, 0)), 1), 1e-15);
    ExpectVectorNear(_V(0, -1, 0), Column(RotationFromEuler(_V(q, 0, 0)), 2), 1e-15);
    ExpectVectorNear(_V(1, 0, 0), Column(RotationFromEuler(_V(0, q, 0)), 2), 1e-15);
    ExpectVectorNear(_V(0, 0, -1), Column(RotationFromEuler(_V(0, q, 0)), 0), 1e-15);
    ExpectVectorNear(_V(0, 1, 0), Column(RotationFromEuler(_V(0, 0, q)), 0), 1e-15);

    // Rx(90) Ry(90): Ry first takes x to -z, then Rx takes -z to +y; the
    // other order would leave x at -z.
    MATRIX3 both = RotationFromEuler(_V(q, q, 0));
    ExpectVectorNear(_V(0, 1, 0), Column(both, 0), 1e-15);
    ExpectVectorNear(_V(1, 0, 0), Column(both, 2), 1e-15);

    // Random angles away from gimbal lock come back unchanged.
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> turn(-kPi, kPi);
    std::uniform_real_distribution<double> tilt(-1.5, 1.5);
    for (int k = 0; k < 500; ++k) {
        VECTOR3 euler = _V(turn(rng), tilt(rng), turn(rng));
        MATRIX3 R = RotationFromEuler(euler);
        ExpectProperRotation(R, 1e-14);
        VECTOR3 back = EulerFromRotation(R);
        EXPECT_LT(AngleError(back.x, euler.x), 1e-12);
        EXPECT_NEAR(back.y, euler.y, 1e-12);
        EXPECT_LT(AngleError(back.z, euler.z), 1e-12);
    }

    // In gimbal lock the angles are not unique, but they still describe the
    // same orientation. The entries that cos(beta) = 0 makes zero are set to
    // exactly zero, as rounding would otherwise keep the lock from being exact.
    for (double beta : {q, -q}) {
        MATRIX3 R = RotationFromEuler(_V(0.3, beta, -0.7));
        R.m11 = R.m12 = R.m23 = R.m33 = 0.0;
        R.m13 = std::sin(beta);
        VECTOR3 back = EulerFromRotation(R);
        EXPECT_NEAR(back.y, beta, 1e-7);
        ExpectMatrixNear(R, RotationFromEuler(back), 1e-12);
    }
}

TEST(Attitude, IntegrateRotation)
{
    const MATRIX3 identity = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    const double q = kPi / 2;

    // 0.1 rad/s about z for pi/2 / 0.1 s is a quarter turn: x goes to y.
    MATRIX3 R = IntegrateRotation(identity, _V(0, 0, 0.1), q / 0.1);
    ExpectVectorNear(_V(0, 1, 0), Column(R, 0), 1e-12);
    ExpectVectorNear(_V(0, 0, 1), Column(R, 2), 1e-12);

    // A third of a turn about (1, 1, 1) cycles the axes: x to y, y to z.
    const double rate = 0.05;
    R = IntegrateRotation(identity, unit(_V(1, 1, 1)) * rate, kTwoPi / 3 / rate);
    ExpectVectorNear(_V(0, 1, 0), Column(R, 0), 1e-12);
    ExpectVectorNear(_V(0, 0, 1), Column(R, 1), 1e-12);

    // Rates are about the vessel's own axes: after Rx(90) the vessel's z axis
    // is global -y, and a quarter turn about it takes the vessel's x axis
    // from +x to +z.
    R = IntegrateRotation(RotationFromEuler(_V(q, 0, 0)), _V(0, 0, 1.0), q);
    ExpectVectorNear(_V(0, 0, 1), Column(R, 0), 1e-12);
    ExpectVectorNear(_V(0, -1, 0), Column(R, 2), 1e-12);

    // A constant rate in many small steps gives the same as one long step,
    // and backwards undoes forwards.
    const VECTOR3 avel = _V(0.02, -0.05, 0.01);
    const MATRIX3 start = RotationFromEuler(_V(0.4, -0.3, 2.0));
    MATRIX3 stepped = start;
    for (int k = 0; k < 1000; ++k)
        stepped = IntegrateRotation(stepped, avel, 0.1);
    ExpectMatrixNear(IntegrateRotation(start, avel, 100.0), stepped, 1e-12);
    ExpectMatrixNear(start, IntegrateRotation(IntegrateRotation(start, avel, 30.0), avel, -30.0), 1e-14);

    // Zero rate keeps the orientation; a slightly skewed matrix comes back
    // orthonormal with its forward axis kept.
    ExpectMatrixNear(start, IntegrateRotation(start, _V(0, 0, 0), 5.0), 1e-15);
    MATRIX3 skewed = start;
    skewed.m12 += 1e-3;
    skewed.m21 -= 2e-3;
    skewed.m33 *= 1.001;
    MATRIX3 fixed = IntegrateRotation(skewed, _V(0, 0, 0), 1.0);
    ExpectProperRotation(fixed, 1e-14);
    ExpectVectorNear(unit(Column(skewed, 2)), Column(fixed, 2), 1e-14);
}

TEST(Attitude, HorizonAttitude)
{
    const double d = kRadiansPerDegree;
    const double c30 = std::cos(30 * d), s30 = std::sin(30 * d);
    double pitch, yaw, bank;

    // At longitude 0, latitude 0 (on +x): north +z, east +y, up +x.
    const VECTOR3 rel = _V(6.4e6, 0, 0);
    const VECTOR3 N = _V(0, 0, 1), E = _V(0, 1, 0), U = _V(1, 0, 0);
    struct Case {
        const char *what;
        VECTOR3 forward, up;
        double pitchDeg, yawDeg, bankDeg;
    };
    const Case cases[] = {
        {"north, level", N, U, 0, 0, 0},
        {"east, level", E, U, 0, 90, 0},
        {"west, level", -E, U, 0, -90, 0},
        {"climbing 30 deg northwards", N * c30 + U * s30, U * c30 - N * s30, 30, 0, 0},
        {"diving 30 deg eastwards", E * c30 - U * s30, U * c30 + E * s30, -30, 90, 0},
        // Heading north the right wing points east; banking right tilts the top towards it.
        {"north, banked 30 deg right", N, U * c30 + E * s30, 0, 0, 30},
        // Heading east the right wing points south; banking left tilts the top north.
        {"east, banked 30 deg left", E, U * c30 + N * s30, 0, 90, -30},
        {"north, inverted", N, -U, 0, 0, 180},
        // Straight up or down after pitching from level northwards flight.
        {"nose up", U, -N, 90, 0, 0},
        {"nose down", -U, N, -90, 0, 0},
        {"nose up from eastwards flight", U, -E, 90, 90, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MATRIX3 R = FromForwardUp(c.forward, c.up);
        ExpectProperRotation(R, 1e-15);
        HorizonAttitude(R, rel, pitch, yaw, bank);
        EXPECT_NEAR(pitch, c.pitchDeg * d, 1e-12);
        EXPECT_LT(AngleError(yaw, c.yawDeg * d), 1e-12);
        EXPECT_LT(AngleError(bank, c.bankDeg * d), 1e-12);
    }

    // Heading south is +-180 deg, within -pi..pi.
    HorizonAttitude(FromForwardUp(-N, U), rel, pitch, yaw, bank);
    EXPECT_NEAR(std::fabs(yaw), kPi, 1e-12);

    // Elsewhere the horizon turns with the place: over +y at 45 N, north is
    // (0, -1, 1) / sqrt 2, east is -x and up is (0, 1, 1) / sqrt 2.
    const double h = std::sqrt(0.5);
    const VECTOR3 rel45 = _V(0, 4.5e6, 4.5e6);
    const VECTOR3 north45 = _V(0, -h, h), east45 = _V(-1, 0, 0), up45 = _V(0, h, h);
    HorizonAttitude(FromForwardUp(north45, up45), rel45, pitch, yaw, bank);
    EXPECT_NEAR(pitch, 0.0, 1e-12);
    EXPECT_NEAR(yaw, 0.0, 1e-12);
    EXPECT_NEAR(bank, 0.0, 1e-12);
    HorizonAttitude(FromForwardUp(east45 * c30 + up45 * s30, up45 * c30 - east45 * s30), rel45, pitch, yaw, bank);
    EXPECT_NEAR(pitch, 30 * d, 1e-12);
    EXPECT_NEAR(yaw, 90 * d, 1e-12);
    EXPECT_NEAR(bank, 0.0, 1e-12);

    // Identity orientation seen from the north pole: forward (+z) straight up.
    const MATRIX3 identity = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    HorizonAttitude(identity, _V(0, 0, 6.4e6), pitch, yaw, bank);
    EXPECT_NEAR(pitch, 90 * d, 1e-12);
    EXPECT_FALSE(std::isnan(yaw));
    EXPECT_EQ(bank, 0.0);
}

} // namespace
} // namespace headless
