// Surface base files, Config/<Body>/Base/*.cfg in the simulator root, in the
// simulator's configuration format (config_file.h). The stand-in reads:
//
//   Name = Habana               the base's name (keys in any case, '=' optional)
//   LOCATION -82.38 23.13       longitude and latitude of the base, degrees
//                               (east and north positive)
//   BEGIN_OBJECTLIST            the base's objects, each a type line, its
//   LPAD2                       lines and END; landing pads are the objects
//     POS 120 0 -80             whose type begins with LPAD, numbered from 1
//   END                         in file order; POS x y z is a pad's place
//   END_OBJECTLIST              relative to the base in metres (x east, y up,
//                               z north; 0 0 0 without POS)
//
// Other lines are ignored. A damaged LOCATION leaves the base without a
// location, a damaged POS leaves its pad at the base's reference point; each
// is reported as a problem.

#ifndef KORVANE_HEADLESS_BASE_CONFIG_H
#define KORVANE_HEADLESS_BASE_CONFIG_H

#include <istream>
#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace headless {

struct BaseConfig {
    std::string name;
    bool hasLocation = false;
    double lonDeg = 0.0;
    double latDeg = 0.0;
    std::vector<VECTOR3> padsMetres; // pad 1 first: east, up, north of the base
};

BaseConfig ReadBaseConfig(std::istream &in, std::vector<std::string> *problems);

// Longitude and latitude (radians) of pad number pad (from 1) of a base on a
// body of the given mean radius; false if the base has no location or no
// such pad. Pad 0 names the base's reference point itself.
bool PadLocation(const BaseConfig &base, int pad, double radiusMetres, double *lonRad, double *latRad);

} // namespace headless

#endif // KORVANE_HEADLESS_BASE_CONFIG_H
