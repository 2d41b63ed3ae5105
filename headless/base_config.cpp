#include "headless/base_config.h"

#include <cmath>

#include "headless/config_file.h"
#include "headless/vecmath.h"

namespace headless {

BaseConfig ReadBaseConfig(std::istream &in, std::vector<std::string> *problems)
{
    BaseConfig base;
    auto report = [problems](const ConfigLine &line, const char *what) {
        if (problems)
            problems->push_back("line " + std::to_string(line.number) + ": " + what + " \"" + line.value + "\"");
    };
    bool inObjectList = false;
    bool inPad = false;     // inside the block of a landing pad
    bool inObject = false;  // inside the block of any object
    for (const ConfigLine &line : ReadConfigLines(in, problems)) {
        if (!inObjectList) {
            std::vector<double> v;
            if (SameText(line.key, "Name")) {
                base.name = line.value;
            } else if (SameText(line.key, "Location")) {
                if (ParseNumbers(line.value, 2, &v) && v.size() == 2 && std::fabs(v[1]) <= 90.0) {
                    base.lonDeg = v[0];
                    base.latDeg = v[1];
                    base.hasLocation = true;
                } else {
                    report(line, "LOCATION needs a longitude and a latitude (degrees):");
                }
            } else if (SameText(line.key, "BEGIN_OBJECTLIST")) {
                inObjectList = true;
            }
            continue;
        }
        if (SameText(line.key, "END_OBJECTLIST")) {
            inObjectList = inObject = inPad = false;
        } else if (!inObject) {
            inObject = true;
            inPad = line.key.size() >= 4 && SameText(line.key.substr(0, 4), "LPAD");
            if (inPad)
                base.padsMetres.push_back(_V(0.0, 0.0, 0.0));
        } else if (SameText(line.key, "END")) {
            inObject = inPad = false;
        } else if (inPad && SameText(line.key, "POS")) {
            std::vector<double> v;
            if (ParseNumbers(line.value, 3, &v) && v.size() == 3)
                base.padsMetres.back() = _V(v[0], v[1], v[2]);
            else
                report(line, "POS needs three numbers (metres east, up, north):");
        }
    }
    return base;
}

bool PadLocation(const BaseConfig &base, int pad, double radiusMetres, double *lonRad, double *latRad)
{
    if (!base.hasLocation || pad < 0 || static_cast<size_t>(pad) > base.padsMetres.size() || !(radiusMetres > 0.0))
        return false;
    VECTOR3 offset = pad == 0 ? _V(0.0, 0.0, 0.0) : base.padsMetres[static_cast<size_t>(pad) - 1];
    double lat = DegreesToRadians(base.latDeg) + offset.z / radiusMetres;
    if (!(std::fabs(lat) < kPi / 2)) // a pad past the pole, or not a number
        return false;
    double lon = DegreesToRadians(base.lonDeg) + offset.x / (radiusMetres * std::cos(lat));
    *latRad = lat;
    *lonRad = std::remainder(lon, kTwoPi);
    return true;
}

} // namespace headless
