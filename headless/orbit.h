// Two-body orbits: conversion between state vectors and osculating elements,
// and Kepler propagation. All vectors are relative to the central body in the
// equatorial inertial frame (z along the body's north pole); metres, m/s.

#ifndef KORVANE_HEADLESS_ORBIT_H
#define KORVANE_HEADLESS_ORBIT_H

#include "OrbiterAPI.h"

namespace headless {

struct StateVector {
    VECTOR3 r; // position, metres
    VECTOR3 v; // velocity, m/s
};

// Position and velocity at date mjd of an elliptic orbit given by elements
// whose mean longitude el.L holds at date epochMjd. mu = G M (m^3/s^2).
StateVector StateFromElements(const ELEMENTS &el, double mu, double epochMjd, double mjd);

// Osculating elements of a state taken at date stateMjd, with el.L the mean
// longitude at date refMjd, and the secondary parameters in *prm (if not
// null). Returns false, leaving el and *prm untouched, unless the orbit is an
// ellipse (0 <= e < 1, a > 0) and the state is not degenerate (r = 0).
// All angles are in 0..2 pi. An equatorial orbit (i = 0 or pi) has its
// ascending node put on the x axis (theta = 0); a circular orbit has its
// periapsis put at the node (omegab = theta). Argument of periapsis and the
// anomalies run from the node in the direction of motion, so on a retrograde
// equatorial orbit they grow clockwise seen from the north. prm->Lec is the
// linear eccentricity a e (m); PeT and ApT are the times (s) to the next
// periapsis and apoapsis, 0 when the state is at that point.
bool ElementsFromState(const StateVector &s, double mu, double stateMjd, double refMjd, ELEMENTS &el,
                       ORBITPARAM *prm);

// The state after dt seconds of free two-body motion (elliptic, parabolic or
// hyperbolic; universal-variable formulation). dt may be negative. A state
// at the centre (r = 0) is returned unchanged.
StateVector PropagateKepler(const StateVector &s, double mu, double dt);

// The state after dt seconds under gravity mu plus a constant-magnitude
// acceleration of thrustAccel (m/s^2) along the instantaneous velocity
// (prograde); fixed-step fourth-order Runge-Kutta with dt split into equal
// steps of at most 1 s. dt may be negative; dt = 0 returns s.
StateVector PropagateWithThrust(const StateVector &s, double mu, double thrustAccel, double dt);

} // namespace headless

#endif // KORVANE_HEADLESS_ORBIT_H
