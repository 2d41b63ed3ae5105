// The building's coastlines: reading the file under the working directory,
// what memory that costs and survives, and drawing onto the map.

#include "map/coastlines.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "headless/surfaces.h"
#include "map/coastline_reader.h"
#include "recording.h"
#include "reference_coast_reader.h"
#include "test_support.h"

// --- Allocation probe --------------------------------------------------------
// Every operator new of this program passes here. While a probe window is
// open it counts the allocations, notes the largest, and can make one of them
// fail. Weak, so that another replacement elsewhere in the program takes its
// place instead of clashing; ProbeWorks() then says so and the probing tests
// skip.

namespace {

std::atomic<bool> gProbing{false};
std::atomic<long> gAllocations{0};
std::atomic<size_t> gLargestBytes{0};
std::atomic<long> gFailingAllocation{0}; // 1-based within the window; 0 none

void *ProbedAllocate(size_t bytes)
{
    if (gProbing.load(std::memory_order_relaxed)) {
        const long n = ++gAllocations;
        size_t largest = gLargestBytes.load();
        while (bytes > largest && !gLargestBytes.compare_exchange_weak(largest, bytes)) {
        }
        if (n == gFailingAllocation.load())
            throw std::bad_alloc();
    }
    void *p = std::malloc(bytes != 0 ? bytes : 1);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void *ProbedAllocateNoThrow(size_t bytes) noexcept
{
    try {
        return ProbedAllocate(bytes);
    } catch (...) {
        return nullptr;
    }
}

} // namespace

__attribute__((weak)) void *operator new(std::size_t bytes) { return ProbedAllocate(bytes); }
__attribute__((weak)) void *operator new[](std::size_t bytes) { return ProbedAllocate(bytes); }
__attribute__((weak)) void *operator new(std::size_t bytes, const std::nothrow_t &) noexcept
{
    return ProbedAllocateNoThrow(bytes);
}
__attribute__((weak)) void *operator new[](std::size_t bytes, const std::nothrow_t &) noexcept
{
    return ProbedAllocateNoThrow(bytes);
}
__attribute__((weak)) void operator delete(void *p) noexcept { std::free(p); }
__attribute__((weak)) void operator delete[](void *p) noexcept { std::free(p); }
__attribute__((weak)) void operator delete(void *p, std::size_t) noexcept { std::free(p); }
__attribute__((weak)) void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
__attribute__((weak)) void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
__attribute__((weak)) void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }

