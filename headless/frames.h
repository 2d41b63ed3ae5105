// Reference frames of the stand-in simulator and the rotation of its planets.
//
// The simulator's global frame is the ecliptic and equinox of J2000, and it is
// left-handed: x towards the vernal equinox, y towards the ecliptic north
// pole, z completing the left-handed set (towards ecliptic longitude 90 deg).
// Every vector that a module or a scenario file sees is in that frame.
//
// Inside, the stand-in computes in the right-handed ecliptic frame of J2000,
// X = x, Y = z, Z = y, so that cross products, orbital elements and rotations
// keep their textbook form. The conversion swaps the second and third
// components and is its own inverse. It is made exactly once, where a vector
// enters or leaves the stand-in: in the host functions (positions,
// velocities, rotation matrices) and in the scenario reader and writer (RPOS,
// RVEL). The one quantity kept in the simulator's own form is a vessel's
// attitude (the AROT matrix, see attitude.h), whose columns become directions
// of the internal frame through the same swap.
//
// Planets. A planet-fixed frame has X_p on the equator at longitude 0, Y_p on
// the equator at 90 E and Z_p at the north pole; longitude grows eastwards.
// Its orientation in the internal frame at date t is
//
//     R(t) = Rz(theta(t)) Rx(-obliquity) Rz(omega(t))
//
// (right-handed rotations about the internal axes), which is the simulator's
// R = R_a Ry(omega) of oapiGetPlanetObliquityMatrix and
// oapiGetPlanetCurrentRotation written in the internal frame: the obliquity
// is the angle between the axis and the ecliptic pole, theta the longitude
// of the equator's node as the simulator counts it (LAN; Earth's is 0, the
// vernal equinox), the axis leaning towards ecliptic longitude theta + 90
// deg, and omega the rotation angle of the prime meridian measured from that
// node along the equator.
//
// The axis precesses about the ecliptic pole: theta(t) = LAN + 2 pi (t -
// LAN_MJD) / PrecessionPeriod (days; no precession for a period of 0). The
// rotation angle is
//
//     omega(t) = SidRotOffset + 2 pi (t - 51544.5) 86400 / SidRotPeriod
//                - (theta(t) - theta(51544.5)) cos(obliquity),
//
// the last term keeping the spin about the axis at one turn per SidRotPeriod
// in inertial space while the node it is measured from moves (the component
// of the node's motion along the axis is subtracted). A simulator that leaves
// the correction out puts every surface point |theta(t) - theta(51544.5)|
// cos(obliquity) further west or east; for Earth (PrecessionPeriod
// -9413040.4 d) that is 0.0154 deg (1.7 km on the equator) at MJD 51982 and
// 0.332 deg (37 km) at MJD 61000, growing by 0.0128 deg a year.

#ifndef KORVANE_HEADLESS_FRAMES_H
#define KORVANE_HEADLESS_FRAMES_H

#include "OrbiterAPI.h"

namespace headless {

// Internal (right-handed) components of a vector given in the simulator's
// global frame, and back; the same swap both ways.
VECTOR3 FromSimulatorFrame(const VECTOR3 &v);
VECTOR3 ToSimulatorFrame(const VECTOR3 &v);
// A rotation between two right-handed internal frames written as the
// simulator writes it between their left-handed counterparts (S m S, S the
// swap), and back.
MATRIX3 ToSimulatorFrame(const MATRIX3 &m);
MATRIX3 FromSimulatorFrame(const MATRIX3 &m);

// The rotation of a planet, as the simulator's planet configuration gives it.
struct PlanetRotation {
    double obliquityRad = 0.0;             // Obliquity: axis to ecliptic pole
    double equatorNodeRad = 0.0;           // LAN: the equator's node at equatorNodeMjd
    double equatorNodeMjd = 51544.5;       // LAN_MJD
    double precessionPeriodDays = 0.0;     // PrecessionPeriod; 0: no precession, negative: westwards
    double rotationOffsetRad = 0.0;        // SidRotOffset: omega at MJD 51544.5 (before the correction)
    double siderealPeriodSeconds = 86400;  // SidRotPeriod: one turn in inertial space
};

// theta(t), the longitude of the equator's node (rad, unreduced).
double EquatorNode(const PlanetRotation &rot, double mjd);
// omega(t), the rotation angle (rad, 0..2 pi).
double RotationAngle(const PlanetRotation &rot, double mjd);
// Rz(theta) Rx(-obliquity): the planet's equatorial frame (not rotating with
// the planet; x at the equator's node, z along the axis) in internal terms.
MATRIX3 EquatorialOrientation(const PlanetRotation &rot, double mjd);
// R(t): the planet-fixed frame in internal terms.
MATRIX3 PlanetOrientation(const PlanetRotation &rot, double mjd);
// The planet's angular velocity (rad/s, internal frame): the node's motion
// about the ecliptic pole plus the spin about the axis, so that
// d/dt (R(t) p) = w x (R(t) p) for a planet-fixed point p.
VECTOR3 PlanetAngularVelocity(const PlanetRotation &rot, double mjd);

// Longitude (east positive, -pi..pi), latitude (-pi/2..pi/2) and radius (m)
// of a position relative to the planet's centre (internal frame), for the
// planet's orientation R(t).
void EquatorialFromRelative(const VECTOR3 &rel, const MATRIX3 &orientation, double &lng, double &lat,
                            double &rad);

// The inverse: the position relative to the planet's centre (internal frame)
// of a point at longitude lng, latitude lat (radians) and radius rad (m).
VECTOR3 RelativeFromEquatorial(double lng, double lat, double rad, const MATRIX3 &orientation);

// Velocity of the co-rotating frame at relative position rel: w x rel.
VECTOR3 CorotationVelocity(const VECTOR3 &rel, const VECTOR3 &angularVelocity);

// Unit vectors of the local horizon frame (north, east, up) at a relative
// position, in internal components; the planet's orientation gives its axis.
// On the axis, where east is undefined, east is taken as the planet's Y_p
// (the limit along the prime meridian), and at the centre up is the axis.
void LocalHorizon(const VECTOR3 &rel, const MATRIX3 &orientation, VECTOR3 &north, VECTOR3 &east, VECTOR3 &up);

} // namespace headless

#endif // KORVANE_HEADLESS_FRAMES_H
