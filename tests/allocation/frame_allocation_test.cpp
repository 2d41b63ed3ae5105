// What the module allocates on its per-frame paths: nothing on a redraw
// request whose interval has not elapsed, and nothing while it projects and
// draws the coastlines, the ground track and the horizon circles. Every
// allocation of this test program is counted through the global operator new.

#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <new>
#include <string>

#include "headless/sketchpad_recorder.h"
#include "map/coastlines.h"
#include "map/ground_track.h"
#include "map/horizon_circle.h"
#include "map/map_projection.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {
std::atomic<long> allocations{0};
std::atomic<size_t> failSize{0}; // allocations of exactly this many bytes fail (0: none)
std::atomic<long> failures{0};
} // namespace

void *operator new(std::size_t size)
{
    ++allocations;
    if (failSize != 0 && size == failSize) {
        ++failures;
        throw std::bad_alloc();
    }
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size) { return operator new(size); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }

namespace {

class FrameAllocationTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof(cwd)), nullptr);
        savedDir = cwd;
        ASSERT_EQ(chdir(KORVANE_ROOT_DIR), 0); // the simulator root with the coastline file
        building = addBuilding("Houston");
        addVessel("Station", {"STATUS Orbiting Earth", "ELEMENTS 6776000 0.0015 51.6 120 160 25 51544.5"});
        ASSERT_TRUE(building->setTargetByName("Station"));
        headless::SetSketchpadMode(headless::SketchpadMode::Null);
    }
    void TearDown() override
    {
        headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
        ModuleTest::TearDown();
        EXPECT_EQ(chdir(savedDir.c_str()), 0);
    }
    std::string savedDir;
    Korvane *building = nullptr;
};

TEST_F(FrameAllocationTest, RequestWhoseIntervalHasNotElapsedAllocatesNothing)
{
    headless::World::instance().advance(0.1);
    for (double &t : building->screenTimer)
        t = 0.0;
    long before = allocations;
    // Four frames of three requests: 1.2 s on each timer, short of 1.5 s.
    for (int i = 0; i < 4; ++i)
        for (int id = 0; id < 3; ++id)
            EXPECT_FALSE(korvane::RedrawCockpitArea(*building, id, building->drawSurface));
    EXPECT_EQ(allocations - before, 0);
}

TEST_F(FrameAllocationTest, CoastlinesTrackAndCirclesAllocateNothing)
{
    korvane::loadCoastlines(*building);
    ASSERT_TRUE(building->coastAvailable);
    ASSERT_GT(building->coastLineCount, 1000u);
    building->mapScaleX = building->mapScaleY = korvane::MapScale(building->coordScale);
    oapi::Sketchpad *skp = oapiGetSketchpad(building->drawSurface);
    ASSERT_NE(skp, nullptr);
    const korvane::MapView view =
        korvane::BuildingMapView(*building, headless::World::instance().earth()->handle());

    long before = allocations;
    korvane::drawCoastlines(*skp, *building);
    korvane::drawGroundTrack(*skp, view, building->targetHandle);
    korvane::drawHorizonCircle(*skp, view, building->targetHandle);
    long used = allocations - before;
    oapiReleaseSketchpad(skp);
    EXPECT_EQ(used, 0);
}

TEST_F(FrameAllocationTest, ScreenOneMakesOnlyItsTwoPointLists)
{
    for (int i = 0; i < 600; ++i)
        building->history.push({51544.5 + i / 43200.0, 400e3 + i, 7700.0 - i});
    headless::World::instance().advance(0.1);
    oapi::Sketchpad *probe = oapiGetSketchpad(building->drawSurface);
    long sketchpadCost = 0;
    {
        long before = allocations;
        oapi::Sketchpad *again = oapiGetSketchpad(building->drawSurface);
        oapiReleaseSketchpad(again);
        sketchpadCost = allocations - before;
    }
    oapiReleaseSketchpad(probe);
    building->screenTimer[1] = 10.0;
    long before = allocations;
    EXPECT_TRUE(korvane::RedrawCockpitArea(*building, 1, building->drawSurface));
    EXPECT_EQ(allocations - before - sketchpadCost, 2);
}

TEST_F(FrameAllocationTest, AllocationFailuresStayInsideTheModule)
{
    // Screen 1's point lists (1000 points of 8 bytes) cannot be made: the
    // curves are left out, the rest is drawn, and nothing is thrown.
    for (int i = 0; i < 1000; ++i)
        building->history.push({51544.5 + i / 43200.0, 400e3, 7700.0});
    ASSERT_EQ(building->history.count(), 600); // held to its capacity
    for (int i = 0; i < 400; ++i)
        building->history.push({51545.0, 400e3, 7700.0});
    building->screenTimer[1] = 10.0;
    bool drawn = false;
    failSize = 600 * sizeof(oapi::IVECTOR2);
    EXPECT_NO_THROW(drawn = korvane::RedrawCockpitArea(*building, 1, building->drawSurface));
    failSize = 0;
    EXPECT_TRUE(drawn);
    EXPECT_EQ(failures, 1);

    // A name that cannot be stored (a string of 51 characters asks for 52
    // bytes): no target, no exception.
    const char name[] = "Station, with a name longer than any short string..";
    static_assert(sizeof(name) == 52, "the size that is made to fail");
    bool set = true;
    failSize = sizeof(name);
    EXPECT_NO_THROW(set = building->setTargetByName(name));
    failSize = 0;
    EXPECT_EQ(failures, 2);
    EXPECT_FALSE(set);
    EXPECT_FALSE(building->targetValid);
}

} // namespace
