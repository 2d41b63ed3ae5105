// Plug-ins as the stand-in hosts them: Orbiter.cfg's list of active
// modules, the order of a registered module's callbacks through a session,
// vessels made and deleted during the run, and the defined outcome of
// plug-ins that are missing, cannot be loaded or throw.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleAPI.h"
#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "headless/messages.h"
#include "headless/orbiter_config.h"
#include "headless/simulator.h"
#include "headless/world.h"

namespace {

std::vector<std::string> ActiveModules(const std::string &text, std::vector<std::string> *problems = nullptr)
{
    std::istringstream in(text);
    return headless::ReadOrbiterConfig(in, problems).activeModules;
}

TEST(OrbiterConfigTest, ActiveModulesAreTheBlocksPlainNames)
{
    EXPECT_EQ(ActiveModules("; Orbiter.cfg\nPlanetarium = FALSE\nACTIVE_MODULES\n  ScnEditor ; the editor\n"
                            "  KorvaneNet\nEND_MODULES\nTransX\n"),
              (std::vector<std::string>{"ScnEditor", "KorvaneNet"}));
    EXPECT_EQ(ActiveModules("ACTIVE_MODULES\r\n  KorvaneNet\r\n"), std::vector<std::string>{"KorvaneNet"})
        << "a block the file leaves open ends with it";
    EXPECT_TRUE(ActiveModules("ACTIVE_MODULES Now\n  KorvaneNet\nEND_MODULES\n").empty());

    std::vector<std::string> problems;
    EXPECT_EQ(ActiveModules("ACTIVE_MODULES\n  ../../bin/sh\n  Plugin/X\n  C:\\X\n  .hidden\n  two words\n  a = b\n  " +
                                std::string(256, 'n') + "\n  KorvaneNet\n  korvanenet\nEND_MODULES\n",
                            &problems),
              std::vector<std::string>{"KorvaneNet"});
    EXPECT_EQ(problems.size(), 8u);

    std::string many = "ACTIVE_MODULES\n";
    for (int i = 0; i < 300; ++i)
        many += "  M" + std::to_string(i) + "\n";
    problems.clear();
    EXPECT_EQ(ActiveModules(many, &problems).size(), 256u);
    EXPECT_EQ(problems.size(), 1u);
}

const char kScenario[] = "BEGIN_ENVIRONMENT\n  Date MJD 60650.5\nEND_ENVIRONMENT\nBEGIN_SHIPS\n"
                         "GL-01:Deltaglider\n  STATUS Orbiting Earth\n  ELEMENTS 6778000 0 51.6 0 0 0 60650.5\nEND\n"
                         "END_SHIPS\n";

std::string Name(OBJHANDLE h)
{
    char name[32];
    oapiGetObjectName(h, name, sizeof(name));
    return name;
}

// Notes every callback it gets, with what the host holds at that moment.
class RecordingModule : public oapi::Module {
public:
    RecordingModule() : oapi::Module(nullptr) {}
    void clbkSimulationStart(RenderMode) override { log.push_back("start " + std::to_string(oapiGetVesselCount())); }
    void clbkSimulationEnd() override { log.push_back("end " + std::to_string(oapiGetVesselCount())); }
    void clbkPreStep(double simt, double simdt, double) override { log.push_back(Step("pre", simt, simdt)); }
    void clbkPostStep(double simt, double simdt, double) override { log.push_back(Step("post", simt, simdt)); }
    void clbkNewVessel(OBJHANDLE h) override { log.push_back("new " + Name(h)); }
    void clbkDeleteVessel(OBJHANDLE h) override { log.push_back("delete " + Name(h)); }
    std::vector<std::string> log;

private:
    static std::string Step(const char *what, double simt, double simdt)
    {
        return std::string(what) + " " + std::to_string(static_cast<int>(simt)) + "+" +
               std::to_string(static_cast<int>(simdt));
    }
};

VESSELSTATUS2 Orbit(double radius, double speed)
{
    VESSELSTATUS2 vs{};
    vs.version = 2;
    char earth[] = "Earth";
    vs.rbody = oapiGetObjectByName(earth);
    vs.rpos = _V(radius, 0, 0);
    vs.rvel = _V(0, 0, speed);
    return vs;
}

TEST(PluginHostTest, AModuleHearsOfTheSessionInTheSimulatorsOrder)
{
    RecordingModule module;
    {
        headless::Simulator sim(KORVANE_ROOT_DIR, {"KorvaneNet"});
        oapiRegisterModule(&module);
        std::string error;
        ASSERT_TRUE(sim.loadScenarioText(kScenario, &error)) << error;
        sim.frame(1.0);
        VESSELSTATUS2 vs = Orbit(7000e3, 7546.0);
        vs.flag = VS_FUELLIST;
        VESSELSTATUS2::FUELSPEC fuel[2] = {{0, 0.25}, {7, 1.0}}; // the glider has tanks 0 and 1
        vs.fuel = fuel;
        vs.nfuel = 2;
        OBJHANDLE glider = oapiCreateVesselEx("GL-02", "Deltaglider", &vs);
        ASSERT_NE(glider, nullptr);
        VESSEL *v = oapiGetVesselInterface(glider);
        VECTOR3 pos, centre;
        v->GetGlobalPos(pos);
        oapiGetGlobalPos(vs.rbody, &centre);
        EXPECT_NEAR(pos.x - centre.x, 7000e3, 1e-6);
        EXPECT_NEAR(v->GetPropellantMass(v->GetPropellantHandleByIndex(0)), 0.25 * 10400, 1e-9);
        EXPECT_NEAR(v->GetPropellantMass(v->GetPropellantHandleByIndex(1)), 600, 1e-9);
        EXPECT_EQ(oapiGetVesselCount(), 2u);
        EXPECT_EQ(oapiGetVesselByIndex(1), glider);
        EXPECT_EQ(oapiGetVesselByIndex(2), nullptr);
        EXPECT_EQ(oapiGetVesselByIndex(-1), nullptr);

        OBJHANDLE first = oapiGetVesselByIndex(0);
        EXPECT_TRUE(oapiDeleteVessel(first));
        EXPECT_TRUE(oapiIsVessel(first)) << "a deleted vessel stays until the frame ends";
        sim.frame(1.0);
        EXPECT_FALSE(oapiIsVessel(first));
        EXPECT_FALSE(oapiDeleteVessel(first));
    }
    EXPECT_EQ(module.log, (std::vector<std::string>{"start 1", "pre 1+1", "post 1+1", "new GL-02", "pre 2+1",
                                                    "post 2+1", "delete GL-01", "end 1"}));
    char name[] = "X";
    VESSELSTATUS2 vs = Orbit(7000e3, 7546.0);
    EXPECT_EQ(oapiCreateVesselEx(name, "Deltaglider", &vs), nullptr) << "no session, no vessel";
}

TEST(PluginHostTest, VesselsTheHostCannotMakeAreRefusedWithTheReason)
{
    headless::Simulator sim(KORVANE_ROOT_DIR, {"KorvaneNet"});
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText(kScenario, &error)) << error;
    VESSELSTATUS2 vs = Orbit(7000e3, 7546.0);
    headless::MessageCapture log;
    EXPECT_EQ(oapiCreateVesselEx("GL-01", "Deltaglider", &vs), nullptr);
    EXPECT_EQ(oapiCreateVesselEx("GL-09", "NoSuchClass", &vs), nullptr);
    EXPECT_EQ(oapiCreateVesselEx("", "Deltaglider", &vs), nullptr);
    EXPECT_EQ(oapiCreateVesselEx("GL-09", "Deltaglider", nullptr), nullptr);
    vs.version = 1;
    EXPECT_EQ(oapiCreateVesselEx("GL-09", "Deltaglider", &vs), nullptr);
    EXPECT_EQ(oapiGetVesselCount(), 1u);
    EXPECT_TRUE(log.contains("there is a vessel named GL-01 already"));
    EXPECT_TRUE(log.contains("there is no Config/Vessels/NoSuchClass.cfg"));
    EXPECT_TRUE(log.contains("the status is not a VESSELSTATUS2 (version 1)"));
}

