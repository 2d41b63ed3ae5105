#include "headless/frames.h"

#include <cmath>

#include "headless/vecmath.h"

namespace headless {

namespace {

constexpr double kJ2000Mjd = 51544.5;
constexpr double kSiderealAngleAtJ2000Deg = 280.46061837;

// Below this fraction of the radius a point counts as on the polar axis,
// where east is undefined.
constexpr double kPolarAxisFraction = 1e-12;

// Angle reduced to -pi..pi.
double WrapSigned(double angle)
{
    return std::remainder(angle, kTwoPi);
}

} // namespace

double PlanetRotationAngle(double mjd, double siderealPeriod)
{
    // Only the fraction of a turn matters; dropping whole turns before the
    // conversion to radians keeps the angle accurate far from J2000.
    double turns = (mjd - kJ2000Mjd) * kSecondsPerDay / siderealPeriod;
    double fraction = turns - std::floor(turns);
    double angle = std::fmod(DegreesToRadians(kSiderealAngleAtJ2000Deg) + kTwoPi * fraction, kTwoPi);
    return angle < 0.0 ? angle + kTwoPi : angle;
}

void EquatorialFromRelative(const VECTOR3 &rel, double rotationAngle, double &lng, double &lat, double &rad)
{
    double horizontal = std::hypot(rel.x, rel.y);
    rad = length(rel);
    lat = std::atan2(rel.z, horizontal);
    lng = WrapSigned(std::atan2(rel.y, rel.x) - rotationAngle);
}

VECTOR3 RelativeFromEquatorial(double lng, double lat, double rad, double rotationAngle)
{
    double globalLng = lng + rotationAngle;
    double horizontal = rad * std::cos(lat);
    return _V(horizontal * std::cos(globalLng), horizontal * std::sin(globalLng), rad * std::sin(lat));
}

VECTOR3 CorotationVelocity(const VECTOR3 &rel, double siderealPeriod)
{
    double omega = kTwoPi / siderealPeriod;
    return _V(-omega * rel.y, omega * rel.x, 0.0);
}

void LocalHorizon(const VECTOR3 &rel, VECTOR3 &north, VECTOR3 &east, VECTOR3 &up)
{
    double rad = length(rel);
    up = rad > 0.0 ? rel / rad : _V(0.0, 0.0, 1.0);
    double horizontal = std::hypot(up.x, up.y);
    if (horizontal > kPolarAxisFraction)
        east = _V(-up.y / horizontal, up.x / horizontal, 0.0);
    else
        east = _V(0.0, 1.0, 0.0);
    north = cross(up, east);
}

} // namespace headless
