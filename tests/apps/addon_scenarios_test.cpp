// The scenarios the add-on ships for the real simulator: they name only the
// simulator's stock classes or Korvane, use only lines the simulator reads,
// and run in the stand-in without a single complaint.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <strings.h>
#include <vector>

#include <gtest/gtest.h>

#include "headless/messages.h"
#include "headless/scenario.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace {

// The vessel classes whose Config/Vessels/<class>.cfg a simulator
// installation ships (its published file list).
const char *const kStockClasses[] = {
    "Atlantis", "Atlantis_SRB", "Atlantis_Tank", "Carina",    "DG-S",       "Deltaglider", "Dragonfly",
    "HST",      "ISS",          "LDEF",          "Leonardo_mplm", "MaterialTestSphere", "Mir", "Module1",
    "Module2",  "ProjectAlpha_ISS", "Quadcopter", "ScriptPB",  "ShuttleA",   "ShuttleA_pl", "ShuttlePB",
    "SolarSail", "Sphere",      "Wheel",         "mplm",      "nasa_mmu"};

// Lines of a vessel block that the simulator reads for these classes; the
// stand-in's own TANK, MAINENGINE, BURN and EMPTYMASS are not among them.
const char *const kSimulatorLines[] = {"STATUS", "RPOS", "RVEL", "AROT", "VROT", "POS",
                                       "BASE",   "HEADING", "PRPLEVEL", "TARGET"};

bool OneOf(const std::string &word, const char *const *list, size_t n)
{
    return std::any_of(list, list + n, [&word](const char *w) { return strcasecmp(word.c_str(), w) == 0; });
}

std::vector<std::filesystem::path> AddonScenarios()
{
    std::vector<std::filesystem::path> files;
    for (const auto &entry : std::filesystem::directory_iterator(std::string(KORVANE_SOURCE_DIR) + "/addon/Scenarios/Korvane"))
        if (entry.path().extension() == ".scn")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(AddonScenariosTest, StockClassesAndTheSimulatorsLinesOnly)
{
    std::vector<std::filesystem::path> files = AddonScenarios();
    ASSERT_EQ(files.size(), 3u); // Default, Habana, Moon
    for (const std::filesystem::path &file : files) {
        SCOPED_TRACE(file.filename().string());
        std::ifstream in(file);
        headless::ScenarioFile scenario;
        std::string error;
        ASSERT_TRUE(headless::ParseScenario(in, scenario, &error)) << error;
        bool building = false;
        for (const headless::ScenarioShip &ship : scenario.ships) {
            building = building || ship.className == "Korvane";
            EXPECT_TRUE(ship.className == "Korvane" ||
                        OneOf(ship.className, kStockClasses, sizeof(kStockClasses) / sizeof(*kStockClasses)))
                << ship.className;
            for (const std::string &line : ship.lines) {
                std::string key = line.substr(0, line.find(' '));
                EXPECT_TRUE(OneOf(key, kSimulatorLines, sizeof(kSimulatorLines) / sizeof(*kSimulatorLines))) << line;
            }
        }
        EXPECT_TRUE(building);

        // In the stand-in: no missing class, base or planet, every stock
        // vessel with its class's mass, the building following its target.
        headless::MessageCapture messages;
        headless::Simulator sim(KORVANE_ROOT_DIR);
        ASSERT_TRUE(sim.loadScenario(file.string(), &error)) << error;
        EXPECT_TRUE(messages.lines().empty()) << messages.lines().front();
        for (Vessel *v : headless::World::instance().vessels())
            EXPECT_GT(v->mass(), 0.0) << v->name();
        ASSERT_NE(sim.focus(), nullptr);
        EXPECT_EQ(sim.focus()->className(), "Korvane");
        EXPECT_NE(sim.saveScenarioText().find("  TARGET "), std::string::npos);
    }
}

} // namespace