class ThrowingModule : public oapi::Module {
public:
    ThrowingModule() : oapi::Module(nullptr) {}
    void clbkPreStep(double, double, double) override
    {
        ++calls;
        throw std::runtime_error("boom");
    }
    int calls = 0;
};

TEST(PluginHostTest, PluginsThatFailLeaveTheSessionRunningWithoutThem)
{
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "korvane-plugin-host-root";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root / "Modules/Plugin");
    std::ofstream(root / "Orbiter.cfg") << "ACTIVE_MODULES\n  Missing\n  Garbage\n  NoEntry\nEND_MODULES\n";
    std::ofstream(root / "Modules/Plugin/Garbage.so") << "not a library\n";
    std::filesystem::copy_file(KORVANE_BINARY_DIR "/libheadless.so", root / "Modules/Plugin/NoEntry.so");
    headless::MessageCapture log;
    {
        headless::Simulator sim(root.string());
        EXPECT_TRUE(sim.pluginNames().empty());
        EXPECT_TRUE(log.contains("plug-in Missing: there is no Modules/Plugin/Missing.so; the session runs without it"));
        EXPECT_TRUE(log.contains("plug-in Garbage: cannot be loaded ("));
        EXPECT_TRUE(log.contains("NoEntry.so exports no InitModule"));

        ThrowingModule thrower;
        RecordingModule steady;
        oapiRegisterModule(&thrower);
        oapiRegisterModule(&steady);
        oapiRegisterModule(&steady);
        std::string error;
        ASSERT_TRUE(sim.loadScenarioText("BEGIN_SHIPS\nEND_SHIPS\n", &error)) << error;
        sim.frame(1.0);
        sim.frame(1.0);
        EXPECT_EQ(thrower.calls, 1);
        EXPECT_TRUE(log.contains("a module: clbkPreStep threw (boom): its module is no longer called"));
        EXPECT_TRUE(log.contains("registered the same module twice"));
        EXPECT_EQ(steady.log, (std::vector<std::string>{"start 0", "pre 1+1", "post 1+1", "pre 2+1", "post 2+1"}));
    }
    // A root without the simulator's configuration activates nothing; the
    // build's own root activates the network, unless it is left out.
    EXPECT_TRUE(headless::Simulator("/nonexistent-korvane-root").pluginNames().empty());
    EXPECT_EQ(headless::Simulator(KORVANE_ROOT_DIR).pluginNames(), std::vector<std::string>{"KorvaneNet"});
    EXPECT_TRUE(headless::Simulator(KORVANE_ROOT_DIR, {"korvanenet"}).pluginNames().empty());
    std::filesystem::remove_all(root);
}

} // namespace