namespace {

using headless::DrawCall;
using headless::DrawOp;
using testsupport::Only;

// Counts (and optionally fails) the allocations made while it lives.
class ProbeWindow {
public:
    explicit ProbeWindow(long failingAllocation = 0)
    {
        gAllocations = 0;
        gLargestBytes = 0;
        gFailingAllocation = failingAllocation;
        gProbing = true;
    }
    ~ProbeWindow() { Close(); }
    void Close()
    {
        gProbing = false;
        gFailingAllocation = 0;
    }
    long allocations() const { return gAllocations.load(); }
    size_t largestBytes() const { return gLargestBytes.load(); }
};

void *volatile gProbeSink = nullptr;

bool ProbeWorks()
{
    ProbeWindow window;
    gProbeSink = ::operator new(24);
    window.Close();
    ::operator delete(gProbeSink);
    return window.allocations() == 1;
}

constexpr double kUnitsPerDegree = 1000.0;

class CoastlinesTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        savedDir_ = std::filesystem::current_path();
        char pattern[] = "/tmp/korvane-coast-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        std::filesystem::current_path(root_);
        building = addBuilding("Houston");
    }
    void TearDown() override
    {
        ModuleTest::TearDown();
        std::filesystem::current_path(savedDir_);
        std::filesystem::remove_all(root_);
    }

    // Writes text as the coastline file of the installation at dir.
    static void WriteCoastFile(const std::filesystem::path &dir, const std::string &text)
    {
        const std::filesystem::path data = dir / "Config" / "Earth" / "Data";
        std::filesystem::create_directories(data);
        std::ofstream out(data / "coast.vec", std::ios::binary);
        out << text;
    }

    // A building whose file has not been tried yet.
    Korvane *freshBuilding()
    {
        static int serial = 0;
        return addBuilding("Station" + std::to_string(++serial));
    }

    static coastref::Coastlines Loaded(const Korvane &k)
    {
        coastref::Coastlines c;
        c.headerValue = k.coastHeaderValue;
        for (const korvane::CoastPolyline &p : k.coastSource) {
            c.polylines.emplace_back();
            for (int32_t j = 0; j < p.pointCount; ++j)
                c.polylines.back().push_back({p.points[j].x, p.points[j].y});
        }
        return c;
    }

    // Both arrays of the building have one record per polyline, the same
    // point counts and point arrays of their own.
    static void ExpectConsistent(const Korvane &k)
    {
        ASSERT_EQ(k.coastSource.size(), k.coastLineCount);
        ASSERT_EQ(k.coastProjected.size(), k.coastLineCount);
        for (size_t i = 0; i < k.coastSource.size(); ++i) {
            ASSERT_EQ(k.coastProjected[i].pointCount, k.coastSource[i].pointCount);
            if (k.coastSource[i].pointCount > 0) {
                ASSERT_NE(k.coastSource[i].points, nullptr);
                ASSERT_NE(k.coastProjected[i].points, nullptr);
                EXPECT_NE(k.coastSource[i].points.get(), k.coastProjected[i].points.get());
            }
        }
    }

    static korvane::CoastPolyline Polyline(const std::vector<std::pair<int32_t, int32_t>> &points)
    {
        korvane::CoastPolyline p;
        p.pointCount = static_cast<int32_t>(points.size());
        if (!points.empty())
            p.points.reset(new oapi::IVECTOR2[points.size()]());
        for (size_t j = 0; j < points.size(); ++j) {
            p.points[j].x = points[j].first;
            p.points[j].y = points[j].second;
        }
        return p;
    }

    // Gives the building these polylines (stored units), as a load would.
    void giveCoastlines(const std::vector<std::vector<std::pair<int32_t, int32_t>>> &polylines)
    {
        building->coastLoaded = building->coastAvailable = true;
        building->coastLineCount = static_cast<uint32_t>(polylines.size());
        for (const auto &points : polylines) {
            building->coastSource.push_back(Polyline(points));
            building->coastProjected.push_back(Polyline(std::vector<std::pair<int32_t, int32_t>>(points.size())));
        }
    }

    std::filesystem::path root_;
    std::filesystem::path savedDir_;
    Korvane *building = nullptr;
};

TEST_F(CoastlinesTest, LoadReadsTheFileUnderTheWorkingDirectory)
{
    WriteCoastFile(root_, "1\r\n3\r\n2\r\n12.34567 -45.6789\r\n-0.0004 0.0004\r\n0\r\n1\r\n-180 90\r\n");
    korvane::loadCoastlines(*building);
    EXPECT_TRUE(building->coastLoaded);
    EXPECT_TRUE(building->coastAvailable);
    EXPECT_EQ(building->coastHeaderValue, 1);
    EXPECT_EQ(building->coastLineCount, 3u);
    ExpectConsistent(*building);
    coastref::Coastlines expected;
    expected.headerValue = 1;
    expected.polylines = {{{12345, -45678}, {0, 0}}, {}, {{-180000, 90000}}};
    EXPECT_EQ(Loaded(*building), expected);
    for (const korvane::CoastPolyline &p : building->coastProjected)
        for (int32_t j = 0; j < p.pointCount; ++j)
            EXPECT_TRUE(p.points[j].x == 0 && p.points[j].y == 0);
}

TEST_F(CoastlinesTest, MissingOrEmptyFile)
{
    korvane::loadCoastlines(*building);
    EXPECT_TRUE(building->coastLoaded);
    EXPECT_FALSE(building->coastAvailable);
    EXPECT_EQ(building->coastLineCount, 0u);
    EXPECT_TRUE(building->coastSource.empty());
    EXPECT_TRUE(building->coastProjected.empty());

    // A file that is there but empty is read, and holds no polylines.
    WriteCoastFile(root_, "");
    Korvane *other = freshBuilding();
    korvane::loadCoastlines(*other);
    EXPECT_TRUE(other->coastLoaded);
    EXPECT_TRUE(other->coastAvailable);
    EXPECT_EQ(other->coastLineCount, 0u);
    EXPECT_EQ(other->coastHeaderValue, 0);
}

