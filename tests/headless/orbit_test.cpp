#include "headless/orbit.h"

#include <cmath>
#include <cstring>

#include <gtest/gtest.h>

#include "headless/vecmath.h"

namespace headless {
namespace {

constexpr double kEarthMu = 3.986004418e14; // m^3/s^2
constexpr double kLeoRadius = 6771000.0;    // 400 km above a 6371 km Earth

// Period (s) of the circular 400 km orbit, 2 pi sqrt(a^3 / mu) worked out by hand.
constexpr double kLeoPeriod = 5544.855096;

double AngleError(double a, double b) { return std::fabs(std::remainder(a - b, kTwoPi)); }

double Period(double a) { return kTwoPi * std::sqrt(a * a * a / kEarthMu); }

double SpecificEnergy(const StateVector &s) { return 0.5 * dot(s.v, s.v) - kEarthMu / length(s.r); }

StateVector CircularEquatorial(double radius)
{
    return StateVector{_V(radius, 0.0, 0.0), _V(0.0, std::sqrt(kEarthMu / radius), 0.0)};
}

// Periapsis on +x, moving towards +y, for any conic with periapsis distance
// rp and eccentricity e: vis-viva gives v^2 = mu (1 + e) / rp there.
StateVector AtPeriapsis(double rp, double e)
{
    return StateVector{_V(rp, 0.0, 0.0), _V(0.0, std::sqrt(kEarthMu * (1.0 + e) / rp), 0.0)};
}

void ExpectSameState(const StateVector &expected, const StateVector &actual, double relTol)
{
    EXPECT_LT(length(actual.r - expected.r), relTol * length(expected.r));
    EXPECT_LT(length(actual.v - expected.v), relTol * length(expected.v));
}

TEST(OrbitElements, CircularEquatorialOrbit)
{
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(ElementsFromState(CircularEquatorial(kLeoRadius), kEarthMu, 60000.0, 60000.0, el, &prm));
    EXPECT_NEAR(el.a, kLeoRadius, 1e-6);
    EXPECT_LT(el.e, 1e-12);
    EXPECT_EQ(el.i, 0.0);
    EXPECT_EQ(el.theta, 0.0);
    EXPECT_EQ(el.omegab, 0.0);
    EXPECT_LT(AngleError(el.L, 0.0), 1e-12);
    EXPECT_NEAR(prm.T, kLeoPeriod, 1e-6);
    EXPECT_NEAR(prm.T, Period(kLeoRadius), 1e-9);
    EXPECT_NEAR(prm.PeD, kLeoRadius, 1e-4);
    EXPECT_NEAR(prm.ApD, kLeoRadius, 1e-4);
    EXPECT_NEAR(prm.SMi, kLeoRadius, 1e-4);
    EXPECT_LT(AngleError(prm.TrL, 0.0), 1e-12);
    EXPECT_LT(AngleError(prm.MnL, 0.0), 1e-12);

    // Mean longitude at a reference date a quarter period earlier: 90 deg behind.
    ASSERT_TRUE(ElementsFromState(CircularEquatorial(kLeoRadius), kEarthMu, 60000.0,
                                  60000.0 - kLeoPeriod / 4.0 / kSecondsPerDay, el, &prm));
    EXPECT_NEAR(el.L, 1.5 * kPi, 1e-9);

    // Equatorial up to rounding (i = 1.3e-13 rad): still no node, so the
    // angles run from the x axis rather than from a node set by the noise.
    StateVector nearlyEquatorial{_V(0.0, kLeoRadius, 0.0), _V(-std::sqrt(kEarthMu / kLeoRadius), 0.0, 1e-9)};
    ASSERT_TRUE(ElementsFromState(nearlyEquatorial, kEarthMu, 60000.0, 60000.0, el, &prm));
    EXPECT_EQ(el.theta, 0.0);
    EXPECT_EQ(el.omegab, 0.0);
    EXPECT_NEAR(prm.TrL, kPi / 2, 1e-12);

    // Polar circular orbit crossing the equator northwards at +y: node at 90 deg,
    // periapsis put at the node, the vessel at the node.
    double speed = std::sqrt(kEarthMu / kLeoRadius);
    StateVector polar{_V(0.0, kLeoRadius, 0.0), _V(0.0, 0.0, speed)};
    ASSERT_TRUE(ElementsFromState(polar, kEarthMu, 60000.0, 60000.0, el, &prm));
    EXPECT_NEAR(el.i, kPi / 2, 1e-12);
    EXPECT_NEAR(el.theta, kPi / 2, 1e-12);
    EXPECT_NEAR(el.omegab, kPi / 2, 1e-12);
    EXPECT_NEAR(prm.TrL, kPi / 2, 1e-12);
    EXPECT_NEAR(prm.MnL, kPi / 2, 1e-12);
}

TEST(OrbitElements, EllipseSecondaryParameters)
{
    const double a = 8.0e6, e = 0.2;
    ELEMENTS el;
    ORBITPARAM prm;
    ASSERT_TRUE(ElementsFromState(AtPeriapsis(a * (1 - e), e), kEarthMu, 0.0, 0.0, el, &prm));
    EXPECT_NEAR(el.a, a, 1e-6 * a);
    EXPECT_NEAR(el.e, e, 1e-12);
    EXPECT_NEAR(prm.PeD, 6.4e6, 1e-3);
    EXPECT_NEAR(prm.ApD, 9.6e6, 1e-3);
    EXPECT_NEAR(prm.SMi, a * std::sqrt(0.96), 1e-3);
    EXPECT_NEAR(prm.Lec, 1.6e6, 1e-3);
    EXPECT_LT(AngleError(prm.MnA, 0.0), 1e-12);
    EXPECT_LT(AngleError(prm.TrA, 0.0), 1e-12);
    EXPECT_LT(AngleError(prm.EcA, 0.0), 1e-12);
    EXPECT_NEAR(prm.ApT, Period(a) / 2, 1e-6);

    // A quarter period past periapsis: mean anomaly 90 deg, so the next
    // periapsis is 3/4 and the next apoapsis 1/4 of a period away. The
    // eccentric anomaly solves E - e sin E = pi/2 (E = 1.76696 rad, worked
    // out by fixed-point iteration), the true anomaly follows from it.
    ELEMENTS start = {a, e, 0.3, 1.0, 2.0, 2.0 + kPi / 2};
    StateVector s = StateFromElements(start, kEarthMu, 0.0, 0.0);
    ASSERT_TRUE(ElementsFromState(s, kEarthMu, 0.0, 0.0, el, &prm));
    EXPECT_NEAR(prm.PeT, 0.75 * Period(a), 1e-6);
    EXPECT_NEAR(prm.ApT, 0.25 * Period(a), 1e-6);
    double E = 1.7669606;
    EXPECT_NEAR(prm.EcA, E, 1e-6);
    EXPECT_NEAR(prm.TrA, 2.0 * std::atan(std::sqrt((1 + e) / (1 - e)) * std::tan(E / 2)), 1e-6);
    EXPECT_NEAR(length(s.r), a * (1 - e * std::cos(E)), 1e-6 * a);
    EXPECT_NEAR(prm.MnL, 2.0 + kPi / 2, 1e-12);
    EXPECT_NEAR(prm.TrL, 2.0 + prm.TrA, 1e-12);
}

TEST(OrbitElements, StateFromElementsGeometry)
{
    // Equatorial ellipse at periapsis: on the line of periapsis, at a (1 - e),
    // with the periapsis speed, perpendicular to the radius.
    const double a = 1.0e7, e = 0.3, lonPe = DegreesToRadians(75.0);
    StateVector s = StateFromElements(ELEMENTS{a, e, 0.0, 0.0, lonPe, lonPe}, kEarthMu, 0.0, 0.0);
    EXPECT_NEAR(s.r.x, 7.0e6 * std::cos(lonPe), 1e-3);
    EXPECT_NEAR(s.r.y, 7.0e6 * std::sin(lonPe), 1e-3);
    EXPECT_NEAR(s.r.z, 0.0, 1e-3);
    EXPECT_NEAR(length(s.v), std::sqrt(kEarthMu * 1.3 / 7.0e6), 1e-6);
    EXPECT_NEAR(dot(s.r, s.v), 0.0, 1e-3);
    EXPECT_GT(cross(s.r, s.v).z, 0.0);

    // Polar circular orbit with its node on +x, a quarter turn past the node:
    // over the north pole, heading back towards -x.
    const double r = 7.0e6;
    s = StateFromElements(ELEMENTS{r, 0.0, kPi / 2, 0.0, 0.0, kPi / 2}, kEarthMu, 0.0, 0.0);
    EXPECT_LT(length(s.r - _V(0.0, 0.0, r)), 1e-3);
    EXPECT_LT(length(s.v - _V(-std::sqrt(kEarthMu / r), 0.0, 0.0)), 1e-6);

    // The mean longitude advances at the mean motion between epoch and date.
    StateVector later = StateFromElements(ELEMENTS{r, 0.0, 0.0, 0.0, 0.0, 0.0}, kEarthMu, 0.0,
                                          Period(r) / 4.0 / kSecondsPerDay);
    EXPECT_LT(length(later.r - _V(0.0, r, 0.0)), 1e-3);
}

TEST(OrbitElements, RoundTripThroughState)
{
    struct Case {
        ELEMENTS el;
        ELEMENTS expected; // after the conventions for degenerate orbits
    };
    const double d = kRadiansPerDegree;
    const Case cases[] = {
        // Low inclined orbit.
        {{7.0e6, 0.01, 51.6 * d, 30 * d, 100 * d, 200 * d}, {7.0e6, 0.01, 51.6 * d, 30 * d, 100 * d, 200 * d}},
        // Highly eccentric orbit.
        {{2.6e7, 0.7, 63.4 * d, 250 * d, 10 * d, 5 * d}, {2.6e7, 0.7, 63.4 * d, 250 * d, 10 * d, 5 * d}},
        // Retrograde orbit, mean longitude just short of a full turn.
        {{9.0e6, 0.5, 150 * d, 330 * d, 30 * d, 359 * d}, {9.0e6, 0.5, 150 * d, 330 * d, 30 * d, 359 * d}},
        // Equatorial ellipse: the node is put on the x axis.
        {{1.0e7, 0.3, 0.0, 0.0, 75 * d, 300 * d}, {1.0e7, 0.3, 0.0, 0.0, 75 * d, 300 * d}},
        // Circular inclined orbit: the periapsis is put at the node.
        {{8.0e6, 0.0, 98 * d, 200 * d, 170 * d, 45 * d}, {8.0e6, 0.0, 98 * d, 200 * d, 200 * d, 45 * d}},
        // Geostationary orbit: node and periapsis on the x axis.
        {{4.2164e7, 0.0, 0.0, 0.0, 0.0, 123 * d}, {4.2164e7, 0.0, 0.0, 0.0, 0.0, 123 * d}},
        // Retrograde equatorial ellipse, angles measured along the motion.
        {{7.5e6, 0.2, 180 * d, 0.0, 60 * d, 10 * d}, {7.5e6, 0.2, 180 * d, 0.0, 60 * d, 10 * d}},
    };
    const double epochMjd = 60000.0, stateMjd = 60000.3;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.el.a);
        StateVector s = StateFromElements(c.el, kEarthMu, epochMjd, stateMjd);
        ELEMENTS el;
        ORBITPARAM prm;
        ASSERT_TRUE(ElementsFromState(s, kEarthMu, stateMjd, epochMjd, el, &prm));
        EXPECT_NEAR(el.a, c.expected.a, 1e-9 * c.expected.a);
        EXPECT_NEAR(el.e, c.expected.e, 1e-10);
        EXPECT_NEAR(el.i, c.expected.i, 1e-10);
        EXPECT_LT(AngleError(el.theta, c.expected.theta), 1e-9);
        EXPECT_LT(AngleError(el.omegab, c.expected.omegab), 1e-9);
        EXPECT_LT(AngleError(el.L, c.expected.L), 1e-9);
        for (double angle : {el.theta, el.omegab, el.L, prm.MnA, prm.TrA, prm.EcA, prm.MnL, prm.TrL}) {
            EXPECT_GE(angle, 0.0);
            EXPECT_LT(angle, kTwoPi);
        }
        EXPECT_NEAR(prm.PeD, c.expected.a * (1 - c.expected.e), 1e-9 * c.expected.a);
        EXPECT_NEAR(prm.ApD, c.expected.a * (1 + c.expected.e), 1e-9 * c.expected.a);
        EXPECT_NEAR(prm.T, Period(c.expected.a), 1e-9 * prm.T);
        EXPECT_LT(AngleError(prm.MnL, prm.MnA + el.omegab), 1e-12);

