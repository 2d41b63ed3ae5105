// Planet configuration files, Config/<Body>.cfg in the simulator root, in the
// simulator's configuration format (config_file.h). The stand-in reads:
//
//   Mass = 5.973698968e+24       kg, > 0
//   Size = 6.37101e6             mean radius, m, > 0
//   Obliquity = 0.4090928023     rad, angle of the axis from the ecliptic pole, 0..pi
//   LAN = 0                      rad, the equator's node at LAN_MJD (the axis leans to LAN + 90 deg)
//   LAN_MJD = 51544.5            MJD, within 1e7 days of MJD 0
//   SidRotOffset = 4.88948754    rad, rotation angle at MJD 51544.5
//   SidRotPeriod = 86164.10132   s, one turn in inertial space, |P| >= 1 (< 0: retrograde)
//   PrecessionPeriod = -9413040.4  days, of the axis about the ecliptic pole; 0 (none) or |P| >= 1
//
// (frames.h gives the rotation model these make). A moon's orbit about its
// planet is a two-body ellipse of its mean elements, relative to the ecliptic
// of J2000, in keys of the stand-in's own:
//
//   OrbitEpoch = 51544.5         MJD at which MeanLongitude holds, within 1e7 days of MJD 0
//   SemiMajorAxis = 3.84399e8    m, >= 1
//   Eccentricity = 0.0549        0 <= e < 1
//   Inclination = 0.0898041      rad
//   LongAscNode = 2.1824391      rad
//   LongPeriapsis = 1.4547886    rad
//   MeanLongitude = 3.8103408    rad
//
// The ranges keep the rotation and the orbit finite at every date the
// stand-in meets. Every other line is ignored. A key that is missing, or
// whose value is not a number in its range, keeps the value it had before
// reading (the stand-in's built-in figure for that body) and is reported as
// a problem; an orbit is taken only when all seven orbit keys are good.

#ifndef KORVANE_HEADLESS_PLANET_CONFIG_H
#define KORVANE_HEADLESS_PLANET_CONFIG_H

#include <istream>
#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/frames.h"

namespace headless {

struct PlanetConfig {
    double massKg = 0.0;
    double radiusMetres = 0.0;
    PlanetRotation rotation;
    bool hasOrbit = false;
    ELEMENTS orbit{};          // a, e, i, node, periapsis longitude, mean longitude (m, rad)
    double orbitEpochMjd = 51544.5;
};

// Reads a planet file over the values of *config. Problems are appended to
// *problems when it is not null.
void ReadPlanetConfig(std::istream &in, PlanetConfig *config, std::vector<std::string> *problems);

// The stand-in's built-in figures, the same as its shipped Config/Earth.cfg
// and Config/Moon.cfg (used where a file or a key is missing or damaged).
PlanetConfig BuiltInEarth();
PlanetConfig BuiltInMoon();

} // namespace headless

#endif // KORVANE_HEADLESS_PLANET_CONFIG_H
