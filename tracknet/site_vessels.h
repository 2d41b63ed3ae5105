// The network's nodes as the simulator's own objects: vessels of the
// add-on's class KorvaneSite (Config/Vessels/KorvaneSite.cfg: no module, a
// small mesh, never the focus). Tracking stations, deep-space complexes and
// the relays' ground terminal stand landed at their places; relay
// satellites fly on the geostationary orbit above their longitudes. Being
// vessels, they are saved with the scenario and come back with it.
//
// Every state is computed through the host (the planet's position, its
// equatorial frame, mass and rotation period), so it holds in the
// simulator's frames whatever the date.

#ifndef KORVANE_TRACKNET_SITE_VESSELS_H
#define KORVANE_TRACKNET_SITE_VESSELS_H

#include "OrbiterAPI.h"

namespace tracknet {

constexpr char kSiteClassName[] = "KorvaneSite";

// The simulator's gravitational constant (m^3 kg^-1 s^-2).
constexpr double kGravitationalConstant = 6.67259e-11;

// Radius (m from the planet's centre) of the circular orbit whose period is
// the planet's rotation period: a = cbrt(G M (T / 2 pi)^2).
double SynchronousOrbitRadius(double planetMassKg, double rotationPeriodSeconds);

// A vessel standing on planet at a place (degrees, east and north
// positive), facing north.
VESSELSTATUS2 LandedSiteStatus(OBJHANDLE planet, double lonDeg, double latDeg);

// A vessel on the circular orbit in planet's equatorial plane that keeps
// it above lonDeg: at the synchronous radius, moving east with the planet's
// turn (2 pi / rotation period) about its axis.
VESSELSTATUS2 GeostationaryStatus(OBJHANDLE planet, double lonDeg);

// What the session holds under a node's name.
struct SiteLookup {
    OBJHANDLE site = nullptr; // a KorvaneSite vessel of that name
    bool nameTaken = false;   // a vessel of another class has the name
};
SiteLookup FindSite(const char *name);

// Creates a KorvaneSite vessel; its handle, or null if the host refused.
OBJHANDLE CreateSite(const char *name, const VESSELSTATUS2 &status);

// True for a class name that equals want, ignoring the case of ASCII
// letters (the simulator's platform matches class names so).
bool SameClassName(const char *name, const char *want);

} // namespace tracknet

#endif // KORVANE_TRACKNET_SITE_VESSELS_H
