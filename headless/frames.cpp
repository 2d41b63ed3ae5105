#include "headless/frames.h"

#include <cmath>

#include "headless/vecmath.h"

namespace headless {

namespace {

constexpr double kJ2000Mjd = 51544.5;

// Below this fraction of the radius a point counts as on the polar axis,
// where east is undefined.
constexpr double kPolarAxisFraction = 1e-12;

VECTOR3 Swap(const VECTOR3 &v) { return _V(v.x, v.z, v.y); }

MATRIX3 Swap(const MATRIX3 &m)
{
    // S m S: rows 2 and 3 swapped, then columns 2 and 3.
    MATRIX3 r = {{m.m11, m.m13, m.m12, m.m31, m.m33, m.m32, m.m21, m.m23, m.m22}};
    return r;
}

// The precession's share of the node's motion since J2000 (rad).
double NodeMotionSinceJ2000(const PlanetRotation &rot, double mjd)
{
    if (rot.precessionPeriodDays == 0.0)
        return 0.0;
    return kTwoPi * (mjd - kJ2000Mjd) / rot.precessionPeriodDays;
}

} // namespace

VECTOR3 FromSimulatorFrame(const VECTOR3 &v) { return Swap(v); }
VECTOR3 ToSimulatorFrame(const VECTOR3 &v) { return Swap(v); }
MATRIX3 ToSimulatorFrame(const MATRIX3 &m) { return Swap(m); }
MATRIX3 FromSimulatorFrame(const MATRIX3 &m) { return Swap(m); }

double EquatorNode(const PlanetRotation &rot, double mjd)
{
    if (rot.precessionPeriodDays == 0.0)
        return rot.equatorNodeRad;
    return rot.equatorNodeRad + kTwoPi * (mjd - rot.equatorNodeMjd) / rot.precessionPeriodDays;
}

double RotationAngle(const PlanetRotation &rot, double mjd)
{
    // Only the fraction of a turn matters; dropping whole turns before the
    // conversion to radians keeps the angle accurate far from J2000.
    double turns = (mjd - kJ2000Mjd) * kSecondsPerDay / rot.siderealPeriodSeconds;
    double fraction = turns - std::floor(turns);
    double correction = NodeMotionSinceJ2000(rot, mjd) * std::cos(rot.obliquityRad);
    double angle = std::fmod(rot.rotationOffsetRad + kTwoPi * fraction - correction, kTwoPi);
    if (angle < 0.0)
        angle += kTwoPi;
    return angle >= kTwoPi ? 0.0 : angle;
}

MATRIX3 EquatorialOrientation(const PlanetRotation &rot, double mjd)
{
    return mul(RotationZ(EquatorNode(rot, mjd)), RotationX(-rot.obliquityRad));
}

MATRIX3 PlanetOrientation(const PlanetRotation &rot, double mjd)
{
    return mul(EquatorialOrientation(rot, mjd), RotationZ(RotationAngle(rot, mjd)));
}

VECTOR3 PlanetAngularVelocity(const PlanetRotation &rot, double mjd)
{
    double nodeRate = rot.precessionPeriodDays == 0.0 ? 0.0 : kTwoPi / (rot.precessionPeriodDays * kSecondsPerDay);
    double spinRate = kTwoPi / rot.siderealPeriodSeconds - nodeRate * std::cos(rot.obliquityRad);
    VECTOR3 axis = column(EquatorialOrientation(rot, mjd), 2);
    return _V(0.0, 0.0, nodeRate) + axis * spinRate;
}

void EquatorialFromRelative(const VECTOR3 &rel, const MATRIX3 &orientation, double &lng, double &lat, double &rad)
{
    VECTOR3 p = tmul(orientation, rel);
    rad = length(p);
    lat = std::atan2(p.z, std::hypot(p.x, p.y));
    lng = std::atan2(p.y, p.x);
}

VECTOR3 RelativeFromEquatorial(double lng, double lat, double rad, const MATRIX3 &orientation)
{
    double horizontal = rad * std::cos(lat);
    return mul(orientation, _V(horizontal * std::cos(lng), horizontal * std::sin(lng), rad * std::sin(lat)));
}

VECTOR3 CorotationVelocity(const VECTOR3 &rel, const VECTOR3 &angularVelocity)
{
    return cross(angularVelocity, rel);
}

void LocalHorizon(const VECTOR3 &rel, const MATRIX3 &orientation, VECTOR3 &north, VECTOR3 &east, VECTOR3 &up)
{
    VECTOR3 p = tmul(orientation, rel);
    double rad = length(p);
    VECTOR3 pUp = rad > 0.0 ? p / rad : _V(0.0, 0.0, 1.0);
    double horizontal = std::hypot(pUp.x, pUp.y);
    VECTOR3 pEast = horizontal > kPolarAxisFraction ? _V(-pUp.y / horizontal, pUp.x / horizontal, 0.0)
                                                    : _V(0.0, 1.0, 0.0);
    up = mul(orientation, pUp);
    east = mul(orientation, pEast);
    north = cross(up, east);
}

} // namespace headless
