// The building inside the headless simulator when the host world misbehaves:
// its target deleted while followed, visuals destroyed and made again, the
// cockpit reloaded elsewhere, and very long time steps. The plug-in is
// loaded from the simulator root as the simulator loads it; what it does is
// read from the host's side (recorded drawing, saved scenario, resources).

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/resources.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vc.h"
#include "headless/world.h"
#include "recording.h"

namespace {

using headless::DrawCall;
using headless::DrawOp;

const char kScenario[] = "BEGIN_ENVIRONMENT\n"
                         "  Date MJD 60650.5\n"
                         "END_ENVIRONMENT\n"
                         "BEGIN_FOCUS\n"
                         "  Ship Houston\n"
                         "END_FOCUS\n"
                         "BEGIN_SHIPS\n"
                         "Station:Generic\n"
                         "  STATUS Orbiting Earth\n"
                         "  ELEMENTS 6776000 0.0015 51.6 120 160 25 60650.5\n"
                         "  EMPTYMASS 400000\n"
                         "  TANK 30000 25000\n"
                         "  MAINENGINE 600000 3100\n"
                         "  BURN 30 20 1.0\n"
                         "END\n"
                         "Houston:Korvane\n"
                         "  STATUS Landed Earth\n"
                         "  POS -95.09 29.5593\n"
                         "  TARGET Station\n"
                         "END\n"
                         "END_SHIPS\n";

class HostFaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = headless::LiveResources();
        sim = std::make_unique<headless::Simulator>(KORVANE_ROOT_DIR);
        std::string error;
        ASSERT_TRUE(sim->loadScenarioText(kScenario, &error)) << error;
        sim->openVisuals();
        ASSERT_TRUE(sim->loadCockpit(0));
        headless::ClearRecordings();
    }
    void TearDown() override
    {
        sim.reset();
        headless::ClearRecordings();
        // Every pen, brush, font, surface and sketchpad the building obtained
        // was given back, and none twice.
        headless::ResourceCounts after = headless::LiveResources();
        EXPECT_EQ(after.pens, before.pens);
        EXPECT_EQ(after.brushes, before.brushes);
        EXPECT_EQ(after.fonts, before.fonts);
        EXPECT_EQ(after.surfaces, before.surfaces);
        EXPECT_EQ(after.sketchpads, 0);
        EXPECT_EQ(after.invalidReleases, before.invalidReleases);
    }
    // The drawing of one screen in the frames run: the last record drawn on
    // the building's shared surface right before the copy to that screen's
    // texture is not visible from here, so screens are told apart by what
    // only they write.
    static std::vector<DrawCall> LastScreenWith(const std::string &text)
    {
        const auto &records = headless::Recordings();
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (testsupport::FindText(it->calls, text))
                return it->calls;
        return {};
    }
    void run(int frames, double step)
    {
        headless::ClearRecordings();
        for (int i = 0; i < frames; ++i)
            sim->frame(step);
    }

    headless::ResourceCounts before;
    std::unique_ptr<headless::Simulator> sim;
};

TEST_F(HostFaultsTest, TargetDeletedWhileFollowed)
{
    run(20, 1.0);
    std::vector<DrawCall> graphs = LastScreenWith("Spd[km/s]");
    ASSERT_FALSE(graphs.empty());
    size_t samplesBefore = testsupport::Only(graphs, DrawOp::Polyline)[0].points.size();
    EXPECT_GE(samplesBefore, 5u);
    EXPECT_NE(testsupport::FindText(LastScreenWith("Planet Relative Attitude"), "Total Mass:"), nullptr);

    sim->deleteVessel(headless::World::instance().vesselByName("Station"));
    run(20, 1.0);
    // Sampling stopped: the curves hold what they held.
    graphs = LastScreenWith("Spd[km/s]");
    EXPECT_EQ(testsupport::Only(graphs, DrawOp::Polyline)[0].points.size(), samplesBefore);
    // The telemetry page is back to its labels, the gauges to their frames.
    EXPECT_EQ(testsupport::Only(LastScreenWith("Planet Relative Attitude"), DrawOp::Text).size(), 34u);
    EXPECT_EQ(testsupport::FindText(graphs, "FUEL"), nullptr);
    // The map no longer marks it.
    std::vector<DrawCall> map = LastScreenWith("Target: Station");
    ASSERT_FALSE(map.empty());
    EXPECT_EQ(testsupport::FindText(map, "Station"), nullptr);

    // A vessel of the same name later is not the old handle: a new look-up
    // is needed (Ctrl+T) before it is followed.
    std::string saved = sim->saveScenarioText();
    EXPECT_NE(saved.find("TARGET Station"), std::string::npos); // the name chosen stays
}

TEST_F(HostFaultsTest, VisualsRemadeAndCockpitReloadedElsewhere)
{
    run(5, 1.0);
    sim->closeVisuals();
    run(5, 1.0);
    sim->openVisuals();
    run(5, 1.0);
    EXPECT_FALSE(LastScreenWith("Target: Station").empty());

    for (int position : {2, 1, 7, 0}) {
        ASSERT_TRUE(sim->loadCockpit(position));
        EXPECT_EQ(headless::VirtualCockpit::instance().areas().size(), 35u);
        run(4, 1.0);
        EXPECT_FALSE(LastScreenWith("Spd[km/s]").empty()) << position;
        EXPECT_FALSE(LastScreenWith("Target: Station").empty()) << position;
    }
    // The MFD panels still answer clicks after the reloads.
    EXPECT_TRUE(sim->clickArea(112));
    run(1, 1.0);
    EXPECT_FALSE(LastScreenWith("PWR").empty());
}

TEST_F(HostFaultsTest, VeryLongSteps)
{
    // Time acceleration: steps of 1000 s and more. Every step samples, the
    // history stays bounded, the burn inside a step is flown, and the
    // screens keep drawing finite numbers.
    run(700, 1500.0);
    std::vector<DrawCall> graphs = LastScreenWith("Spd[km/s]");
    ASSERT_FALSE(graphs.empty());
    std::vector<DrawCall> curves = testsupport::Only(graphs, DrawOp::Polyline);
    EXPECT_EQ(curves[0].points.size(), 600u);
    for (const DrawCall &c : testsupport::Only(graphs, DrawOp::Text))
        EXPECT_EQ(c.text.find("nan"), std::string::npos) << c.text;
    Vessel *station = headless::World::instance().vesselByName("Station");
    EXPECT_LT(station->propellantMass(), 25000.0); // the burn at 30 s happened within the first step
    EXPECT_GT(station->altitudeMeanRadius(), 300e3);
    run(3, 1e6);
    EXPECT_FALSE(LastScreenWith("Target: Station").empty());
}

} // namespace
