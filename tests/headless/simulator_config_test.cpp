// The simulator root's configuration as a session uses it: planets from
// their files, stock vessel classes without a module, landing at bases, the
// focus, the scenario's other sections and the limits of hostile files.

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "VesselAPI.h"
#include "headless/messages.h"
#include "headless/vessel_view.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;

// A simulator root of its own in /tmp, removed afterwards.
class TempRoot {
public:
    TempRoot()
    {
        char dir[] = "/tmp/korvane-root-XXXXXX";
        path_ = mkdtemp(dir) ? dir : "";
    }
    ~TempRoot()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    void write(const std::string &relative, const std::string &text) const
    {
        std::filesystem::path p = std::filesystem::path(path_) / relative;
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

std::string Scenario(const std::string &ships, const std::string &sections = "")
{
    return "BEGIN_ENVIRONMENT\n  Date MJD 51544.5\nEND_ENVIRONMENT\n" + sections + "BEGIN_SHIPS\n" + ships +
           "END_SHIPS\n";
}

const char kGlider[] = "; a stock class of the stand-in\n"
                       "ClassName = DeltaGlider\n"
                       "Size = 10\n"
                       "Mass = 11000\n"
                       "MaxFuel = 10400 600\n"
                       "MaxMainThrust = 320000\n"
                       "Isp = 40000\n"
                       "MeshName = DG\\deltaglider\n";

TEST(SimulatorConfigTest, PlanetsComeFromTheirFilesOrKeepTheBuiltInFigures)
{
    TempRoot root;
    root.write("Config/Earth.cfg", "Mass = 6e24\nSize = 6.4e6\nObliquity = 0.5\nLAN = 0\nLAN_MJD = 51544.5\n"
                                   "SidRotOffset = 1.0\nSidRotPeriod = oops\nPrecessionPeriod = 0\n");
    headless::MessageCapture messages;
    headless::Simulator sim(root.path());
    char earthName[] = "Earth", moonName[] = "Moon";
    OBJHANDLE earth = oapiGetObjectByName(earthName), moon = oapiGetObjectByName(moonName);
    EXPECT_EQ(oapiGetMass(earth), 6e24);
    EXPECT_EQ(oapiGetSize(earth), 6.4e6);
    EXPECT_EQ(oapiGetPlanetObliquity(earth), 0.5);
    EXPECT_NEAR(oapiGetPlanetCurrentRotation(earth), 1.0, 1e-12);
    EXPECT_EQ(oapiGetPlanetPeriod(earth), 86164.10132); // the damaged key's built-in value
    EXPECT_TRUE(messages.contains("Config/Earth.cfg: line 7: SidRotPeriod \"oops\" is not a valid value"));
    // No Moon.cfg: the built-in Moon, and a message.
    EXPECT_EQ(oapiGetSize(moon), 1737400.0);
    EXPECT_TRUE(messages.contains("Config/Moon.cfg not found: built-in figures used"));
}

TEST(SimulatorConfigTest, StockClassesTakeTheirFiguresAndSaveTheirFills)
{
    TempRoot root;
    root.write("Config/Vessels/DeltaGlider.cfg", kGlider);
    std::string saved;
    {
        headless::Simulator sim(root.path());
        std::string error;
        // The class named as a Windows scenario may write it: any case.
        ASSERT_TRUE(sim.loadScenarioText(Scenario("GL-01:Deltaglider\n  STATUS Orbiting Earth\n"
                                                  "  RPOS 7000000 0 0\n  RVEL 0 0 7546\n"
                                                  "  PRPLEVEL 0:0.5 1:1.000000\n  NAVFREQ 0 0\n  XPDR 466\nEND\n"),
                                         &error))
            << error;
        Vessel *gl = headless::World::instance().vesselByName("GL-01");
        ASSERT_NE(gl, nullptr);
        VESSEL *v = gl->iface;
        // 11000 kg empty, half of 10400 kg and all of 600 kg.
        EXPECT_EQ(v->GetMass(), 11000.0 + 5200.0 + 600.0);
        ASSERT_EQ(v->GetPropellantCount(), 2u);
        EXPECT_EQ(v->GetPropellantMaxMass(v->GetPropellantHandleByIndex(0)), 10400.0);
        EXPECT_EQ(v->GetPropellantMass(v->GetPropellantHandleByIndex(1)), 600.0);
        EXPECT_EQ(gl->mainThrustNewton, 320000.0);
        EXPECT_EQ(gl->size(), 10.0);
        EXPECT_EQ(gl->meshes.size(), 1u);
        saved = sim.saveScenarioText();
    }
    // The class's tanks go back as fills, nothing of the class is written as
    // the vessel's own, and unknown lines come back in order.
    EXPECT_NE(saved.find("GL-01:Deltaglider\n"), std::string::npos);
    EXPECT_NE(saved.find("  PRPLEVEL 0:0.5 1:1\n"), std::string::npos);
    EXPECT_EQ(saved.find("TANK"), std::string::npos);
    EXPECT_EQ(saved.find("EMPTYMASS"), std::string::npos);
    EXPECT_NE(saved.find("  NAVFREQ 0 0\n  XPDR 466\n"), std::string::npos);

    headless::Simulator again(root.path());
    std::string error;
    ASSERT_TRUE(again.loadScenarioText(saved, &error)) << error;
    Vessel *gl = headless::World::instance().vesselByName("GL-01");
    ASSERT_NE(gl, nullptr);
    EXPECT_EQ(gl->mass(), 16800.0);
    EXPECT_EQ(gl->tanks.size(), 2u);
}

TEST(SimulatorConfigTest, AClassThatMayNotHaveTheFocusNeverGetsIt)
{
    TempRoot root;
    root.write("Config/Vessels/Beacon.cfg", "Mass = 10\nEnableFocus = FALSE\n");
    headless::MessageCapture messages;
    headless::Simulator sim(root.path());
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(Scenario("B1:Beacon\nEND\nShip:Generic\nEND\n",
                                              "BEGIN_FOCUS\n  Ship B1\nEND_FOCUS\n"),
                                     &error));
    ASSERT_NE(sim.focus(), nullptr);
    EXPECT_EQ(sim.focus()->name(), "Ship");
    EXPECT_TRUE(messages.contains("B1 can never have the focus"));

    // Only such vessels: no focus at all.
    headless::Simulator lonely(root.path());
    ASSERT_TRUE(lonely.loadScenarioText(Scenario("B1:Beacon\nEND\n"), &error));
    EXPECT_EQ(lonely.focus(), nullptr);
}

TEST(SimulatorConfigTest, LandedVesselsStandAtTheirBasesPads)
{
    TempRoot root;
    root.write("Config/Earth/Base/test.cfg", "NAME Test Base\nLOCATION = 10.0 -20.0\nBEGIN_OBJECTLIST\n"
                                             "LPAD2\n  POS 0 0 1000\nEND\nEND_OBJECTLIST\n");
    headless::MessageCapture messages;
    headless::Simulator sim(root.path());
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(Scenario("A:Generic\n  STATUS Landed Earth\n  BASE test base:1\n"
                                              "  HEADING 90\nEND\n"
                                              "B:Generic\n  STATUS Landed Earth\n  BASE Nowhere:1\n"
                                              "  POS 5 6\nEND\n"
                                              "C:Generic\n  STATUS Landed Earth\n  BASE Test Base:7\nEND\n"),
                                     &error));
    // Pad 1 is 1000 m north of 10 E, 20 S: 1000 / 6371010 rad = 0.0089932 deg.
    double lng, lat, rad;
    headless::World::instance().vesselByName("A")->iface->GetEquPos(lng, lat, rad);
    EXPECT_NEAR(lng / kDeg, 10.0, 1e-9);
    EXPECT_NEAR(lat / kDeg, -20.0 + 0.0089932, 1e-7);
    // An unknown base or pad: the POS stays (or the default place), reported.
    headless::World::instance().vesselByName("B")->iface->GetEquPos(lng, lat, rad);
    EXPECT_NEAR(lng / kDeg, 5.0, 1e-9);
    EXPECT_NEAR(lat / kDeg, 6.0, 1e-9);
    EXPECT_TRUE(messages.contains("vessel B: no base Nowhere on Earth"));
    EXPECT_TRUE(messages.contains("vessel C: base Test Base has no location or no pad 7"));
    // The pad is written back with the place it gave.
    // (1000 / 6371010 rad = 0.0089932019 deg.)
    std::string saved = sim.saveScenarioText();
    EXPECT_NE(saved.find("  BASE test base:1\n  POS 10.0000000000 -19.99100679"), std::string::npos);
}