// The working directory goes into 260 characters and the path into 256:
// a directory too long for either is never overrun, and the cut path is
// not opened (it would name some other file).
TEST_F(CoastlinesTest, WorkingDirectoryTooLongForThePath)
{
    const size_t rootLength = std::filesystem::current_path().string().size();
    // The path of the file under it: directory + 28 characters.
    std::filesystem::path deep = root_;
    for (size_t length = rootLength; length < 240; length += 10)
        deep /= "d12345678";
    const std::string deepName = deep.string();
    ASSERT_GE(deepName.size(), 240u);
    ASSERT_LT(deepName.size(), 260u);
    WriteCoastFile(deep, "1\n1\n1\n5 5\n");
    std::filesystem::current_path(deep);
    korvane::loadCoastlines(*building);
    EXPECT_TRUE(building->coastLoaded);
    EXPECT_FALSE(building->coastAvailable);

    std::filesystem::path deeper = deep;
    for (int i = 0; i < 4; ++i)
        deeper /= "d12345678";
    ASSERT_GT(deeper.string().size(), 260u);
    WriteCoastFile(deeper, "1\n1\n1\n5 5\n");
    std::filesystem::current_path(deeper);
    Korvane *other = freshBuilding();
    korvane::loadCoastlines(*other);
    EXPECT_TRUE(other->coastLoaded);
    EXPECT_FALSE(other->coastAvailable);

    // Just short enough: the path has 255 characters and is read.
    std::filesystem::path fits = root_;
    while (fits.string().size() + 40 <= 255)
        fits /= "d12345678";
    fits /= std::string(255 - 28 - fits.string().size() - 1, 'e');
    ASSERT_EQ(fits.string().size() + 28, 255u);
    WriteCoastFile(fits, "1\n1\n1\n5 5\n");
    std::filesystem::current_path(fits);
    Korvane *third = freshBuilding();
    korvane::loadCoastlines(*third);
    EXPECT_TRUE(third->coastAvailable);
    EXPECT_EQ(third->coastLineCount, 1u);
}

TEST_F(CoastlinesTest, HostileCountsCostOnlyWhatTheLinesHold)
{
    if (!ProbeWorks())
        GTEST_SKIP() << "another operator new replaces the probe";
    WriteCoastFile(root_, "7\n2147483647\n2000000000\n1 2\n3 4\n");
    ProbeWindow window;
    korvane::loadCoastlines(*building);
    window.Close();
    EXPECT_TRUE(building->coastAvailable);
    EXPECT_EQ(building->coastLineCount, 1u);
    ExpectConsistent(*building);
    ASSERT_EQ(building->coastSource.size(), 1u);
    EXPECT_EQ(building->coastSource[0].pointCount, 2);
    // The reading block and a bounded reservation, not billions of points.
    EXPECT_LE(window.largestBytes(), size_t{1} << 20);
}

// Whichever allocation fails, nothing is thrown and the building holds a
// consistent start of the file: the polylines before the failure, the last
// one possibly shortened.
TEST_F(CoastlinesTest, RunningOutOfMemoryKeepsWhatWasRead)
{
    if (!ProbeWorks())
        GTEST_SKIP() << "another operator new replaces the probe";
    std::string text = "3\n5\n2\n1 1\n2 2\n0\n40\n";
    for (int j = 0; j < 40; ++j)
        text += std::to_string(j) + " " + std::to_string(-j) + "\n";
    text += "1\n9 9\n3\n1 2\n3 4\n5 6\n";
    WriteCoastFile(root_, text);
    const coastref::Coastlines full = coastref::ReadText(text, kUnitsPerDegree);

    bool failureSeen = true;
    for (long failing = 1; failureSeen; ++failing) {
        Korvane *k = freshBuilding();
        ProbeWindow window(failing);
        EXPECT_NO_THROW(korvane::loadCoastlines(*k));
        window.Close();
        failureSeen = window.allocations() >= failing;
        EXPECT_TRUE(k->coastLoaded);
        ExpectConsistent(*k);
        const coastref::Coastlines loaded = Loaded(*k);
        ASSERT_LE(loaded.polylines.size(), full.polylines.size());
        for (size_t i = 0; i < loaded.polylines.size(); ++i) {
            const auto &got = loaded.polylines[i];
            const auto &want = full.polylines[i];
            if (i + 1 < loaded.polylines.size()) {
                EXPECT_EQ(got, want) << "allocation " << failing << ", polyline " << i;
            } else {
                ASSERT_LE(got.size(), want.size());
                EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin()))
                    << "allocation " << failing << ", polyline " << i;
            }
        }
        if (!failureSeen) {
            EXPECT_TRUE(k->coastAvailable);
            EXPECT_EQ(loaded, full);
        }
    }
}

