#include "headless/attitude.h"

#include <cmath>

#include "headless/frames.h"
#include "headless/vecmath.h"

namespace headless {

namespace {

// Below this the forward axis counts as vertical (pitch +-90 deg), where
// heading and bank are no longer separable.
constexpr double kVerticalHorizontalComponent = 1e-9;

// Below this cos(beta) counts as gimbal lock, where alpha and gamma turn
// about the same axis.
constexpr double kGimbalLockCosine = 1e-12;

VECTOR3 Column(const MATRIX3 &m, int k) { return _V(m.data[k], m.data[3 + k], m.data[6 + k]); }

MATRIX3 FromColumns(const VECTOR3 &c0, const VECTOR3 &c1, const VECTOR3 &c2)
{
    MATRIX3 m;
    for (int row = 0; row < 3; ++row) {
        m.data[3 * row] = c0.data[row];
        m.data[3 * row + 1] = c1.data[row];
        m.data[3 * row + 2] = c2.data[row];
    }
    return m;
}

MATRIX3 Multiply(const MATRIX3 &a, const MATRIX3 &b)
{
    MATRIX3 m;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m.data[3 * row + col] = a.data[3 * row] * b.data[col] + a.data[3 * row + 1] * b.data[3 + col]
                                    + a.data[3 * row + 2] * b.data[6 + col];
    return m;
}

// Right-handed rotation by angle (rad) about the unit vector axis
// (Rodrigues' formula).
MATRIX3 AxisRotation(const VECTOR3 &axis, double angle)
{
    double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    double x = axis.x, y = axis.y, z = axis.z;
    MATRIX3 m;
    m.m11 = c + t * x * x;
    m.m12 = t * x * y - s * z;
    m.m13 = t * x * z + s * y;
    m.m21 = t * x * y + s * z;
    m.m22 = c + t * y * y;
    m.m23 = t * y * z - s * x;
    m.m31 = t * x * z - s * y;
    m.m32 = t * y * z + s * x;
    m.m33 = c + t * z * z;
    return m;
}

} // namespace

MATRIX3 RotationFromEuler(const VECTOR3 &euler)
{
    double ca = std::cos(euler.x), sa = std::sin(euler.x);
    double cb = std::cos(euler.y), sb = std::sin(euler.y);
    double cg = std::cos(euler.z), sg = std::sin(euler.z);
    MATRIX3 m;
    m.m11 = cb * cg;
    m.m12 = -cb * sg;
    m.m13 = sb;
    m.m21 = ca * sg + sa * sb * cg;
    m.m22 = ca * cg - sa * sb * sg;
    m.m23 = -sa * cb;
    m.m31 = sa * sg - ca * sb * cg;
    m.m32 = sa * cg + ca * sb * sg;
    m.m33 = ca * cb;
    return m;
}

VECTOR3 EulerFromRotation(const MATRIX3 &R)
{
    double cb = std::hypot(R.m11, R.m12);
    double beta = std::atan2(R.m13, cb);
    if (cb > kGimbalLockCosine)
        return _V(std::atan2(-R.m23, R.m33), beta, std::atan2(-R.m12, R.m11));
    // Gimbal lock: only alpha + gamma (beta = +90 deg) or alpha - gamma
    // (beta = -90 deg) is defined; put it all into alpha.
    return _V(std::atan2(R.m32, R.m22), beta, 0.0);
}

MATRIX3 IntegrateRotation(const MATRIX3 &R, const VECTOR3 &avel, double dt)
{
    double rate = length(avel);
    MATRIX3 turned = rate > 0.0 ? Multiply(R, AxisRotation(avel / rate, rate * dt)) : R;

    // Re-orthonormalise, keeping the forward axis and the plane of the
    // forward and up axes.
    VECTOR3 forward = unit(Column(turned, 2));
    VECTOR3 upAxis = Column(turned, 1);
    VECTOR3 up = unit(upAxis - forward * dot(upAxis, forward));
    return FromColumns(cross(up, forward), up, forward);
}

void HorizonAttitude(const MATRIX3 &R, const VECTOR3 &rel, double &pitch, double &yaw, double &bank)
{
    VECTOR3 north, east, up;
    LocalHorizon(rel, north, east, up);
    VECTOR3 forward = Column(R, 2);
    VECTOR3 top = Column(R, 1);

    double fNorth = dot(forward, north), fEast = dot(forward, east), fUp = dot(forward, up);
    double fHorizontal = std::hypot(fNorth, fEast);
    pitch = std::atan2(fUp, fHorizontal);
    if (fHorizontal < kVerticalHorizontalComponent) {
        // Nose straight up or down: report the heading the nose had before
        // pitching through the vertical without banking; the top axis then
        // points opposite to it (nose up) or along it (nose down).
        double away = fUp > 0.0 ? -1.0 : 1.0;
        yaw = std::atan2(away * dot(top, east), away * dot(top, north));
        bank = 0.0;
        return;
    }
    yaw = std::atan2(fEast, fNorth);

    // Zero bank has the top axis in the vertical plane through the forward
    // axis, on the upper side; forward x that reference is the level right
    // wing direction (the global frame is right-handed).
    VECTOR3 levelTop = unit(up - forward * fUp);
    VECTOR3 levelRight = cross(forward, levelTop);
    bank = std::atan2(dot(top, levelRight), dot(top, levelTop));
}

} // namespace headless
