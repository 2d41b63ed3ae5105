// Sessions of the stand-in for the network's tests: the build's simulator
// root, with or without the KorvaneNet plug-in that its Orbiter.cfg
// activates, and small helpers on the host's vessels.

#ifndef KORVANE_TESTS_TRACKNET_SESSION_H
#define KORVANE_TESTS_TRACKNET_SESSION_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace tracknet_test {

constexpr char kPluginName[] = "KorvaneNet";

// An empty scenario at MJD 60650.5.
constexpr char kEmptyScenario[] = "BEGIN_ENVIRONMENT\n"
                                  "  Date MJD 60650.5\n"
                                  "END_ENVIRONMENT\n"
                                  "BEGIN_SHIPS\n"
                                  "END_SHIPS\n";

// A station on a 51.6 degree orbit and a building at Houston that follows it.
constexpr char kStationScenario[] = "BEGIN_ENVIRONMENT\n"
                                    "  Date MJD 60650.5\n"
                                    "END_ENVIRONMENT\n"
                                    "BEGIN_FOCUS\n"
                                    "  Ship Houston\n"
                                    "END_FOCUS\n"
                                    "BEGIN_SHIPS\n"
                                    "ISS:ProjectAlpha_ISS\n"
                                    "  STATUS Orbiting Earth\n"
                                    "  ELEMENTS 6776000 0.0015 51.6 120 160 25 60650.5\n"
                                    "END\n"
                                    "Houston:Korvane\n"
                                    "  STATUS Landed Earth\n"
                                    "  POS -95.09 29.5593\n"
                                    "  TARGET ISS\n"
                                    "END\n"
                                    "END_SHIPS\n";

// A session of the build's root, started with a scenario; withPlugin false
// leaves KorvaneNet out.
inline std::unique_ptr<headless::Simulator> StartSession(const std::string &scenario, bool withPlugin)
{
    std::vector<std::string> skipped;
    if (!withPlugin)
        skipped.push_back(kPluginName);
    auto sim = std::make_unique<headless::Simulator>(KORVANE_ROOT_DIR, skipped);
    std::string error;
    EXPECT_TRUE(sim->loadScenarioText(scenario, &error)) << error;
    return sim;
}

inline OBJHANDLE VesselNamed(const char *name)
{
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%s", name);
    return oapiGetVesselByName(buffer);
}

inline std::string NameOf(OBJHANDLE h)
{
    char name[64];
    oapiGetObjectName(h, name, sizeof(name));
    return name;
}

// The names of the session's vessels of a class, in the host's order.
inline std::vector<std::string> VesselsOfClass(const char *className)
{
    std::vector<std::string> names;
    for (Vessel *v : headless::World::instance().vessels())
        if (v->className() == className)
            names.push_back(v->name());
    return names;
}

} // namespace tracknet_test

#endif // KORVANE_TESTS_TRACKNET_SESSION_H
