// The simulator root's configuration files: the first byte of the input
// chooses the kind (planet, surface base, vessel class), the rest is the
// file. Whatever the bytes, what the readers keep stays within the ranges
// their formats document, and what the stand-in makes of it is finite.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "headless/base_config.h"
#include "headless/messages.h"
#include "headless/planet_config.h"
#include "headless/propellant.h"
#include "headless/scenario.h"
#include "headless/vecmath.h"
#include "headless/vessel.h"
#include "headless/vessel_config.h"
#include "headless/world.h"

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool Finite(const VECTOR3 &v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

void Planet(std::istream &in)
{
    headless::World &world = headless::World::instance();
    world.reset();
    headless::PlanetConfig cfg = headless::BuiltInMoon();
    std::vector<std::string> problems;
    headless::ReadPlanetConfig(in, &cfg, &problems);
    Check(cfg.massKg > 0.0 && cfg.radiusMetres > 0.0);
    Check(cfg.rotation.obliquityRad >= 0.0 && cfg.rotation.obliquityRad <= headless::kPi);
    Check(std::fabs(cfg.rotation.siderealPeriodSeconds) >= 1.0);
    Check(cfg.hasOrbit && cfg.orbit.a >= 1.0 && cfg.orbit.e >= 0.0 && cfg.orbit.e < 1.0);
    world.moon()->configure(cfg);
    for (double mjd : {-9999999.0, 51544.5, 61000.0, 9999999.0}) {
        world.setStartMjd(mjd);
        MATRIX3 r = world.moon()->orientation(mjd);
        for (int k = 0; k < 3; ++k)
            Check(std::fabs(headless::length(headless::column(r, k)) - 1.0) < 1e-9);
        Check(Finite(world.moon()->globalPos()) && Finite(world.moon()->globalVel()));
        Check(Finite(world.moon()->angularVelocity(mjd)));
    }
    world.reset();
}

void Base(std::istream &in)
{
    std::vector<std::string> problems;
    headless::BaseConfig base = headless::ReadBaseConfig(in, &problems);
    Check(!base.hasLocation || std::fabs(base.latDeg) <= 90.0);
    for (int pad = -1; pad <= static_cast<int>(base.padsMetres.size()) + 1; ++pad) {
        double lon = 0.0, lat = 0.0;
        if (headless::PadLocation(base, pad, 6371010.0, &lon, &lat))
            Check(std::isfinite(lon) && std::fabs(lat) < headless::kPi / 2);
    }
}

void VesselClass(std::istream &in)
{
    std::vector<std::string> problems;
    headless::VesselClassConfig cls = headless::ReadVesselClassConfig(in, &problems);
    Check(cls.tankCapacitiesKg.size() <= headless::kMaxTanksPerVessel);
    for (double c : cls.tankCapacitiesKg)
        Check(c >= 0.0 && std::isfinite(c));
    Check(!cls.hasMainEngine || (cls.mainThrustNewton >= 0.0 && cls.mainIspMetresPerSecond > 0.0));

    // A vessel of the class, its tanks half filled, saved: its fills come
    // back as fills, one for every tank of the class.
    headless::World &world = headless::World::instance();
    world.reset();
    Vessel *v = world.addVessel(std::make_unique<Vessel>("V", "Fuzzed"));
    v->makeGenericInterface();
    cls.meshName.clear(); // the mesh store is not what this target looks at
    v->applyClass(cls);
    Check(v->tanks.size() == cls.tankCapacitiesKg.size());
    v->parseLine("PRPLEVEL 0:0.5 1:0.25");
    headless::ScenarioWriter out;
    v->writeState(out, 0.0);
    Check(cls.tankCapacitiesKg.empty() == (out.text().find("PRPLEVEL") == std::string::npos));
    Check(out.text().find("TANK") == std::string::npos);
    world.reset();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    headless::MessageCapture quiet;
    std::istringstream in(std::string(reinterpret_cast<const char *>(data) + 1, size - 1));
    switch (data[0] % 3) {
    case 0:
        Planet(in);
        break;
    case 1:
        Base(in);
        break;
    default:
        VesselClass(in);
        break;
    }
    return 0;
}