TEST_F(CoastlinesTest, DrawProjectsEachPolylineOntoTheMap)
{
    // Stored units with k = 1000; the scale is 1024 pixels for 360 degrees.
    giveCoastlines({
        {{0, 0}, {-180000, 90000}, {180000, -90000}},
        {},
        // Truncated toward zero: 768 and 128 exactly; 1023.997, 511.997;
        // -0.003 (not -1) and 0; 512.003 and 512.003.
        {{90000, 45000}, {179999, -89999}, {-180001, 90001}, {1, -90001}},
    });
    building->mapScaleX = building->mapScaleY = 1024.0 / 360000.0;
    SURFHANDLE surface = headless::CreateSurface(1024, 1024);
    headless::ClearRecordings();
    oapi::Sketchpad *skp = oapiGetSketchpad(surface);
    ASSERT_NE(skp, nullptr);
    korvane::drawCoastlines(*skp, *building);
    oapiReleaseSketchpad(skp);
    std::vector<DrawCall> calls = testsupport::LastCallsOn(surface);

    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().op, DrawOp::SetPen);
    EXPECT_EQ(calls.front().pen.tool, building->penBlue);
    const std::vector<DrawCall> polylines = Only(calls, DrawOp::Polyline);
    ASSERT_EQ(polylines.size(), 2u); // the empty polyline draws nothing
    const std::vector<std::vector<std::pair<int, int>>> expected = {
        {{512, 256}, {0, 0}, {1024, 512}},
        {{768, 128}, {1023, 511}, {0, 0}, {512, 512}},
    };
    for (size_t i = 0; i < polylines.size(); ++i) {
        EXPECT_EQ(polylines[i].pen.tool, building->penBlue);
        std::vector<std::pair<int, int>> drawn;
        for (const oapi::IVECTOR2 &p : polylines[i].points)
            drawn.emplace_back(p.x, p.y);
        EXPECT_EQ(drawn, expected[i]) << "polyline " << i;
    }
    // The projected points stay in the building's own arrays.
    EXPECT_EQ(building->coastProjected[0].points[1].x, 0);
    EXPECT_EQ(building->coastProjected[2].points[0].x, 768);
    EXPECT_EQ(building->coastProjected[2].points[3].y, 512);
    EXPECT_EQ(building->coastSource[2].points[0].x, 90000);

    // The next redraw projects afresh with its own scale (twice as large).
    building->mapScaleX = building->mapScaleY = 2048.0 / 360000.0;
    headless::ClearRecordings();
    skp = oapiGetSketchpad(surface);
    korvane::drawCoastlines(*skp, *building);
    oapiReleaseSketchpad(skp);
    const std::vector<DrawCall> again = Only(testsupport::LastCallsOn(surface), DrawOp::Polyline);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_EQ(again[0].points[0].x, 1024);
    EXPECT_EQ(again[0].points[0].y, 512);
    EXPECT_EQ(again[0].points[2].x, 2048);
    EXPECT_EQ(again[1].points[1].x, 2047); // 359999 x 2048 / 360000 = 2047.994
    headless::DestroySurface(surface);
}

// A sketchpad that only counts what it is asked to draw.
class CountingSketchpad : public oapi::Sketchpad {
public:
    CountingSketchpad() : oapi::Sketchpad(nullptr) {}
    void Polyline(const oapi::IVECTOR2 *, int npt) override
    {
        ++polylines;
        points += npt;
    }
    int polylines = 0;
    long points = 0;
};

TEST_F(CoastlinesTest, DrawingAllocatesNothing)
{
    if (!ProbeWorks())
        GTEST_SKIP() << "another operator new replaces the probe";
    std::vector<std::vector<std::pair<int32_t, int32_t>>> polylines(50);
    for (size_t i = 0; i < polylines.size(); ++i)
        for (int32_t j = 0; j < static_cast<int32_t>(i); ++j)
            polylines[i].push_back({j * 1000, -j * 500});
    giveCoastlines(polylines);
    building->mapScaleX = building->mapScaleY = 1024.0 / 360000.0;
    CountingSketchpad skp;
    ProbeWindow window;
    korvane::drawCoastlines(skp, *building);
    window.Close();
    EXPECT_EQ(window.allocations(), 0);
    EXPECT_EQ(skp.polylines, 49);    // all but the empty one
    EXPECT_EQ(skp.points, 49 * 50 / 2); // 0 + 1 + ... + 49
}

} // namespace
