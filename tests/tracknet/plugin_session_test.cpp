// The KorvaneNet plug-in as the simulator runs it: loaded with dlopen from
// the root's Modules/Plugin because the root's Orbiter.cfg activates it,
// beside the building loaded through its class. Its nodes survive a save
// and a reload without doubling, what it made goes when the session ends,
// and its network reaches screen 0.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModuleAPI.h"
#include "OrbiterAPI.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"
#include "network/tracking_network.h"
#include "session.h"

namespace {

using korvane::NodeList;
using tracknet_test::NameOf;
using tracknet_test::StartSession;
using tracknet_test::VesselNamed;
using tracknet_test::VesselsOfClass;

void *NetworkOf(const char *building)
{
    OBJHANDLE h = VesselNamed(building);
    return h ? static_cast<Korvane *>(oapiGetVesselInterface(h))->network : nullptr;
}

std::set<std::string> ExportedSymbols(const std::string &library)
{
    std::set<std::string> symbols;
    FILE *pipe = popen(("nm -D --defined-only '" + library + "'").c_str(), "r");
    char address[64], type[8], name[512];
    while (pipe && std::fscanf(pipe, "%63s %7s %511s", address, type, name) == 3)
        if (std::string(type) != "A") // not the loader's version nodes
            symbols.insert(name);
    if (pipe)
        pclose(pipe);
    return symbols;
}

TEST(PluginSessionTest, ThePluginExportsOnlyItsTwoEntryPoints)
{
    EXPECT_EQ(ExportedSymbols(std::string(KORVANE_ROOT_DIR) + "/Modules/Plugin/KorvaneNet.so"),
              (std::set<std::string>{"InitModule", "ExitModule"}));
}

// Notes, as another plug-in would, which vessels go and whether Houston
// still holds a network when they do.
class DeletionWatcher final : public oapi::Module {
public:
    DeletionWatcher() : oapi::Module(nullptr) {}
    void clbkDeleteVessel(OBJHANDLE hVessel) override
    {
        deleted.push_back(NameOf(hVessel));
        if (OBJHANDLE houston = VesselNamed("Houston"))
            houstonHeldNetwork = houstonHeldNetwork || static_cast<Korvane *>(oapiGetVesselInterface(houston))->network;
    }
    std::vector<std::string> deleted;
    bool houstonHeldNetwork = false;
};

TEST(PluginSessionTest, ASavedSessionReloadsWithoutDoublingANodeAndKeepsWhatItHeld)
{
    std::string saved;
    DeletionWatcher firstWatcher;
    {
        std::unique_ptr<headless::Simulator> sim = StartSession(tracknet_test::kStationScenario, true);
        oapiRegisterModule(&firstWatcher);
        for (int k = 0; k < 30; ++k)
            sim->frame(1.0);
        saved = sim->saveScenarioText();
    }
    // The session's end deleted the 22 vessels the plug-in had made, after
    // the building had let go of the network.
    EXPECT_EQ(firstWatcher.deleted.size(), 22u);
    EXPECT_FALSE(firstWatcher.houstonHeldNetwork);
    std::set<std::string> deleted(firstWatcher.deleted.begin(), firstWatcher.deleted.end());
    EXPECT_EQ(deleted.count("Goldstone"), 1u);
    EXPECT_EQ(deleted.count("Houston"), 0u);
    // The saved scenario holds the nodes as vessels of their class.
    EXPECT_NE(saved.find("TDRS-East:KorvaneSite\n"), std::string::npos);

    DeletionWatcher secondWatcher;
    {
        std::unique_ptr<headless::Simulator> sim = StartSession(saved, true);
        oapiRegisterModule(&secondWatcher);
        std::vector<std::string> sites = VesselsOfClass("KorvaneSite");
        EXPECT_EQ(sites.size(), 22u);
        EXPECT_EQ(std::set<std::string>(sites.begin(), sites.end()).size(), 22u) << "no name twice";
        // The network's lists name the scenario's own vessels.
        void *context = NetworkOf("Houston");
        ASSERT_NE(context, nullptr);
        ASSERT_EQ(korvane::NetworkNodeCount(context, NodeList::DeepSpace), 3u);
        EXPECT_EQ(korvane::NetworkNodeAt(context, NodeList::DeepSpace, 0).object, VesselNamed("Goldstone"));
        ASSERT_EQ(korvane::NetworkNodeCount(context, NodeList::Relays), 4u);
        EXPECT_EQ(korvane::NetworkNodeAt(context, NodeList::Relays, 1).object, VesselNamed("TDRS-West"));
        sim->frame(1.0);
    }
    // Those were the scenario's vessels, not the plug-in's: none is deleted.
    EXPECT_TRUE(secondWatcher.deleted.empty());
}

// The texts written on screen 0's drawing surface in the last redraw that
// wrote its title.
std::vector<std::string> Screen0Texts()
{
    std::vector<std::string> texts;
    for (const headless::SketchpadRecord &record : headless::Recordings()) {
        std::vector<std::string> these;
        bool screen0 = false;
        for (const headless::DrawCall &call : record.calls)
            if (call.op == headless::DrawOp::Text) {
                these.push_back(call.text);
                screen0 = screen0 || call.text.rfind("Target: ", 0) == 0;
            }
        if (screen0)
            texts = these;
    }
    return texts;
}

std::vector<std::string> RunControlRoom(bool withPlugin)
{
    std::unique_ptr<headless::Simulator> sim = StartSession(tracknet_test::kStationScenario, withPlugin);
    sim->openVisuals();
    EXPECT_TRUE(sim->loadCockpit(0));
    headless::ClearRecordings();
    for (int k = 0; k < 4; ++k)
        sim->frame(1.0);
    std::vector<std::string> texts = Screen0Texts();
    headless::ClearRecordings();
    sim->closeVisuals();
    return texts;
}

bool AnyStartsWith(const std::vector<std::string> &texts, const std::string &prefix)
{
    return std::any_of(texts.begin(), texts.end(), [&](const std::string &t) { return t.rfind(prefix, 0) == 0; });
}

TEST(PluginSessionTest, ScreenZeroShowsTheNetworkOnlyWithThePlugin)
{
    std::vector<std::string> with = RunControlRoom(true);
    ASSERT_FALSE(with.empty()) << "screen 0 was drawn";
    EXPECT_TRUE(AnyStartsWith(with, "Target: ISS"));
    EXPECT_TRUE(AnyStartsWith(with, "Link:"));
    for (const char *node : {"Goldstone", "Carnarvon", "TDRS-East", "Merritt-Island"})
        EXPECT_TRUE(AnyStartsWith(with, node)) << node;

    std::vector<std::string> without = RunControlRoom(false);
    ASSERT_FALSE(without.empty()) << "screen 0 was drawn";
    EXPECT_TRUE(AnyStartsWith(without, "Target: ISS"));
    EXPECT_FALSE(AnyStartsWith(without, "Link:"));
    for (const char *node : {"Goldstone", "Carnarvon", "TDRS-East", "Merritt-Island"})
        EXPECT_FALSE(AnyStartsWith(without, node)) << node;
}

} // namespace
