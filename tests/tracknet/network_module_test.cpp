// The network's module as the host drives it: who is handed the network at
// the start of a session and later, what happens to a node that goes during
// the run, and what is left when the session ends. The module is made here
// and registered with the host directly (the plug-in's InitModule does the
// same); the buildings are vessels whose interfaces note every message.

#include "tracknet/network_module.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleAPI.h"
#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "headless/messages.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"
#include "session.h"
#include "tracknet/site_vessels.h"

namespace {

using tracknet_test::VesselNamed;
using tracknet_test::VesselsOfClass;

struct GenericCall {
    int msgid;
    int prm;
    void *context;
};

// A VESSEL3 interface that notes every clbkGeneric it receives.
class RecordingVessel final : public VESSEL3 {
public:
    explicit RecordingVessel(OBJHANDLE h) : VESSEL3(h, 1) {}
    int clbkGeneric(int msgid, int prm, void *context) override
    {
        calls.push_back(GenericCall{msgid, prm, context});
        return 0;
    }
    std::vector<GenericCall> calls;
};

// A building of an older interface, which has no clbkGeneric to call.
class OldBuilding final : public VESSEL2 {
public:
    explicit OldBuilding(OBJHANDLE h) : VESSEL2(h, 1) {}
};

class NetworkModuleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_ = std::make_unique<headless::Simulator>(KORVANE_ROOT_DIR,
                                                     std::vector<std::string>{tracknet_test::kPluginName});
        module_ = std::make_unique<tracknet::NetworkModule>(nullptr);
        oapiRegisterModule(module_.get());
    }
    void TearDown() override
    {
        sim_.reset();
        module_.reset();
        interfaces_.clear();
    }

    // A vessel that the session has before it starts, with an interface of
    // the test's.
    template <typename Interface>
    Interface *addVessel(const std::string &name, const std::string &className)
    {
        Vessel *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, className));
        auto iface = std::make_shared<Interface>(v->handle());
        v->iface = iface.get();
        interfaces_.push_back(iface); // VESSEL has no virtual destructor: each keeps its own
        return iface.get();
    }

    void startSession()
    {
        std::string error;
        ASSERT_TRUE(sim_->loadScenarioText(tracknet_test::kEmptyScenario, &error)) << error;
    }

    void *context() { return module_->network() ? module_->network()->context() : nullptr; }

    std::unique_ptr<headless::Simulator> sim_;
    std::unique_ptr<tracknet::NetworkModule> module_;
    std::vector<std::shared_ptr<void>> interfaces_;
};

TEST_F(NetworkModuleTest, EachBuildingIsHandedTheNetworkOnceAndNothingElseIs)
{
    RecordingVessel *houston = addVessel<RecordingVessel>("Houston", "Korvane");
    RecordingVessel *canberra = addVessel<RecordingVessel>("Canberra Control", "korvane"); // the class's case
    RecordingVessel *station = addVessel<RecordingVessel>("Station", "ProjectAlpha_ISS");
    RecordingVessel *lookalike = addVessel<RecordingVessel>("Korvane", "Deltaglider"); // the name is no class
    addVessel<OldBuilding>("Old Building", "Korvane");
    startSession();

    ASSERT_NE(context(), nullptr);
    for (RecordingVessel *building : {houston, canberra}) {
        ASSERT_EQ(building->calls.size(), 1u);
        EXPECT_EQ(building->calls[0].msgid, VMSG_USER + 1);
        EXPECT_EQ(building->calls[0].prm, 1);
        EXPECT_EQ(building->calls[0].context, context());
    }
    EXPECT_TRUE(station->calls.empty());
    EXPECT_TRUE(lookalike->calls.empty());
    EXPECT_EQ(module_->buildings(), (std::vector<OBJHANDLE>{VesselNamed("Houston"), VesselNamed("Canberra Control")}));

    // Hearing of a building again hands it nothing more.
    module_->clbkNewVessel(VesselNamed("Houston"));
    EXPECT_EQ(houston->calls.size(), 1u);

    // A building made during the run is handed the network as it comes.
    char earth[] = "Earth";
    VESSELSTATUS2 status = tracknet::LandedSiteStatus(oapiGetObjectByName(earth), 151.2, -33.9);
    OBJHANDLE sydney = oapiCreateVesselEx("Sydney", "Korvane", &status);
    ASSERT_NE(sydney, nullptr);
    EXPECT_EQ(static_cast<Korvane *>(oapiGetVesselInterface(sydney))->network, context());
    EXPECT_EQ(module_->buildings().size(), 3u);

    // When the session ends, each building lets go of the network.
    module_->clbkSimulationEnd();
    ASSERT_EQ(houston->calls.size(), 2u);
    EXPECT_EQ(houston->calls[1].context, nullptr);
    EXPECT_EQ(static_cast<Korvane *>(oapiGetVesselInterface(sydney))->network, nullptr);
    EXPECT_EQ(module_->network(), nullptr);
}

TEST_F(NetworkModuleTest, ANodeThatGoesDuringTheRunLeavesTheLists)
{
    addVessel<RecordingVessel>("Houston", "Korvane");
    startSession();
    const tracknet::TrackingNetwork &network = module_->network()->trackingNetwork();
    OBJHANDLE goldstone = VesselNamed("Goldstone");
    OBJHANDLE whiteSands = VesselNamed("White-Sands");
    ASSERT_EQ(network.deepSpaceStations().size(), 3u);
    EXPECT_EQ(network.deepSpaceStations()[0].object(), goldstone);

    EXPECT_TRUE(oapiDeleteVessel(goldstone));
    EXPECT_TRUE(oapiDeleteVessel(whiteSands));
    sim_->frame(1.0);
    // No list names a vessel that is gone, and neither is the terminal kept.
    ASSERT_EQ(network.deepSpaceStations().size(), 2u);
    EXPECT_EQ(tracknet_test::NameOf(network.deepSpaceStations()[0].object()), "Madrid");
    EXPECT_EQ(network.relayTerminal(), nullptr);
    EXPECT_EQ(module_->network()->createdVessels().size(), 20u);
}

TEST_F(NetworkModuleTest, ANodesNameTakenByAnotherVesselLeavesThatNodeOut)
{
    // The scenario's own Bermuda is a Delta-glider: it is neither used as
    // the station nor doubled.
    Vessel *glider = headless::World::instance().addVessel(std::make_unique<Vessel>("Bermuda", "Deltaglider"));
    glider->makeGenericInterface();
    headless::MessageCapture log;
    startSession();
    const tracknet::TrackingNetwork &network = module_->network()->trackingNetwork();
    EXPECT_EQ(network.stations().size(), 13u);
    for (const tracknet::NodeRecord &node : network.stations())
        EXPECT_NE(tracknet_test::NameOf(node.object()), "Bermuda");
    EXPECT_EQ(VesselsOfClass("KorvaneSite").size(), 21u);
    EXPECT_TRUE(log.contains("KorvaneNet: another vessel is named Bermuda: that node is left out"));
}

} // namespace
