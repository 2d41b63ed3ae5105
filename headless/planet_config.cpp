#include "headless/planet_config.h"

#include <cmath>

#include "headless/config_file.h"
#include "headless/vecmath.h"

namespace headless {

namespace {

// Dates within this many days of MJD 0 (27000 years), where the rotation
// model's arithmetic stays far from overflow.
constexpr double kDateRangeDays = 1e7;

enum class Range { Positive, AtLeastOneMetre, Period, Precession, Any, Date, Obliquity, Eccentricity };

bool InRange(double v, Range range)
{
    switch (range) {
    case Range::Positive:
        return v > 0.0;
    case Range::AtLeastOneMetre:
        return v >= 1.0;
    case Range::Period: // one second or more, either sense
        return std::fabs(v) >= 1.0;
    case Range::Precession: // none, or one day or more, either sense
        return v == 0.0 || std::fabs(v) >= 1.0;
    case Range::Any:
        return true;
    case Range::Date:
        return std::fabs(v) <= kDateRangeDays;
    case Range::Obliquity:
        return v >= 0.0 && v <= kPi;
    case Range::Eccentricity:
        return v >= 0.0 && v < 1.0;
    }
    return false;
}

struct Key {
    const char *name;
    double *target;
    Range range;
    bool orbit; // one of the seven orbit keys
    bool seen;  // a good value was read
    bool bad;   // a damaged value was reported
};

} // namespace

void ReadPlanetConfig(std::istream &in, PlanetConfig *config, std::vector<std::string> *problems)
{
    PlanetConfig read = *config;
    Key keys[] = {
        {"Mass", &read.massKg, Range::Positive, false, false, false},
        {"Size", &read.radiusMetres, Range::Positive, false, false, false},
        {"Obliquity", &read.rotation.obliquityRad, Range::Obliquity, false, false, false},
        {"LAN", &read.rotation.equatorNodeRad, Range::Any, false, false, false},
        {"LAN_MJD", &read.rotation.equatorNodeMjd, Range::Date, false, false, false},
        {"SidRotOffset", &read.rotation.rotationOffsetRad, Range::Any, false, false, false},
        {"SidRotPeriod", &read.rotation.siderealPeriodSeconds, Range::Period, false, false, false},
        {"PrecessionPeriod", &read.rotation.precessionPeriodDays, Range::Precession, false, false, false},
        {"OrbitEpoch", &read.orbitEpochMjd, Range::Date, true, false, false},
        {"SemiMajorAxis", &read.orbit.a, Range::AtLeastOneMetre, true, false, false},
        {"Eccentricity", &read.orbit.e, Range::Eccentricity, true, false, false},
        {"Inclination", &read.orbit.i, Range::Any, true, false, false},
        {"LongAscNode", &read.orbit.theta, Range::Any, true, false, false},
        {"LongPeriapsis", &read.orbit.omegab, Range::Any, true, false, false},
        {"MeanLongitude", &read.orbit.L, Range::Any, true, false, false},
    };
    auto report = [problems](const std::string &text) {
        if (problems)
            problems->push_back(text);
    };

    for (const ConfigLine &line : ReadConfigLines(in, problems)) {
        for (Key &key : keys) {
            if (!SameText(line.key, key.name))
                continue;
            double v = 0.0;
            if (ParseNumber(line.value, &v) && InRange(v, key.range)) {
                *key.target = v;
                key.seen = true;
            } else {
                key.bad = true;
                report("line " + std::to_string(line.number) + ": " + key.name + " \"" + line.value +
                       "\" is not a valid value");
            }
        }
    }

    bool anyOrbitKey = false, allOrbitKeys = true;
    for (const Key &key : keys) {
        if (key.orbit) {
            anyOrbitKey = anyOrbitKey || key.seen;
            allOrbitKeys = allOrbitKeys && key.seen;
        } else if (!key.seen) {
            report(std::string(key.name) + (key.bad ? " damaged" : " missing") + ": built-in value kept");
        }
    }
    if ((config->hasOrbit || anyOrbitKey) && !allOrbitKeys)
        report("orbit missing or incomplete: built-in orbit kept");

    PlanetConfig result = read;
    if (!allOrbitKeys) {
        result.hasOrbit = config->hasOrbit;
        result.orbit = config->orbit;
        result.orbitEpochMjd = config->orbitEpochMjd;
    } else {
        result.hasOrbit = true;
    }
    *config = result;
}

PlanetConfig BuiltInEarth()
{
    PlanetConfig earth;
    earth.massKg = 5.973698968e24;
    earth.radiusMetres = 6.37101e6;
    earth.rotation.obliquityRad = 0.4090928023;
    earth.rotation.equatorNodeRad = 0.0;
    earth.rotation.equatorNodeMjd = 51544.5;
    earth.rotation.rotationOffsetRad = 4.88948754;
    earth.rotation.siderealPeriodSeconds = 86164.10132;
    earth.rotation.precessionPeriodDays = -9413040.4;
    return earth;
}

PlanetConfig BuiltInMoon()
{
    PlanetConfig moon;
    moon.massKg = 7.346e22;
    moon.radiusMetres = 1.7374e6;
    moon.rotation.obliquityRad = 0.02691995838;
    moon.rotation.equatorNodeRad = 2.182439073;
    moon.rotation.equatorNodeMjd = 51544.5;
    moon.rotation.rotationOffsetRad = 4.769473759;
    moon.rotation.siderealPeriodSeconds = 2360591.51;
    moon.rotation.precessionPeriodDays = -6798.38;
    moon.hasOrbit = true;
    moon.orbit = ELEMENTS{3.84399e8, 0.0549, 0.0898041015, 2.182439073, 1.454788594, 3.810340824};
    moon.orbitEpochMjd = 51544.5;
    return moon;
}

} // namespace headless
