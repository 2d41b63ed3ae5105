// The network's radio-link model around a spherical Earth: which node can see
// a spacecraft, how strong the link is and how late its signals arrive.
//
// Positions are metres relative to Earth's centre, in any frame that does not
// rotate between the two positions being compared. A ground site's local
// vertical is its radial direction.

#ifndef KORVANE_TRACKNET_LINK_MODEL_H
#define KORVANE_TRACKNET_LINK_MODEL_H

#include "OrbiterAPI.h"

namespace tracknet {

// A ground antenna works down to this elevation above its horizon; below it
// terrain and the atmosphere block the signal.
constexpr double kMinimumElevationDeg = 5.0;
// From this elevation up a ground antenna has its full gain; between the
// minimum and here the link weakens in proportion to the elevation.
constexpr double kFullStrengthElevationDeg = 15.0;

// Ranges up to which a link keeps full strength (inverse square beyond):
// a tracking station's dish, a relay's space-to-space antenna (just above the
// geostationary altitude of 35786 km, so a relay serves all of low orbit at
// full strength) and a deep-space dish (lunar distance).
constexpr double kStationReferenceRangeMetres = 1000e3;
constexpr double kRelayReferenceRangeMetres = 36000e3;
constexpr double kDeepSpaceReferenceRangeMetres = 400000e3;

// Tracking stations and relays serve near-Earth space up to this distance
// from Earth's centre; the deep-space complexes serve everything beyond.
constexpr double kNearEarthLimitMetres = 30000e3;

constexpr double kSpeedOfLightMetresPerSecond = 299792458.0;

double DistanceMetres(const VECTOR3 &a, const VECTOR3 &b);

// Angle of target above the local horizon of a ground site (degrees,
// -90..90); 90 for a target at the site itself.
double ElevationDeg(const VECTOR3 &site, const VECTOR3 &target);

// True unless the straight segment between a and b passes inside the sphere
// of Earth's radius (a grazing ray, within 1 m of the surface, still passes).
bool LineOfSightClear(const VECTOR3 &a, const VECTOR3 &b, double earthRadiusMetres);

// Link strength in percent (0..100): 100 up to the reference range, falling
// with the square of the range beyond it, times the ground antenna's
// elevation factor (elevation / kFullStrengthElevationDeg, at most 1).
double SignalStrengthPercent(double rangeMetres, double referenceRangeMetres, double groundElevationDeg);

// One-way travel time of a signal along a path, seconds.
double LightTimeSeconds(double pathMetres);

} // namespace tracknet

#endif // KORVANE_TRACKNET_LINK_MODEL_H