        // And back: the elements reproduce the state.
        ExpectSameState(s, StateFromElements(el, kEarthMu, epochMjd, stateMjd), 1e-10);
    }
}

TEST(OrbitElements, RejectedStatesLeaveOutputsUntouched)
{
    const double r = 7.0e6;
    const StateVector rejected[] = {
        // Faster than escape speed sqrt(2 mu / r) = 10672 m/s.
        {_V(r, 0.0, 0.0), _V(0.0, 12000.0, 0.0)},
        // At the centre.
        {_V(0.0, 0.0, 0.0), _V(0.0, 7000.0, 0.0)},
        // Radial fall, bound but with no orbit plane.
        {_V(r, 0.0, 0.0), _V(-1000.0, 0.0, 0.0)},
        // At rest.
        {_V(0.0, r, 0.0), _V(0.0, 0.0, 0.0)},
    };
    for (const StateVector &s : rejected) {
        ELEMENTS el, elBefore;
        ORBITPARAM prm, prmBefore;
        std::memset(&el, 0x5a, sizeof el);
        std::memset(&prm, 0x5a, sizeof prm);
        elBefore = el;
        prmBefore = prm;
        EXPECT_FALSE(ElementsFromState(s, kEarthMu, 0.0, 0.0, el, &prm));
        EXPECT_EQ(std::memcmp(&el, &elBefore, sizeof el), 0);
        EXPECT_EQ(std::memcmp(&prm, &prmBefore, sizeof prm), 0);
    }
    ELEMENTS el;
    EXPECT_TRUE(ElementsFromState(CircularEquatorial(r), kEarthMu, 0.0, 0.0, el, nullptr));
}

