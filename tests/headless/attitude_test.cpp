#include "headless/attitude.h"

#include <cmath>
#include <initializer_list>
#include <random>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

VECTOR3 Column(const MATRIX3 &m, int k) { return _V(m.data[k], m.data[3 + k], m.data[6 + k]); }

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

// The simulator's three factors of the attitude matrix, written out as its
// documentation prints them.
MATRIX3 SimulatorAttitude(double alpha, double beta, double gamma)
{
    double ca = std::cos(alpha), sa = std::sin(alpha), cb = std::cos(beta), sb = std::sin(beta);
    double cg = std::cos(gamma), sg = std::sin(gamma);
    const double a[3][3] = {{1, 0, 0}, {0, ca, sa}, {0, -sa, ca}};
    const double b[3][3] = {{cb, 0, -sb}, {0, 1, 0}, {sb, 0, cb}};
    const double g[3][3] = {{cg, sg, 0}, {-sg, cg, 0}, {0, 0, 1}};
    double ab[3][3] = {};
    MATRIX3 m = {};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                ab[i][j] += a[i][k] * b[k][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                m.data[3 * i + j] += ab[i][k] * g[k][j];
    return m;
}

TEST(Attitude, EulerAngles)
{
    const MATRIX3 identity = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    ExpectMatrixNear(identity, RotationFromEuler(_V(0, 0, 0)), 0.0);
    ExpectVectorNear(_V(0, 0, 0), EulerFromRotation(identity), 0.0);

    // Quarter turns of single factors: alpha = 90 deg takes the vessel's y
    // axis to global -z and its z axis to +y; beta = 90 deg takes x to +z and
    // z to -x; gamma = 90 deg takes x to -y.
    const double q = kPi / 2;
    ExpectVectorNear(_V(0, 0, -1), Column(RotationFromEuler(_V(q, 0, 0)), 1), 1e-15);
    ExpectVectorNear(_V(0, 1, 0), Column(RotationFromEuler(_V(q, 0, 0)), 2), 1e-15);
    ExpectVectorNear(_V(-1, 0, 0), Column(RotationFromEuler(_V(0, q, 0)), 2), 1e-15);
    ExpectVectorNear(_V(0, 0, 1), Column(RotationFromEuler(_V(0, q, 0)), 0), 1e-15);
    ExpectVectorNear(_V(0, -1, 0), Column(RotationFromEuler(_V(0, 0, q)), 0), 1e-15);

    // The alpha factor is applied last: alpha = beta = 90 deg takes x to +z
    // (beta) and then to +y (alpha).
    MATRIX3 both = RotationFromEuler(_V(q, q, 0));
    ExpectVectorNear(_V(0, 1, 0), Column(both, 0), 1e-15);
    ExpectVectorNear(_V(-1, 0, 0), Column(both, 2), 1e-15);

    // Random angles: the simulator's matrix, and the same angles back.
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> turn(-kPi, kPi);
    std::uniform_real_distribution<double> tilt(-1.5, 1.5);
    for (int k = 0; k < 500; ++k) {
        VECTOR3 euler = _V(turn(rng), tilt(rng), turn(rng));
        MATRIX3 R = RotationFromEuler(euler);
        ExpectMatrixNear(SimulatorAttitude(euler.x, euler.y, euler.z), R, 1e-15);
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
        R.m13 = -std::sin(beta);
        VECTOR3 back = EulerFromRotation(R);
        EXPECT_NEAR(back.y, beta, 1e-7);
        ExpectMatrixNear(R, RotationFromEuler(back), 1e-12);
    }
}

TEST(Attitude, AxesInTheInternalFrame)
{
    // Facing the equinox (internal +X) with the top towards the ecliptic
    // pole (internal +Z): the right wing points to internal -Y, the side of
    // ecliptic longitude 270 deg. In the simulator's components (y and z
    // swapped) the columns are right (0, 0, -1), up (0, 1, 0), forward (1, 0, 0).
    MATRIX3 R = RotationOfAxes(_V(1, 0, 0), _V(0, 0, 1));
    ExpectVectorNear(_V(0, 0, -1), Column(R, 0), 0.0);
    ExpectVectorNear(_V(0, 1, 0), Column(R, 1), 0.0);
    ExpectVectorNear(_V(1, 0, 0), Column(R, 2), 0.0);
    ExpectProperRotation(R, 1e-15);

    // Any orientation: the axes come back, the right axis is forward x up,
    // and the simulator's matrix is a proper rotation.
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> turn(-kPi, kPi);
    for (int k = 0; k < 100; ++k) {
        MATRIX3 any = RotationFromEuler(_V(turn(rng), turn(rng) / 2, turn(rng)));
        VesselAxes axes = AxesOfRotation(any);
        ExpectVectorNear(cross(axes.forward, axes.up), axes.right, 1e-14);
        ExpectMatrixNear(any, RotationOfAxes(axes.forward, axes.up), 1e-14);
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

    // Rates are about the vessel's own axes: with the vessel's z axis along
    // global +y and its y axis along -z, a quarter turn about its z axis
    // takes its x axis from +x to where its y axis was, -z.
    const MATRIX3 turnedUp = {{1, 0, 0, 0, 0, 1, 0, -1, 0}};
    R = IntegrateRotation(turnedUp, _V(0, 0, 1.0), q);
    ExpectVectorNear(_V(0, 0, -1), Column(R, 0), 1e-12);
    ExpectVectorNear(_V(0, 1, 0), Column(R, 2), 1e-12);

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
    const MATRIX3 identity = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    double pitch, yaw, bank;

    // A planet whose axes are the internal ones. At longitude 0, latitude 0
    // (on +x): north +z, east +y, up +x.
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
        HorizonAttitude(c.forward, c.up, rel, identity, pitch, yaw, bank);
        EXPECT_NEAR(pitch, c.pitchDeg * d, 1e-12);
        EXPECT_LT(AngleError(yaw, c.yawDeg * d), 1e-12);
        EXPECT_LT(AngleError(bank, c.bankDeg * d), 1e-12);
    }

    // Heading south is +-180 deg, within -pi..pi.
    HorizonAttitude(-N, U, rel, identity, pitch, yaw, bank);
    EXPECT_NEAR(std::fabs(yaw), kPi, 1e-12);

    // Elsewhere the horizon turns with the place: over +y at 45 N, north is
    // (0, -1, 1) / sqrt 2, east is -x and up is (0, 1, 1) / sqrt 2.
    const double h = std::sqrt(0.5);
    const VECTOR3 rel45 = _V(0, 4.5e6, 4.5e6);
    const VECTOR3 north45 = _V(0, -h, h), east45 = _V(-1, 0, 0), up45 = _V(0, h, h);
    HorizonAttitude(north45, up45, rel45, identity, pitch, yaw, bank);
    EXPECT_NEAR(pitch, 0.0, 1e-12);
    EXPECT_NEAR(yaw, 0.0, 1e-12);
    EXPECT_NEAR(bank, 0.0, 1e-12);
    HorizonAttitude(east45 * c30 + up45 * s30, up45 * c30 - east45 * s30, rel45, identity, pitch, yaw, bank);
    EXPECT_NEAR(pitch, 30 * d, 1e-12);
    EXPECT_NEAR(yaw, 90 * d, 1e-12);
    EXPECT_NEAR(bank, 0.0, 1e-12);

    // A planet whose axis is tilted by 23.44 deg from internal +z towards +y
    // (the obliquity rotation): at longitude 0, latitude 0 north is the
    // tilted pole (0, sin 23.44, cos 23.44) and east is (0, cos 23.44,
    // -sin 23.44), so the internal +z axis lies 23.44 deg west of north.
    const double eps = 23.44 * d;
    const MATRIX3 tilted = {{1, 0, 0, 0, std::cos(eps), std::sin(eps), 0, -std::sin(eps), std::cos(eps)}};
    const VECTOR3 pole = _V(0, std::sin(eps), std::cos(eps));
    HorizonAttitude(pole, U, rel, tilted, pitch, yaw, bank);
    EXPECT_NEAR(pitch, 0.0, 1e-12);
    EXPECT_NEAR(yaw, 0.0, 1e-12);
    HorizonAttitude(_V(0, 0, 1), U, rel, tilted, pitch, yaw, bank);
    EXPECT_NEAR(yaw, -eps, 1e-12);

    // Forward straight along the axis from the north pole: straight up.
    HorizonAttitude(_V(0, 0, 1), _V(0, 1, 0), _V(0, 0, 6.4e6), identity, pitch, yaw, bank);
    EXPECT_NEAR(pitch, 90 * d, 1e-12);
    EXPECT_FALSE(std::isnan(yaw));
    EXPECT_EQ(bank, 0.0);
}

} // namespace
} // namespace headless
