// Reference frames of a rotating planet.
//
// The global frame is inertial, centred on Earth, with Earth's equator as its
// x-y plane and z towards the north pole. A planet rotates about its z axis;
// its rotation angle is the angle from the global x axis to the planet's
// prime meridian (longitude 0), growing eastwards.

#ifndef KORVANE_HEADLESS_FRAMES_H
#define KORVANE_HEADLESS_FRAMES_H

#include "OrbiterAPI.h"

namespace headless {

// Earth's rotation angle (radians, 0..2 pi) at date mjd: Greenwich mean
// sidereal angle 280.46061837 deg at J2000 (MJD 51544.5), advancing by 2 pi
// every siderealPeriod seconds.
double PlanetRotationAngle(double mjd, double siderealPeriod);

// Longitude (east positive, -pi..pi), latitude (-pi/2..pi/2) and radius (m)
// of a position relative to the planet's centre, for a rotation angle.
void EquatorialFromRelative(const VECTOR3 &rel, double rotationAngle, double &lng, double &lat, double &rad);

// The inverse: the position relative to the planet's centre of a point at
// longitude lng, latitude lat (radians) and radius rad (m).
VECTOR3 RelativeFromEquatorial(double lng, double lat, double rad, double rotationAngle);

// Velocity of the co-rotating frame at relative position rel: omega x rel,
// with omega = 2 pi / siderealPeriod about z.
VECTOR3 CorotationVelocity(const VECTOR3 &rel, double siderealPeriod);

// Unit vectors of the local horizon frame (north, east, up) at a relative
// position, in global frame components; the planet's rotation does not enter.
// On the polar axis, where east is undefined, east is taken as global +y (the
// limit along the meridian through global +x), and at the centre up is +z.
void LocalHorizon(const VECTOR3 &rel, VECTOR3 &north, VECTOR3 &east, VECTOR3 &up);

} // namespace headless

#endif // KORVANE_HEADLESS_FRAMES_H
