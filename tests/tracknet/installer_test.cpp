// How the network joins a simulator session: its objects enter the world
// after every load, it reaches each building through clbkGeneric, and it
// lives as long as the session that holds it.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "headless/simulator.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"
#include "tracknet/installer.h"
#include "tracknet/network.h"

namespace {

struct GenericCall {
    int msgid;
    int prm;
    void *context;
};

// A vessel interface that notes every clbkGeneric it receives.
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

OBJHANDLE ByName(const char *name)
{
    std::string buffer(name);
    return oapiGetObjectByName(&buffer[0]);
}

class HandOverTest : public ::testing::Test {
protected:
    void SetUp() override { headless::World::instance().reset(); }
    void TearDown() override
    {
        headless::World::instance().reset();
        interfaces_.clear();
    }

    RecordingVessel *addVessel(const std::string &name, const std::string &className)
    {
        Vessel *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, className));
        interfaces_.push_back(std::make_unique<RecordingVessel>(v->handle()));
        v->iface = interfaces_.back().get();
        return interfaces_.back().get();
    }

    std::vector<std::unique_ptr<RecordingVessel>> interfaces_;
};

TEST_F(HandOverTest, EveryBuildingAndNothingElseGetsTheContext)
{
    RecordingVessel *houston = addVessel("Houston", "Korvane");
    RecordingVessel *canberra = addVessel("Canberra Control", "Korvane");
    RecordingVessel *station = addVessel("Station", "Generic");
    RecordingVessel *lookalike = addVessel("Korvane", "DeltaGlider"); // the name is not the class
    RecordingVessel *old = addVessel("Old Building", "Korvane");
    // A building whose host only knows it as a VESSEL2 has no clbkGeneric.
    headless::World::instance().vesselByName("Old Building")->interfaceVersion = 2;

    std::unique_ptr<tracknet::Network> network = tracknet::Network::Create();
    network->handOver();

    for (RecordingVessel *building : {houston, canberra}) {
        ASSERT_EQ(building->calls.size(), 1u);
        EXPECT_EQ(building->calls[0].msgid, 0);
        EXPECT_EQ(building->calls[0].prm, 1);
        EXPECT_EQ(building->calls[0].context, network->context());
    }
    EXPECT_TRUE(station->calls.empty());
    EXPECT_TRUE(lookalike->calls.empty());
    EXPECT_TRUE(old->calls.empty());
}

TEST_F(HandOverTest, PopulateTwiceInOneWorldCreatesNothingTwice)
{
    std::unique_ptr<tracknet::Network> network = tracknet::Network::Create();
    network->populate();
    OBJHANDLE goldstone = ByName("Goldstone");
    OBJHANDLE whiteSands = ByName("White Sands");
    ASSERT_NE(goldstone, nullptr);
    std::vector<OBJHANDLE> before;
    for (const tracknet::NodeRecord &node : network->trackingNetwork().stations())
        before.push_back(node.object());

    network->populate();
    EXPECT_EQ(network->trackingNetwork().relayTerminal(), whiteSands);
    std::vector<OBJHANDLE> after;
    for (const tracknet::NodeRecord &node : network->trackingNetwork().stations())
        after.push_back(node.object());
    EXPECT_EQ(after, before);
    EXPECT_EQ(network->trackingNetwork().deepSpaceStations().size(), 3u);
    EXPECT_EQ(network->trackingNetwork().deepSpaceStations()[0].object(), goldstone);
}

// --- A session with the real building -------------------------------------------

const char kScenario[] = "BEGIN_ENVIRONMENT\n"
                         "  Date MJD 60650.5\n"
                         "END_ENVIRONMENT\n"
                         "BEGIN_SHIPS\n"
                         "Station:Generic\n"
                         "  STATUS Orbiting Earth\n"
                         "  ELEMENTS 6776000 0.0015 51.6 120 160 25 60650.5\n"
                         "END\n"
                         "Houston:Korvane\n"
                         "  STATUS Landed Earth\n"
                         "  POS -95.09 29.5593\n"
                         "  TARGET Station\n"
                         "END\n"
                         "END_SHIPS\n";

TEST(InstallOnLoadTest, BuildingHoldsTheContextAfterLoad)
{
    std::weak_ptr<tracknet::Network> watch;
    {
        headless::Simulator sim(KORVANE_ROOT_DIR);
        std::shared_ptr<tracknet::Network> network = tracknet::Network::Create();
        watch = network;
        tracknet::InstallOnLoad(sim, network);
        void *context = network->context();
        network.reset();
        // The session keeps the network alive for its buildings.
        ASSERT_FALSE(watch.expired());

        std::string error;
        ASSERT_TRUE(sim.loadScenarioText(kScenario, &error)) << error;
        Vessel *houston = headless::World::instance().vesselByName("Houston");
        ASSERT_NE(houston, nullptr);
        ASSERT_NE(houston->module, nullptr) << "the building must come from the plug-in";
        EXPECT_EQ(static_cast<Korvane *>(houston->iface)->network, context);

        // The nodes are in the world, but they are not part of the scenario.
        for (const char *name : {"Goldstone", "Carnarvon", "TDRS-East", "White Sands"})
            EXPECT_NE(ByName(name), nullptr) << name;
        std::string saved = sim.saveScenarioText();
        for (const char *name : {"Goldstone", "Carnarvon", "TDRS", "White Sands"})
            EXPECT_EQ(saved.find(name), std::string::npos) << name;

        for (int k = 0; k < 3; ++k)
            sim.frame(1.0);
        EXPECT_FALSE(watch.expired());
    }
    // Gone with the session, after its buildings.
    EXPECT_TRUE(watch.expired());
}

TEST(InstallOnLoadTest, EachSessionGetsFreshNodes)
{
    std::shared_ptr<tracknet::Network> network = tracknet::Network::Create();
    for (int session = 0; session < 2; ++session) {
        headless::Simulator sim(KORVANE_ROOT_DIR);
        tracknet::InstallOnLoad(sim, network);
        std::string error;
        ASSERT_TRUE(sim.loadScenarioText(kScenario, &error)) << error;
        // The published lists name this world's objects.
        const tracknet::TrackingNetwork &links = network->trackingNetwork();
        ASSERT_EQ(links.deepSpaceStations().size(), 3u);
        EXPECT_EQ(links.deepSpaceStations()[0].object(), ByName("Goldstone"));
        EXPECT_EQ(links.relayTerminal(), ByName("White Sands"));
        Vessel *houston = headless::World::instance().vesselByName("Houston");
        ASSERT_NE(houston, nullptr);
        EXPECT_EQ(static_cast<Korvane *>(houston->iface)->network, network->context());
    }
}

} // namespace
