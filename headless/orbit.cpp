#include "headless/orbit.h"

#include <cmath>

#include "headless/vecmath.h"

namespace headless {

namespace {

// Below these the orbit counts as circular (no periapsis direction) or as
// equatorial (no ascending node). Rounding noise in the eccentricity vector of
// a circular state is around 1e-15, so the thresholds only catch states that
// are degenerate up to rounding.
constexpr double kCircularEccentricity = 1e-11;
constexpr double kEquatorialSinInclination = 1e-11;

// Kepler and universal-variable solvers converge quadratically; these bounds
// only guard against non-finite inputs.
constexpr int kMaxKeplerIterations = 64;
constexpr int kMaxBracketDoublings = 2100;
constexpr int kMaxUniversalIterations = 200;

// Below this |z| the Stumpff functions use their series, where the closed
// forms lose digits to cancellation.
constexpr double kStumpffSeriesLimit = 0.1;

// Longest step of the thrust integrator (s).
constexpr double kMaxThrustStepSeconds = 1.0;

double NormaliseAngle(double angle)
{
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0)
        a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}

// Eccentric anomaly E (rad) with E - e sin E = M, for 0 <= e < 1.
double SolveKepler(double meanAnomaly, double e)
{
    double M = NormaliseAngle(meanAnomaly);
    double E = e < 0.8 ? M : kPi;
    for (int k = 0; k < kMaxKeplerIterations; ++k) {
        double dE = (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
        E -= dE;
        if (std::fabs(dE) <= 1e-15 * (1.0 + std::fabs(E)))
            break;
    }
    return E;
}

// Stumpff functions C(z) = (1 - cos sqrt z) / z and S(z) = (sqrt z - sin sqrt z) / z^1.5,
// continued to z <= 0 with the hyperbolic functions.
void Stumpff(double z, double &C, double &S)
{
    if (std::fabs(z) < kStumpffSeriesLimit) {
        C = 1.0 / 2 - z / 24 + z * z / 720 - z * z * z / 40320 + z * z * z * z / 3628800
            - z * z * z * z * z / 479001600;
        S = 1.0 / 6 - z / 120 + z * z / 5040 - z * z * z / 362880 + z * z * z * z / 39916800
            - z * z * z * z * z / 6227020800.0;
    } else if (z > 0.0) {
        double s = std::sqrt(z);
        C = (1.0 - std::cos(s)) / z;
        S = (s - std::sin(s)) / (z * s);
    } else {
        double s = std::sqrt(-z);
        C = (std::cosh(s) - 1.0) / -z;
        S = (std::sinh(s) - s) / (-z * s);
    }
}

// The universal Kepler equation F(chi) = sqrt(mu) dt in residual form, and its
// derivative, which is the radius at chi and so always positive.
struct UniversalKepler {
    double r0;        // initial radius (m)
    double sigma0;    // r0 . v0 / sqrt(mu)
    double alpha;     // 1 / a (1/m)
    double sqrtMuDt;  // sqrt(mu) dt

    void Evaluate(double chi, double &residual, double &radius) const
    {
        double C, S;
        double z = alpha * chi * chi;
        Stumpff(z, C, S);
        double chi2 = chi * chi;
        residual = sigma0 * chi2 * C + (1.0 - alpha * r0) * chi2 * chi * S + r0 * chi - sqrtMuDt;
        radius = sigma0 * chi * (1.0 - z * S) + (1.0 - alpha * r0) * chi2 * C + r0;
    }
};

// The universal anomaly chi for the equation: Newton steps kept inside a
// bracket of the root, falling back to bisection when a step leaves it. The
// residual grows monotonically with chi, so the bracket is found by doubling.
double SolveUniversal(const UniversalKepler &eq, double guess)
{
    double residual, radius;
    double lo = 0.0, hi = 0.0;
    double step = std::fabs(guess) > 0.0 ? std::fabs(guess) : 1.0;
    if (eq.sqrtMuDt > 0.0) {
        hi = step;
        for (int k = 0; k < kMaxBracketDoublings; ++k) {
            eq.Evaluate(hi, residual, radius);
            if (!(residual < 0.0))
                break;
            lo = hi;
            hi *= 2.0;
        }
    } else {
        lo = -step;
        for (int k = 0; k < kMaxBracketDoublings; ++k) {
            eq.Evaluate(lo, residual, radius);
            if (!(residual > 0.0))
                break;
            hi = lo;
            lo *= 2.0;
        }
    }

    double chi = guess > lo && guess < hi ? guess : 0.5 * (lo + hi);
    for (int k = 0; k < kMaxUniversalIterations; ++k) {
        eq.Evaluate(chi, residual, radius);
        if (residual == 0.0)
            break;
        if (residual < 0.0)
            lo = chi;
        else
            hi = chi;
        double next = chi - residual / radius;
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        double change = std::fabs(next - chi);
        chi = next;
        if (change <= 1e-15 * std::fabs(chi) || hi - lo <= 1e-15 * std::fabs(chi))
            break;
    }
    return chi;
}

VECTOR3 Acceleration(const VECTOR3 &r, const VECTOR3 &v, double mu, double thrustAccel)
{
    double rad = length(r);
    return r * (-mu / (rad * rad * rad)) + unit(v) * thrustAccel;
}

} // namespace

StateVector StateFromElements(const ELEMENTS &el, double mu, double epochMjd, double mjd)
{
    double n = std::sqrt(mu / (el.a * el.a * el.a));
    double meanAnomaly = el.L - el.omegab + n * (mjd - epochMjd) * kSecondsPerDay;
    double E = SolveKepler(meanAnomaly, el.e);
    double cosE = std::cos(E), sinE = std::sin(E);
    double b = el.a * std::sqrt(1.0 - el.e * el.e);
    double rate = n / (1.0 - el.e * cosE); // dE/dt

    // Position and velocity in the perifocal frame (x to periapsis, y 90 deg
    // ahead in the direction of motion).
    double px = el.a * (cosE - el.e), py = b * sinE;
    double vx = -el.a * sinE * rate, vy = b * cosE * rate;

    // Rotate by Rz(node) Rx(i) Rz(argument of periapsis).
    double w = el.omegab - el.theta;
    double cO = std::cos(el.theta), sO = std::sin(el.theta);
    double ci = std::cos(el.i), si = std::sin(el.i);
    double cw = std::cos(w), sw = std::sin(w);
    VECTOR3 P = _V(cO * cw - sO * ci * sw, sO * cw + cO * ci * sw, si * sw);
    VECTOR3 Q = _V(-cO * sw - sO * ci * cw, -sO * sw + cO * ci * cw, si * cw);
    return StateVector{P * px + Q * py, P * vx + Q * vy};
}

bool ElementsFromState(const StateVector &s, double mu, double stateMjd, double refMjd, ELEMENTS &el,
                       ORBITPARAM *prm)
{
    double rad = length(s.r);
    if (!(rad > 0.0) || !(mu > 0.0))
        return false;
    double v2 = dot(s.v, s.v);
    VECTOR3 h = cross(s.r, s.v);
    double hLen = length(h);
    double energy = 0.5 * v2 - mu / rad;
    if (!(energy < 0.0) || !(hLen > 0.0))
        return false;
    double a = -mu / (2.0 * energy);
    VECTOR3 eVec = (s.r * (v2 - mu / rad) - s.v * dot(s.r, s.v)) / mu;
    double e = length(eVec);
    if (!(e < 1.0))
        return false;

    // Reference directions in the orbit plane: the ascending node (global x
    // for an equatorial orbit) and the direction 90 deg ahead of it along the
    // motion. Node, periapsis and position angles are measured from the node
    // in the direction of motion, so a retrograde equatorial orbit's angles
    // grow clockwise seen from the north.
    VECTOR3 hUnit = h / hLen;
    VECTOR3 nodeLine = _V(-h.y, h.x, 0.0);
    double nodeLen = length(nodeLine);
    double inc = std::atan2(nodeLen, h.z);
    bool equatorial = nodeLen <= kEquatorialSinInclination * hLen;
    VECTOR3 node = equatorial ? _V(1.0, 0.0, 0.0) : nodeLine / nodeLen;
    double lan = equatorial ? 0.0 : std::atan2(node.y, node.x);
    VECTOR3 ahead = cross(hUnit, node);

    // A circular orbit has its periapsis put at the node.
    double argLatitude = std::atan2(dot(s.r, ahead), dot(s.r, node));
    double argPeriapsis = e > kCircularEccentricity ? std::atan2(dot(eVec, ahead), dot(eVec, node)) : 0.0;
    double trueAnomaly = NormaliseAngle(argLatitude - argPeriapsis);
    double eccAnomaly =
        NormaliseAngle(std::atan2(std::sqrt(1.0 - e * e) * std::sin(trueAnomaly), e + std::cos(trueAnomaly)));
    double meanAnomaly = NormaliseAngle(eccAnomaly - e * std::sin(eccAnomaly));
    double n = std::sqrt(mu / (a * a * a));
    double lonPeriapsis = NormaliseAngle(lan + argPeriapsis);
    double meanLongitude = NormaliseAngle(lonPeriapsis + meanAnomaly);

    el.a = a;
    el.e = e;
    el.i = inc;
    el.theta = NormaliseAngle(lan);
    el.omegab = lonPeriapsis;
    el.L = NormaliseAngle(meanLongitude - n * (stateMjd - refMjd) * kSecondsPerDay);
    if (prm) {
        prm->SMi = a * std::sqrt(1.0 - e * e);
        prm->PeD = a * (1.0 - e);
        prm->ApD = a * (1.0 + e);
        prm->MnA = meanAnomaly;
        prm->TrA = trueAnomaly;
        prm->MnL = meanLongitude;
        prm->TrL = NormaliseAngle(lonPeriapsis + trueAnomaly);
        prm->EcA = eccAnomaly;
        prm->Lec = a * e;
        prm->T = kTwoPi / n;
        prm->PeT = NormaliseAngle(-meanAnomaly) / n;
        prm->ApT = NormaliseAngle(kPi - meanAnomaly) / n;
    }
    return true;
}

StateVector PropagateKepler(const StateVector &s, double mu, double dt)
{
    double r0 = length(s.r);
    if (dt == 0.0 || !(r0 > 0.0))
        return s;
    double sqrtMu = std::sqrt(mu);
    double alpha = 2.0 / r0 - dot(s.v, s.v) / mu;

    // An ellipse repeats every period: propagating by the remainder in
    // (-T/2, T/2] keeps the anomaly small and the Lagrange coefficients
    // free of cancellation.
    if (alpha > 0.0) {
        double period = kTwoPi / (sqrtMu * alpha * std::sqrt(alpha));
        dt -= period * std::round(dt / period);
        if (dt == 0.0)
            return s;
    }

    UniversalKepler eq{r0, dot(s.r, s.v) / sqrtMu, alpha, sqrtMu * dt};
    double guess = alpha > 0.0 ? sqrtMu * dt * alpha : sqrtMu * dt / r0;
    double chi = SolveUniversal(eq, guess);

    double C, S;
    double z = alpha * chi * chi;
    Stumpff(z, C, S);
    double chi2 = chi * chi;
    double f = 1.0 - chi2 / r0 * C;
    double g = dt - chi2 * chi / sqrtMu * S;
    VECTOR3 r = s.r * f + s.v * g;
    double rad = length(r);
    double fdot = sqrtMu / (rad * r0) * (z * S - 1.0) * chi;
    double gdot = 1.0 - chi2 / rad * C;
    return StateVector{r, s.r * fdot + s.v * gdot};
}

StateVector PropagateWithThrust(const StateVector &s, double mu, double thrustAccel, double dt)
{
    if (dt == 0.0)
        return s;
    long steps = static_cast<long>(std::ceil(std::fabs(dt) / kMaxThrustStepSeconds));
    double h = dt / static_cast<double>(steps);
    StateVector x = s;
    for (long k = 0; k < steps; ++k) {
        VECTOR3 k1r = x.v;
        VECTOR3 k1v = Acceleration(x.r, x.v, mu, thrustAccel);
        VECTOR3 k2r = x.v + k1v * (0.5 * h);
        VECTOR3 k2v = Acceleration(x.r + k1r * (0.5 * h), k2r, mu, thrustAccel);
        VECTOR3 k3r = x.v + k2v * (0.5 * h);
        VECTOR3 k3v = Acceleration(x.r + k2r * (0.5 * h), k3r, mu, thrustAccel);
        VECTOR3 k4r = x.v + k3v * h;
        VECTOR3 k4v = Acceleration(x.r + k3r * h, k4r, mu, thrustAccel);
        x.r += (k1r + k2r * 2.0 + k3r * 2.0 + k4r) * (h / 6.0);
        x.v += (k1v + k2v * 2.0 + k3v * 2.0 + k4v) * (h / 6.0);
    }
    return x;
}

} // namespace headless
