// The plug-in as the simulator sees it: loaded with dlopen from the
// simulator root, driven through a scenario, saved and loaded again.

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "headless/resources.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace {

const char kHeader[] = "BEGIN_ENVIRONMENT\n"
                       "  Date MJD 60650.5\n"
                       "END_ENVIRONMENT\n"
                       "BEGIN_SHIPS\n";
const char kBuilding[] = "Houston:Korvane\n"
                         "  STATUS Landed Earth\n"
                         "  POS -95.09 29.5593\n"
                         "  TARGET Station\n"
                         "END\n";
const char kStation[] = "Station:Generic\n"
                        "  STATUS Orbiting Earth\n"
                        "  ELEMENTS 6776000 0.0015 51.6 120 160 25 60650.5\n"
                        "  AROT 10 -35 80\n"
                        "  EMPTYMASS 400000\n"
                        "  TANK 30000 25000\n"
                        "END\n";
const char kFooter[] = "END_SHIPS\n";

// The target's block first, so that the building finds it.
const std::string kScenario = std::string(kHeader) + kStation + kBuilding + kFooter;

std::set<std::string> ExportedSymbols(const std::string &library)
{
    std::set<std::string> symbols;
    std::string command = "nm -D --defined-only '" + library + "'";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return symbols;
    char line[1024];
    while (std::fgets(line, sizeof(line), pipe)) {
        std::istringstream in(line);
        std::string address, type, name;
        in >> address >> type >> name;
        // Code and data symbols; the loader's own entries (version nodes) have
        // type A.
        if (!name.empty() && type != "A")
            symbols.insert(name);
    }
    pclose(pipe);
    return symbols;
}

std::string TargetLine(const std::string &scenario)
{
    size_t at = scenario.find("TARGET");
    if (at == std::string::npos)
        return std::string();
    return scenario.substr(at, scenario.find('\n', at) - at);
}

TEST(PluginTest, ExportsExactlyTheFourEntryPoints)
{
    std::set<std::string> expected = {"InitModule", "ExitModule", "ovcInit", "ovcExit"};
    EXPECT_EQ(ExportedSymbols(std::string(KORVANE_ROOT_DIR) + "/Modules/Korvane.so"), expected);
}

TEST(PluginTest, ScenarioRunsSavesAndLoadsBackWithItsTarget)
{
    headless::ResourceCounts before = headless::LiveResources();
    std::string saved;
    VECTOR3 stationPos{}, stationVel{};
    {
        headless::Simulator sim(KORVANE_ROOT_DIR);
        std::string error;
        ASSERT_TRUE(sim.loadScenarioText(kScenario, &error)) << error;
        Vessel *building = headless::World::instance().vesselByName("Houston");
        ASSERT_NE(building, nullptr);
        EXPECT_NE(building->module, nullptr) << "the building must come from the plug-in";
        EXPECT_EQ(building->emptyMassKg, 1000.0); // class caps ran
        EXPECT_EQ(headless::LiveResources().pens - before.pens, 24);
        for (int k = 0; k < 10; ++k)
            sim.frame(1.0);
        saved = sim.saveScenarioText();
        stationPos = headless::World::instance().vesselByName("Station")->relativePos();
        stationVel = headless::World::instance().vesselByName("Station")->relativeVel();
    }
    EXPECT_EQ(TargetLine(saved), "TARGET Station");

    // Everything the building made is released by ovcExit.
    headless::ResourceCounts after = headless::LiveResources();
    EXPECT_EQ(after.pens, before.pens);
    EXPECT_EQ(after.brushes, before.brushes);
    EXPECT_EQ(after.fonts, before.fonts);
    EXPECT_EQ(after.surfaces, before.surfaces);
    EXPECT_EQ(after.invalidReleases, before.invalidReleases);

    // The saved scenario reads back to the same state, target included.
    headless::Simulator again(KORVANE_ROOT_DIR);
    std::string error;
    ASSERT_TRUE(again.loadScenarioText(saved, &error)) << error;
    EXPECT_EQ(TargetLine(again.saveScenarioText()), "TARGET Station");
    headless::World &world = headless::World::instance();
    EXPECT_NEAR(world.mjd(), 60650.5 + 10.0 / 86400.0, 1e-9);
    Vessel *station = world.vesselByName("Station");
    ASSERT_NE(station, nullptr);
    EXPECT_EQ(station->status, Vessel::Status::Orbiting);
    EXPECT_EQ(station->mass(), 425000.0);
    Vessel *building = world.vesselByName("Houston");
    ASSERT_NE(building, nullptr);
    EXPECT_EQ(building->status, Vessel::Status::Landed);
    EXPECT_NEAR(building->landedLonRad * 180.0 / 3.14159265358979323846, -95.09, 1e-9);
    // The saved orbit is the orbit that was flown.
    VECTOR3 r = station->relativePos(), v = station->relativeVel();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(r.data[i], stationPos.data[i], 1e-6);
        EXPECT_NEAR(v.data[i], stationVel.data[i], 1e-9);
    }
}

TEST(PluginTest, TargetNamedBeforeItsOwnBlockIsIgnored)
{
    // The building reads its lines when it is created; a target further
    // down the file does not exist yet, so the line is dropped like any
    // unknown vessel.
    headless::Simulator sim(KORVANE_ROOT_DIR);
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(std::string(kHeader) + kBuilding + kStation + kFooter, &error)) << error;
    EXPECT_EQ(TargetLine(sim.saveScenarioText()), "");
}

} // namespace