TEST(SimulatorConfigTest, TheStandInShipsTheScenariosBases)
{
    headless::Simulator sim(KORVANE_ROOT_DIR);
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(Scenario("GL-01:DeltaGlider\n  STATUS Landed Earth\n  BASE Habana:2\nEND\n"
                                              "KSC:ShuttlePB\n  STATUS Landed Earth\n  BASE Cape Canaveral:1\nEND\n"
                                              "SH-01:ShuttleA\n  STATUS Landed Moon\n  BASE Brighton Beach:1\nEND\n"),
                                     &error))
        << error;
    // Habana at its published place, 23.1136 N 82.3666 W; pad 2 is 120 m east
    // and 80 m north of it.
    const double R = 6371010.0;
    double lng, lat, rad;
    headless::World::instance().vesselByName("GL-01")->iface->GetEquPos(lng, lat, rad);
    double padLat = 23.1136 * kDeg + 80.0 / R;
    EXPECT_NEAR(lat, padLat, 1e-12);
    EXPECT_NEAR(lng, -82.3666 * kDeg + 120.0 / (R * std::cos(padLat)), 1e-12);
    // Pad 1 of Cape Canaveral is Launch Complex 39A, 28.6083 N 80.6041 W.
    headless::World::instance().vesselByName("KSC")->iface->GetEquPos(lng, lat, rad);
    EXPECT_NEAR(lat / kDeg, 28.6083, 1e-4);
    EXPECT_NEAR(lng / kDeg, -80.6041, 1e-4);
    // Brighton Beach stands on the Moon.
    Vessel *sh = headless::World::instance().vesselByName("SH-01");
    EXPECT_EQ(sh->iface->GetEquPos(lng, lat, rad), headless::World::instance().moon()->handle());
    EXPECT_NEAR(rad, 1737400.0, 1e-6);
    EXPECT_NEAR(lat / kDeg, 41.12 + 40.0 / 1737400.0 / kDeg, 1e-9);
    // The stock classes are there with their figures.
    EXPECT_EQ(headless::World::instance().vesselByName("GL-01")->mass(), 11000.0 + 10400.0 + 600.0);
    EXPECT_GT(sh->mass(), 13000.0);
}