TEST(OrbitPropagation, KeplerMatchesElementPropagation)
{
    const double d = kRadiansPerDegree;
    const ELEMENTS orbits[] = {
        {kLeoRadius, 0.001, 51.6 * d, 40 * d, 130 * d, 10 * d},
        {2.6e7, 0.7, 63.4 * d, 250 * d, 10 * d, 5 * d},
        {kLeoRadius, 0.0, 0.0, 0.0, 0.0, 0.0},
    };
    for (const ELEMENTS &el : orbits) {
        SCOPED_TRACE(el.e);
        double T = Period(el.a);
        StateVector start = StateFromElements(el, kEarthMu, 0.0, 0.0);
        for (double periods : {1e-4, 0.3, 0.5, 3.7, -0.2, -2.3, 40.1}) {
            SCOPED_TRACE(periods);
            double dt = periods * T;
            ExpectSameState(StateFromElements(el, kEarthMu, 0.0, dt / kSecondsPerDay),
                            PropagateKepler(start, kEarthMu, dt), 1e-9);
        }
    }
}

TEST(OrbitPropagation, WholePeriodsAndKnownPoints)
{
    // Inclined eccentric LEO: back at the start after one and after three periods.
    ELEMENTS el = {kLeoRadius, 0.01, 1.0, 2.0, 3.0, 4.0};
    StateVector start = StateFromElements(el, kEarthMu, 0.0, 0.0);
    ExpectSameState(start, PropagateKepler(start, kEarthMu, Period(el.a)), 1e-9);
    ExpectSameState(start, PropagateKepler(start, kEarthMu, 3.0 * Period(el.a)), 1e-9);
    ExpectSameState(start, PropagateKepler(start, kEarthMu, -Period(el.a)), 1e-9);

    // Circular orbit a quarter period on: a quarter turn round, velocity along -x.
    StateVector quarter = PropagateKepler(CircularEquatorial(kLeoRadius), kEarthMu, kLeoPeriod / 4);
    EXPECT_LT(length(quarter.r - _V(0.0, kLeoRadius, 0.0)), 1e-3);
    EXPECT_LT(length(quarter.v - _V(-std::sqrt(kEarthMu / kLeoRadius), 0.0, 0.0)), 1e-6);

    // Ellipse half a period after periapsis: at apoapsis on -x, a (1 + e)
    // out, moving at the apoapsis speed sqrt(mu (1 - e) / (a (1 + e))) along -y.
    const double a = 8.0e6, e = 0.2;
    StateVector apo = PropagateKepler(AtPeriapsis(a * (1 - e), e), kEarthMu, Period(a) / 2);
    EXPECT_LT(length(apo.r - _V(-9.6e6, 0.0, 0.0)), 1e-3);
    EXPECT_LT(length(apo.v - _V(0.0, -std::sqrt(kEarthMu * 0.8 / 9.6e6), 0.0)), 1e-6);

    // Zero time changes nothing.
    StateVector same = PropagateKepler(start, kEarthMu, 0.0);
    EXPECT_EQ(std::memcmp(&same, &start, sizeof same), 0);
}

