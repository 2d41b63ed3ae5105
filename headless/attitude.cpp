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

// The textbook rotation by angle (rad) about the unit vector axis
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
    MATRIX3 rx = {{1, 0, 0, 0, ca, sa, 0, -sa, ca}};
    MATRIX3 ry = {{cb, 0, -sb, 0, 1, 0, sb, 0, cb}};
    MATRIX3 rz = {{cg, sg, 0, -sg, cg, 0, 0, 0, 1}};
    return mul(rx, mul(ry, rz));
}

VECTOR3 EulerFromRotation(const MATRIX3 &R)
{
    double cb = std::hypot(R.m11, R.m12);
    double beta = std::atan2(-R.m13, cb);
    if (cb > kGimbalLockCosine)
        return _V(std::atan2(R.m23, R.m33), beta, std::atan2(R.m12, R.m11));
    // Gimbal lock: only alpha + gamma or alpha - gamma is defined; put it
    // all into alpha (with gamma 0, R32 = -sin alpha and R22 = cos alpha).
    return _V(std::atan2(-R.m32, R.m22), beta, 0.0);
}

VesselAxes AxesOfRotation(const MATRIX3 &R)
{
    return VesselAxes{FromSimulatorFrame(column(R, 0)), FromSimulatorFrame(column(R, 1)),
                      FromSimulatorFrame(column(R, 2))};
}

MATRIX3 RotationOfAxes(const VECTOR3 &forward, const VECTOR3 &up)
{
    return FromColumns(ToSimulatorFrame(cross(forward, up)), ToSimulatorFrame(up), ToSimulatorFrame(forward));
}

MATRIX3 IntegrateRotation(const MATRIX3 &R, const VECTOR3 &avel, double dt)
{
    double rate = length(avel);
    MATRIX3 turned = rate > 0.0 ? mul(R, AxisRotation(avel / rate, rate * dt)) : R;

    // Re-orthonormalise, keeping the forward axis and the plane of the
    // forward and up axes (column 0 = column 1 x column 2 holds for every
    // matrix of determinant +1).
    VECTOR3 forward = unit(column(turned, 2));
    VECTOR3 upAxis = column(turned, 1);
    VECTOR3 up = unit(upAxis - forward * dot(upAxis, forward));
    return FromColumns(cross(up, forward), up, forward);
}

void HorizonAttitude(const VECTOR3 &forward, const VECTOR3 &up, const VECTOR3 &rel, const MATRIX3 &planetOrientation,
                     double &pitch, double &yaw, double &bank)
{
    VECTOR3 north, east, vertical;
    LocalHorizon(rel, planetOrientation, north, east, vertical);

    double fNorth = dot(forward, north), fEast = dot(forward, east), fUp = dot(forward, vertical);
    double fHorizontal = std::hypot(fNorth, fEast);
    pitch = std::atan2(fUp, fHorizontal);
    if (fHorizontal < kVerticalHorizontalComponent) {
        // Nose straight up or down: report the heading the nose had before
        // pitching through the vertical without banking; the top axis then
        // points opposite to it (nose up) or along it (nose down).
        double away = fUp > 0.0 ? -1.0 : 1.0;
        yaw = std::atan2(away * dot(up, east), away * dot(up, north));
        bank = 0.0;
        return;
    }
    yaw = std::atan2(fEast, fNorth);

    // Zero bank has the top axis in the vertical plane through the forward
    // axis, on the upper side; forward x that reference is the level right
    // wing direction (the internal frame is right-handed).
    VECTOR3 levelTop = unit(vertical - forward * fUp);
    VECTOR3 levelRight = cross(forward, levelTop);
    bank = std::atan2(dot(up, levelRight), dot(up, levelTop));
}

} // namespace headless