TEST(SimulatorConfigTest, OtherSectionsAndAttitudeAreWrittenBackAsRead)
{
    headless::Simulator sim("/nonexistent-korvane-root");
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(Scenario("S:Generic\n  STATUS Orbiting Earth\n  RPOS 7000000 0 0\n"
                                              "  RVEL 0 0 7546\n  AROT 10 -35 80\nEND\n"
                                              "T:Generic\n  STATUS Orbiting Earth\n  RPOS 0 0 7000000\n"
                                              "  RVEL 7546 0 0\n  AROT 10 -35 80\n  VROT 0 1 0\nEND\n",
                                              "BEGIN_CAMERA\n  TARGET S\n  MODE Extern\n  FOV 50.00\nEND_CAMERA\n"
                                              "BEGIN_MFD Left\n  TYPE Orbit\nEND_MFD\n") +
                                         "BEGIN_Plugin\n  X 1\nEND_Plugin\n",
                                     &error));
    EXPECT_EQ(headless::SessionFovDeg(sim), 50.0);
    sim.frame(10.0);
    std::string saved = sim.saveScenarioText();
    size_t camera = saved.find("BEGIN_CAMERA\n  TARGET S\n  MODE Extern\n  FOV 50.00\nEND_CAMERA\n");
    size_t mfd = saved.find("BEGIN_MFD Left\n  TYPE Orbit\nEND_MFD\n");
    size_t ships = saved.find("BEGIN_SHIPS");
    size_t plugin = saved.find("BEGIN_Plugin\n  X 1\nEND_Plugin\n");
    ASSERT_NE(camera, std::string::npos);
    ASSERT_NE(mfd, std::string::npos);
    ASSERT_NE(plugin, std::string::npos);
    EXPECT_LT(camera, mfd);
    EXPECT_LT(mfd, ships);
    EXPECT_GT(plugin, saved.find("END_SHIPS"));
    // A vessel that did not turn keeps its AROT as written; one that turned
    // 10 deg about its y axis has another.
    EXPECT_NE(saved.find("  AROT 10 -35 80\n"), std::string::npos);
    EXPECT_EQ(saved.find("  AROT 10 -35 80\n"), saved.rfind("  AROT 10 -35 80\n"));

    // No camera section: the cockpit's default field of view.
    headless::Simulator plain("/nonexistent-korvane-root");
    ASSERT_TRUE(plain.loadScenarioText(Scenario("S:Generic\nEND\n"), &error));
    EXPECT_EQ(headless::SessionFovDeg(plain), 40.0);
}

TEST(SimulatorConfigTest, TanksBeyondTheLimitAreKeptAsText)
{
    std::string ship = "Hoard:Generic\n";
    ship.reserve(12 * 100002 + 64);
    for (size_t i = 0; i < 100001; ++i)
        ship += "  TANK 1 1\n";
    ship += "  TANK 2 2\nEND\n";
    headless::Simulator sim(KORVANE_ROOT_DIR);
    headless::MessageCapture messages;
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(Scenario(ship), &error));
    Vessel *v = headless::World::instance().vesselByName("Hoard");
    EXPECT_EQ(v->tanks.size(), 100000u);
    EXPECT_EQ(v->extraLines, (std::vector<std::string>{"TANK 1 1", "TANK 2 2"}));
    EXPECT_EQ(messages.lines().size(), 1u);
    EXPECT_TRUE(messages.contains("vessel Hoard: more than 100000 tanks"));
}

} // namespace
