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

// 3 x 3 matrices (MATRIX3 is row-major: m12 is row 1, column 2).
inline MATRIX3 IdentityMatrix()
{
    MATRIX3 m = {{1, 0, 0, 0, 1, 0, 0, 0, 1}};
    return m;
}
// m v
inline VECTOR3 mul(const MATRIX3 &m, const VECTOR3 &v)
{
    return _V(m.m11 * v.x + m.m12 * v.y + m.m13 * v.z, m.m21 * v.x + m.m22 * v.y + m.m23 * v.z,
              m.m31 * v.x + m.m32 * v.y + m.m33 * v.z);
}
// m^T v, the inverse rotation for a rotation matrix m
inline VECTOR3 tmul(const MATRIX3 &m, const VECTOR3 &v)
{
    return _V(m.m11 * v.x + m.m21 * v.y + m.m31 * v.z, m.m12 * v.x + m.m22 * v.y + m.m32 * v.z,
              m.m13 * v.x + m.m23 * v.y + m.m33 * v.z);
}
// a b
inline MATRIX3 mul(const MATRIX3 &a, const MATRIX3 &b)
{
    MATRIX3 m;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m.data[3 * row + col] = a.data[3 * row] * b.data[col] + a.data[3 * row + 1] * b.data[3 + col] +
                                    a.data[3 * row + 2] * b.data[6 + col];
    return m;
}
inline VECTOR3 column(const MATRIX3 &m, int k) { return _V(m.data[k], m.data[3 + k], m.data[6 + k]); }
inline MATRIX3 FromColumns(const VECTOR3 &c0, const VECTOR3 &c1, const VECTOR3 &c2)
{
    MATRIX3 m;
    for (int row = 0; row < 3; ++row) {
        m.data[3 * row] = c0.data[row];
        m.data[3 * row + 1] = c1.data[row];
        m.data[3 * row + 2] = c2.data[row];
    }
    return m;
}
// Right-handed rotations by angle (rad) about the x and z axes.
inline MATRIX3 RotationX(double angle)
{
    double c = std::cos(angle), s = std::sin(angle);
    MATRIX3 m = {{1, 0, 0, 0, c, -s, 0, s, c}};
    return m;
}
inline MATRIX3 RotationZ(double angle)
{
    double c = std::cos(angle), s = std::sin(angle);
    MATRIX3 m = {{c, -s, 0, s, c, 0, 0, 0, 1}};
    return m;
}

} // namespace headless

#endif // KORVANE_HEADLESS_VECMATH_H