TEST(OrbitPropagation, ConservesEnergyAndAngularMomentum)
{
    const StateVector starts[] = {
        StateFromElements(ELEMENTS{kLeoRadius, 0.001, 0.9, 0.1, 0.2, 0.3}, kEarthMu, 0.0, 0.0),
        StateFromElements(ELEMENTS{2.6e7, 0.7, 1.1, 4.0, 1.0, 2.0}, kEarthMu, 0.0, 0.0),
        AtPeriapsis(7.0e6, 1.5),
        AtPeriapsis(7.0e6, 1.0),
    };
    for (const StateVector &s : starts) {
        double energy = SpecificEnergy(s);
        VECTOR3 h = cross(s.r, s.v);
        for (double dt : {1.0, 1234.5, -1234.5, 86400.0, -3.0 * 86400.0}) {
            SCOPED_TRACE(dt);
            StateVector p = PropagateKepler(s, kEarthMu, dt);
            double scale = kEarthMu / length(s.r);
            EXPECT_LT(std::fabs(SpecificEnergy(p) - energy), 1e-11 * scale);
            EXPECT_LT(length(cross(p.r, p.v) - h), 1e-11 * length(h));
            ExpectSameState(s, PropagateKepler(p, kEarthMu, -dt), 1e-9);
        }
    }
}

