// The benchmarks of the frame path and the coastline loader, and the table
// that compares each figure with its target.
//
//   korvane_bench                 every benchmark, then the table
//   korvane_bench --benchmark_filter=REGEX   (Google Benchmark's options)

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>

#include "bench/tanks_bench.h"
#include "cockpit/area_ids.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "map/coastline_reader.h"
#include "map/reference_coast_reader.h"
#include "module/korvane.h"
#include "screens/screen_redraw.h"
#include "telemetry/flight_history.h"
#include "tracknet/network.h"

namespace {

// --- A synthetic coastline file of ten million points --------------------------

constexpr int kSyntheticPolylines = 10000;
constexpr int kSyntheticPointsEach = 1000;

bool syntheticFileMade = false;

const std::string &SyntheticCoastFile()
{
    static const std::string path = [] {
        syntheticFileMade = true;
        std::string p = "/tmp/korvane-bench-coast-" + std::to_string(getpid()) + ".vec";
        std::FILE *f = std::fopen(p.c_str(), "w");
        std::mt19937 random(42);
        std::uniform_real_distribution<double> lon(-180.0, 180.0), lat(-90.0, 90.0);
        std::fprintf(f, "1\n%d\n", kSyntheticPolylines);
        for (int i = 0; i < kSyntheticPolylines; ++i) {
            std::fprintf(f, "%d\n", kSyntheticPointsEach);
            for (int j = 0; j < kSyntheticPointsEach; ++j)
                std::fprintf(f, "%.3f %.3f\n", lon(random), lat(random));
        }
        std::fclose(f);
        return p;
    }();
    return path;
}

struct RemoveSyntheticFile {
    ~RemoveSyntheticFile()
    {
        if (syntheticFileMade)
            std::remove(SyntheticCoastFile().c_str());
    }
};

void BM_CoastLoadModule(benchmark::State &state)
{
    const std::string &path = SyntheticCoastFile();
    size_t points = 0;
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        korvane::CoastlineData data = korvane::ReadCoastlines(in, 1000.0);
        points = 0;
        for (const auto &p : data.source)
            points += static_cast<size_t>(p.pointCount);
        benchmark::DoNotOptimize(data);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_CoastLoadModule)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CoastLoadSscanfReference(benchmark::State &state)
{
    const std::string &path = SyntheticCoastFile();
    for (auto _ : state) {
        std::FILE *f = std::fopen(path.c_str(), "r");
        coastref::Coastlines data = coastref::ReadFile(f, 1000.0);
        std::fclose(f);
        benchmark::DoNotOptimize(data);
    }
}
BENCHMARK(BM_CoastLoadSscanfReference)->Unit(benchmark::kMillisecond)->Iterations(1);

// --- The frame path -----------------------------------------------------------------

// The default scenario's situation: the building at Houston following a
// station in low orbit, with the tracking network and the committed
// coastlines; the host's sketchpads neither paint nor record.
class ControlRoom {
public:
    ControlRoom()
    {
        char cwd[4096];
        savedDir_ = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
        if (chdir(KORVANE_ROOT_DIR) != 0)
            std::fprintf(stderr, "cannot enter %s\n", KORVANE_ROOT_DIR);
        // A session of the root without the network's plug-in, whose network
        // is made here instead, so that the figures are the building's own.
        sim_ = std::make_unique<headless::Simulator>(KORVANE_ROOT_DIR, std::vector<std::string>{"KorvaneNet"});
        std::string error;
        if (!sim_->loadScenarioText("BEGIN_ENVIRONMENT\n  Date MJD 60650.5\nEND_ENVIRONMENT\nBEGIN_SHIPS\nEND_SHIPS\n",
                                    &error))
            std::fprintf(stderr, "cannot start the session: %s\n", error.c_str());
        headless::World &world = headless::World::instance();
        Vessel *station = world.addVessel(std::make_unique<Vessel>("Station", "Generic"));
        station->makeGenericInterface();
        for (const char *line : {"STATUS Orbiting Earth", "RPOS 3932972.42 -5483869.75 -686024.79",
                                 "RVEL -3415.517 -3198.464 6066.681", "EMPTYMASS 400000", "TANK 30000 25000",
                                 "MAINENGINE 600000 3100"})
            station->parseLine(line);
        station->finishLoading(world.mjd());
        Vessel *self = world.addVessel(std::make_unique<Vessel>("Houston", "Korvane"));
        self->parseLine("POS -95.09 29.5593");
        building_ = std::make_unique<Korvane>(self->handle(), 1);
        self->iface = building_.get();
        building_->clbkSetClassCaps(nullptr);
        building_->setTargetByName("Station");
        network_ = tracknet::Network::Create();
        network_->attachNodes();
        building_->clbkGeneric(0, 1, network_->context());
        headless::SetSketchpadMode(headless::SketchpadMode::Null);
        world.advance(0.02);
    }
    ~ControlRoom()
    {
        headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
        building_.reset();
        network_.reset();
        sim_.reset();
        if (chdir(savedDir_.c_str()) != 0)
            std::fprintf(stderr, "cannot return to %s\n", savedDir_.c_str());
    }
    Korvane &building() { return *building_; }

private:
    std::string savedDir_;
    std::unique_ptr<headless::Simulator> sim_;
    std::unique_ptr<Korvane> building_;
    std::unique_ptr<tracknet::Network> network_;
};

void BM_Screen0Redraw(benchmark::State &state)
{
    ControlRoom room;
    Korvane &k = room.building();
    k.screenTimer[0] = 10.0;
    korvane::RedrawCockpitArea(k, korvane::AID_SCREEN0, k.drawSurface); // loads the coastlines once
    for (auto _ : state) {
        k.screenTimer[0] = 10.0;
        benchmark::DoNotOptimize(korvane::RedrawCockpitArea(k, korvane::AID_SCREEN0, k.drawSurface));
    }
    state.counters["coast_points"] = [&] {
        double n = 0;
        for (const auto &p : k.coastSource)
            n += p.pointCount;
        return n;
    }();
}
BENCHMARK(BM_Screen0Redraw)->Unit(benchmark::kMicrosecond);

void BM_RedrawNotElapsed(benchmark::State &state)
{
    ControlRoom room;
    Korvane &k = room.building();
    headless::World::instance().advance(0.0); // a step of 0: the interval never passes
    for (double &t : k.screenTimer)
        t = 0.0;
    for (auto _ : state)
        benchmark::DoNotOptimize(korvane::RedrawCockpitArea(k, korvane::AID_SCREEN1, k.drawSurface));
}
BENCHMARK(BM_RedrawNotElapsed);

void BM_Screen1RedrawFullHistory(benchmark::State &state)
{
    ControlRoom room;
    Korvane &k = room.building();
    for (int i = 0; i < 600; ++i)
        k.history.push({60650.5 + i * 2.0 / 86400.0, 400e3 + 1000.0 * std::sin(i * 0.01), 7660.0 + i * 0.1});
    for (auto _ : state) {
        k.screenTimer[1] = 10.0;
        benchmark::DoNotOptimize(korvane::RedrawCockpitArea(k, korvane::AID_SCREEN1, k.drawSurface));
    }
}
BENCHMARK(BM_Screen1RedrawFullHistory)->Unit(benchmark::kMicrosecond);

void BM_HistoryPushAtCapacity(benchmark::State &state)
{
    korvane::FlightHistory history;
    for (int i = 0; i < 600; ++i)
        history.push({static_cast<double>(i), 1.0, 2.0});
    double t = 600.0;
    for (auto _ : state) {
        history.push({t, 1.0, 2.0});
        t += 1.0;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HistoryPushAtCapacity);

// --- The table --------------------------------------------------------------------

class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                // Seconds per iteration.
                double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
                seconds_[run.benchmark_name()] = seconds;
            }
    }
    double seconds(const std::string &name) const
    {
        auto it = seconds_.find(name);
        return it == seconds_.end() ? -1.0 : it->second;
    }

