// A small headless world for module tests: a fresh registry with Earth and
// Moon, vessels added by hand, and buildings constructed directly from the
// module library (no dlopen), so that their fields can be inspected.

#ifndef KORVANE_TESTS_TEST_SUPPORT_H
#define KORVANE_TESTS_TEST_SUPPORT_H

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/meshes.h"
#include "headless/scenario.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"
#include "screens/screen_redraw.h"

namespace testsupport {

class ModuleTest : public ::testing::Test {
protected:
    // Buildings made without a simulator read their meshes from the build's
    // simulator root.
    void SetUp() override
    {
        headless::World::instance().reset();
        headless::MeshStore::instance().setRoot(KORVANE_ROOT_DIR);
    }

    void TearDown() override
    {
        for (auto &b : buildings_)
            b.reset();
        headless::World::instance().reset();
    }

    // A generic vessel (no module), landed unless lines say otherwise.
    Vessel *addVessel(const std::string &name, const std::vector<std::string> &lines = {})
    {
        auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, "Generic"));
        v->makeGenericInterface();
        for (const std::string &line : lines)
            v->parseLine(line.c_str());
        v->finishLoading(headless::World::instance().mjd());
        return v;
    }

    // A building made the way the host makes one: object, class caps.
    Korvane *addBuilding(const std::string &name, bool classCaps = true)
    {
        auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>(name, "Korvane"));
        buildings_.push_back(std::make_unique<Korvane>(v->handle(), 1));
        Korvane *k = buildings_.back().get();
        v->iface = k;
        if (classCaps)
            k->clbkSetClassCaps(nullptr);
        return k;
    }

    // Destroys a building made by addBuilding (as ovcExit would).
    void destroyBuilding(Korvane *k)
    {
        for (auto &b : buildings_)
            if (b.get() == k)
                b.reset();
    }

    static void loadLines(Korvane *k, const std::vector<std::string> &lines)
    {
        headless::ScenarioBlockReader reader(lines);
        k->clbkLoadStateEx(&reader, nullptr);
    }

    static std::string savedText(Korvane *k)
    {
        headless::ScenarioWriter writer;
        k->clbkSaveState(&writer);
        return writer.text();
    }

private:
    std::vector<std::unique_ptr<Korvane>> buildings_;
};

// A building with class caps and a screen texture, and the redraw of one of
// its screens as the host's recorder saw it.
class ScreenTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        building = addBuilding("Houston");
        screen = headless::CreateSurface(1024, 1024);
    }
    void TearDown() override
    {
        headless::DestroySurface(screen);
        ModuleTest::TearDown();
    }
    // Redraws screen id at once (its timer past the interval); the calls
    // made on the shared surface.
    std::vector<headless::DrawCall> drawScreen(int id)
    {
        headless::ClearRecordings();
        building->screenTimer[id] = 10.0;
        EXPECT_TRUE(korvane::RedrawCockpitArea(*building, id, screen));
        const auto &records = headless::Recordings();
        for (auto it = records.rbegin(); it != records.rend(); ++it)
            if (it->surface == building->drawSurface)
                return it->calls;
        return {};
    }

    Korvane *building = nullptr;
    SURFHANDLE screen = nullptr;
};

} // namespace testsupport

#endif // KORVANE_TESTS_TEST_SUPPORT_H