TEST(OrbitPropagation, HyperbolicAndParabolicTrajectories)
{
    // Hyperbola from periapsis: the hyperbolic anomaly F with e sinh F - F = n t
    // (found here by bisection) gives the radius a (1 - e cosh F), a < 0.
    const double rp = 7.0e6, e = 1.5;
    const double a = rp / (1.0 - e);
    const double n = std::sqrt(kEarthMu / -(a * a * a));
    StateVector start = AtPeriapsis(rp, e);
    for (double t : {60.0, 3600.0, 86400.0}) {
        SCOPED_TRACE(t);
        double lo = 0.0, hi = 50.0;
        for (int k = 0; k < 200; ++k) {
            double mid = 0.5 * (lo + hi);
            if (e * std::sinh(mid) - mid < n * t)
                lo = mid;
            else
                hi = mid;
        }
        double F = 0.5 * (lo + hi);
        StateVector later = PropagateKepler(start, kEarthMu, t);
        EXPECT_NEAR(length(later.r), a * (1.0 - e * std::cosh(F)), 1e-9 * length(later.r));
        EXPECT_GT(later.r.y, 0.0);

        // Backwards in time: the mirror image in the line of apsides.
        StateVector earlier = PropagateKepler(start, kEarthMu, -t);
        EXPECT_NEAR(earlier.r.x, later.r.x, 1e-9 * length(later.r));
        EXPECT_NEAR(earlier.r.y, -later.r.y, 1e-9 * length(later.r));
    }

    // Parabola from periapsis: Barker's equation D + D^3 / 3 = sqrt(mu / (2 rp^3)) t
    // with D = tan(nu / 2), solved by Cardano's formula; r = rp (1 + D^2).
    StateVector parabola = AtPeriapsis(rp, 1.0);
    for (double t : {100.0, 5000.0, 200000.0}) {
        SCOPED_TRACE(t);
        double B = std::sqrt(kEarthMu / (2.0 * rp * rp * rp)) * t;
        double root = std::sqrt(2.25 * B * B + 1.0);
        double D = std::cbrt(1.5 * B + root) + std::cbrt(1.5 * B - root);
        StateVector later = PropagateKepler(parabola, kEarthMu, t);
        EXPECT_NEAR(length(later.r), rp * (1.0 + D * D), 1e-9 * length(later.r));
        EXPECT_NEAR(std::atan2(later.r.y, later.r.x), 2.0 * std::atan(D), 1e-9);
    }
}