private:
    std::map<std::string, double> seconds_;
};

void PrintTable(const TableReporter &r)
{
    struct Row {
        const char *figure;
        double measured;
        const char *unit;
        double target;
        bool atLeast; // the measured value must reach the target (a ratio)
    };
    double fast = r.seconds("BM_CoastLoadModule/iterations:3");
    double reference = r.seconds("BM_CoastLoadSscanfReference/iterations:1");
    const Row rows[] = {
        {"coast load, 10 M points", fast, "s", 1.0, false},
        {"coast load speed-up over sscanf", fast > 0 && reference > 0 ? reference / fast : -1.0, "x", 5.0, true},
        {"screen 0 redraw (Natural Earth coast)", r.seconds("BM_Screen0Redraw") * 1e3, "ms", 0.3, false},
        {"redraw request, interval not elapsed", r.seconds("BM_RedrawNotElapsed") * 1e9, "ns", 20.0, false},
        {"screen 1 redraw, 600 samples", r.seconds("BM_Screen1RedrawFullHistory") * 1e6, "us", 50.0, false},
        {"FlightHistory::push at capacity", r.seconds("BM_HistoryPushAtCapacity") * 1e6, "us", 1.0, false},
        {"3D view of the room, 1920 x 1080, 4x antialiased",
         r.seconds("BM_RenderRoomView/1920/1080/1/min_time:3.000/process_time/real_time") * 1e3, "ms", 100.0, false},
    };
    std::printf("\n| Figure | Measured | Target | Met |\n|---|---|---|---|\n");
    for (const Row &row : rows) {
        if (row.measured < 0) {
            std::printf("| %s | not run | %s %g %s | |\n", row.figure, row.atLeast ? ">=" : "<", row.target, row.unit);
            continue;
        }
        bool met = row.atLeast ? row.measured >= row.target : row.measured < row.target;
        std::printf("| %s | %.3g %s | %s %g %s | %s |\n", row.figure, row.measured, row.unit,
                    row.atLeast ? ">=" : "<", row.target, row.unit, met ? "yes" : "NO");
    }
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintTable(reporter);
    bench::PrintTankTable([&reporter](const std::string &name) { return reporter.seconds(name); });
    RemoveSyntheticFile remove;
    return 0;
}
