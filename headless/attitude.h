// Vessel attitude.
//
// A vessel's axes are the simulator's left-handed vessel frame: +z forward
// (nose), +y up (top), +x right. Its orientation is kept as the simulator
// keeps it: the rotation matrix R from the vessel frame to the global frame,
// both in the simulator's left-handed components (frames.h), so that the
// scenario's AROT line and GetGlobalOrientation are exact. The simulator's
// Euler angles (alpha, beta, gamma) give
//
//     R = [1 0 0; 0 ca sa; 0 -sa ca] [cb 0 -sb; 0 1 0; sb 0 cb] [cg sg 0; -sg cg 0; 0 0 1]
//
// (ca = cos alpha, sb = sin beta, ...; rows separated by ';'), and back
// alpha = atan2(R23, R33), beta = -asin(R13), gamma = atan2(R12, R11).
// Column k of R is vessel axis k in the simulator's global components; the
// same column with its second and third components swapped is that axis in
// the stand-in's internal frame.
//
// Euler angles come back with alpha and gamma in -pi..pi and beta in
// -pi/2..pi/2; at beta = +-pi/2 (gimbal lock) gamma is returned as 0.

#ifndef KORVANE_HEADLESS_ATTITUDE_H
#define KORVANE_HEADLESS_ATTITUDE_H

#include "OrbiterAPI.h"

namespace headless {

MATRIX3 RotationFromEuler(const VECTOR3 &euler);
VECTOR3 EulerFromRotation(const MATRIX3 &R);

// A vessel's axes as directions of the internal (right-handed) frame.
struct VesselAxes {
    VECTOR3 right;
    VECTOR3 up;
    VECTOR3 forward;
};
VesselAxes AxesOfRotation(const MATRIX3 &R);
// The simulator's matrix R of a vessel whose forward and up axes (internal
// frame, unit and perpendicular) are given; its right axis is forward x up.
MATRIX3 RotationOfAxes(const VECTOR3 &forward, const VECTOR3 &up);

// The orientation after turning for dt seconds at angular velocity avel
// (rad/s, about the vessel's own x, y, z axes, i.e. the columns of R), with
// the rate held constant over dt: R * Rot(avel / |avel|, |avel| dt), the
// rotation written with the textbook formula in the vessel's own (left-
// handed) components, as the simulator integrates it. Returns the new
// matrix, re-orthonormalised keeping the forward axis.
MATRIX3 IntegrateRotation(const MATRIX3 &R, const VECTOR3 &avel, double dt);

// Attitude relative to the local horizon at relative position rel on a
// planet of the given orientation (frames.h); forward and up are the
// vessel's axes in the internal frame. pitch = elevation of the forward axis
// above the horizon plane (-pi/2..pi/2); yaw = heading of the forward axis
// measured from north towards east (-pi..pi); bank = rotation about the
// forward axis of the up axis away from the vertical plane through the
// forward axis, positive for a right bank (-pi..pi).
void HorizonAttitude(const VECTOR3 &forward, const VECTOR3 &up, const VECTOR3 &rel, const MATRIX3 &planetOrientation,
                     double &pitch, double &yaw, double &bank);

} // namespace headless

#endif // KORVANE_HEADLESS_ATTITUDE_H