TEST(OrbitPropagation, ThrustIntegration)
{
    // Without thrust the integrator follows the Kepler solution, both ways.
    StateVector start = StateFromElements(ELEMENTS{kLeoRadius, 0.01, 0.5, 1.0, 2.0, 3.0}, kEarthMu, 0.0, 0.0);
    for (double dt : {0.4, 1000.0, -500.5}) {
        SCOPED_TRACE(dt);
        StateVector kepler = PropagateKepler(start, kEarthMu, dt);
        StateVector rk4 = PropagateWithThrust(start, kEarthMu, 0.0, dt);
        EXPECT_LT(length(rk4.r - kepler.r), 1e-3);
        EXPECT_LT(length(rk4.v - kepler.v), 1e-6);
    }
    StateVector same = PropagateWithThrust(start, kEarthMu, 5.0, 0.0);
    EXPECT_EQ(std::memcmp(&same, &start, sizeof same), 0);

    // Without gravity a prograde push is uniform acceleration along the
    // initial velocity: v = v0 + a t, x = v0 t + a t^2 / 2 (exact for RK4).
    StateVector coast{_V(1.0e6, 0.0, 0.0), _V(0.0, 3.0, 4.0)};
    StateVector pushed = PropagateWithThrust(coast, 0.0, 2.0, 10.5);
    VECTOR3 dir = _V(0.0, 0.6, 0.8);
    EXPECT_LT(length(pushed.v - dir * (5.0 + 2.0 * 10.5)), 1e-9);
    EXPECT_LT(length(pushed.r - (coast.r + dir * (5.0 * 10.5 + 10.5 * 10.5))), 1e-6);

    // A 60 s, 1 m/s^2 prograde burn from the circular 400 km orbit raises the
    // apoapsis about as much as a 60 m/s impulse would: vis-viva gives
    // a' = 1 / (2 / r - (v + 60)^2 / mu), apoapsis 2 a' - r = 6987.0 km.
    // The 3.9 deg burn arc costs well under a percent of that.
    ELEMENTS el;
    ORBITPARAM before, after;
    StateVector circ = CircularEquatorial(kLeoRadius);
    ASSERT_TRUE(ElementsFromState(circ, kEarthMu, 0.0, 0.0, el, &before));
    ASSERT_TRUE(ElementsFromState(PropagateWithThrust(circ, kEarthMu, 1.0, 60.0), kEarthMu, 0.0, 0.0, el, &after));
    EXPECT_GT(after.ApD, before.ApD + 200e3);
    EXPECT_NEAR(after.ApD - kLeoRadius, 6987.0e3 - kLeoRadius, 0.01 * (6987.0e3 - kLeoRadius));
    EXPECT_NEAR(after.PeD, kLeoRadius, 5e3);

    // A retrograde burn lowers the periapsis instead.
    ASSERT_TRUE(ElementsFromState(PropagateWithThrust(circ, kEarthMu, -1.0, 60.0), kEarthMu, 0.0, 0.0, el, &after));
    EXPECT_LT(after.PeD, before.PeD - 200e3);
}

} // namespace
} // namespace headless
