// The preview's JSON report: its shape, and names that are not UTF-8.

#include <memory>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "apps/run_report.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace {

TEST(RunReportTest, FieldsInOrderAndNamesThatAreNotUtf8)
{
    headless::World &world = headless::World::instance();
    world.reset();
    world.setStartMjd(60650.5);
    // A Windows-1252 name, as the simulator's own files may hold one.
    auto *v = world.addVessel(std::make_unique<Vessel>("Caf\xE9", "Generic"));
    v->makeGenericInterface();
    for (const char *line : {"STATUS Landed Moon", "POS 10 -20", "EMPTYMASS 1500"})
        ASSERT_TRUE(v->parseLine(line));
    v->finishLoading(world.mjd());

    std::string text = preview::RunReportText();
    nlohmann::ordered_json report = nlohmann::ordered_json::parse(text);
    EXPECT_EQ(report.at("mjd").get<double>(), 60650.5);
    ASSERT_EQ(report.at("vessels").size(), 1u);
    const nlohmann::ordered_json &entry = report["vessels"][0];
    std::vector<std::string> keys;
    for (auto it = entry.begin(); it != entry.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"name", "class", "status", "reference", "longitude_deg",
                                              "latitude_deg", "altitude_m", "speed_mps", "mass_kg"}));
    EXPECT_EQ(entry["name"], "Caf\xEF\xBF\xBD"); // U+FFFD in place of the byte
    EXPECT_EQ(entry["status"], "landed");
    EXPECT_EQ(entry["reference"], "Moon");
    EXPECT_NEAR(entry["longitude_deg"].get<double>(), 10.0, 1e-9);
    EXPECT_NEAR(entry["latitude_deg"].get<double>(), -20.0, 1e-9);
    EXPECT_NEAR(entry["altitude_m"].get<double>(), 0.0, 1e-6);
    EXPECT_EQ(entry["mass_kg"].get<double>(), 1500.0);
    world.reset();

    EXPECT_FALSE(preview::WriteRunReport("/nonexistent-korvane-dir/report.json", nullptr));
}

} // namespace
