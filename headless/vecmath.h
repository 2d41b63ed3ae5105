// Small vector helpers on the host's VECTOR3 for the headless simulator.

#ifndef KORVANE_HEADLESS_VECMATH_H
#define KORVANE_HEADLESS_VECMATH_H

#include <cmath>

#include "OrbiterAPI.h"

// Vector arithmetic on the host's type; these live beside VECTOR3 (global)
// so that argument-dependent lookup finds them everywhere.
inline VECTOR3 operator+(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x + b.x, a.y + b.y, a.z + b.z); }
inline VECTOR3 operator-(const VECTOR3 &a, const VECTOR3 &b) { return _V(a.x - b.x, a.y - b.y, a.z - b.z); }
inline VECTOR3 operator-(const VECTOR3 &a) { return _V(-a.x, -a.y, -a.z); }
inline VECTOR3 operator*(const VECTOR3 &a, double s) { return _V(a.x * s, a.y * s, a.z * s); }
inline VECTOR3 operator*(double s, const VECTOR3 &a) { return a * s; }
inline VECTOR3 operator/(const VECTOR3 &a, double s) { return _V(a.x / s, a.y / s, a.z / s); }
inline VECTOR3 &operator+=(VECTOR3 &a, const VECTOR3 &b) { return a = a + b; }
inline VECTOR3 &operator-=(VECTOR3 &a, const VECTOR3 &b) { return a = a - b; }

namespace headless {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kGravitationalConstant = 6.67259e-11; // m^3 kg^-1 s^-2, the simulator's value
constexpr double kSpeedOfLight = 299792458.0;          // m/s

inline double DegreesToRadians(double deg) { return deg * kRadiansPerDegree; }
inline double RadiansToDegrees(double rad) { return rad / kRadiansPerDegree; }

inline double dot(const VECTOR3 &a, const VECTOR3 &b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline VECTOR3 cross(const VECTOR3 &a, const VECTOR3 &b)
{
    return _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
inline double length(const VECTOR3 &a) { return std::sqrt(dot(a, a)); }
inline VECTOR3 unit(const VECTOR3 &a)
{
    double len = length(a);
    return len > 0.0 ? a / len : _V(0, 0, 0);
}

} // namespace headless

#endif // KORVANE_HEADLESS_VECMATH_H
