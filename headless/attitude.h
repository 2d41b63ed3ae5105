// Vessel attitude.
//
// A vessel's axes are the simulator's left-handed vessel frame: +z forward
// (nose), +y up (top), +x right. Its global orientation is given by three
// Euler angles (alpha, beta, gamma) in radians: the rotation matrix from
// vessel to global frame is R = Rx(alpha) * Ry(beta) * Rz(gamma), where
// Rx, Ry, Rz are the right-handed rotations about the global axes. Column k
// of R is vessel axis k expressed in global coordinates.
//
// R is a proper rotation and the global frame (frames.h) is right-handed, so
// column 0 always equals column 1 x column 2 (up x forward), which points to
// the vessel's physical left. Everything below that concerns the horizon
// uses only the forward and up columns, so it does not depend on that.
//
// Euler angles come back with alpha and gamma in -pi..pi and beta in
// -pi/2..pi/2; at beta = +-pi/2 (gimbal lock) gamma is returned as 0.

#ifndef KORVANE_HEADLESS_ATTITUDE_H
#define KORVANE_HEADLESS_ATTITUDE_H

#include "OrbiterAPI.h"

namespace headless {

MATRIX3 RotationFromEuler(const VECTOR3 &euler);
VECTOR3 EulerFromRotation(const MATRIX3 &R);

// The orientation after turning for dt seconds at angular velocity avel
// (rad/s, about the vessel's own x, y, z axes, i.e. the columns of R; a
// positive component turns right-handedly about its column). The rate is
// held constant over dt, so the turn is exact: R * Rot(avel / |avel|, |avel| dt).
// Returns the new matrix, re-orthonormalised keeping the forward axis.
MATRIX3 IntegrateRotation(const MATRIX3 &R, const VECTOR3 &avel, double dt);

// Attitude relative to the local horizon at relative position rel (north-east-
// up frame): pitch = elevation of the forward axis above the horizon plane
// (-pi/2..pi/2); yaw = heading of the forward axis measured from north
// towards east (-pi..pi); bank = rotation about the forward axis of the up
// axis away from the vertical plane through the forward axis, positive for a
// right bank (-pi..pi).
void HorizonAttitude(const MATRIX3 &R, const VECTOR3 &rel, double &pitch, double &yaw, double &bank);

} // namespace headless

#endif // KORVANE_HEADLESS_ATTITUDE_H
