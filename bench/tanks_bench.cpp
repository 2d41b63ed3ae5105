#include "bench/tanks_bench.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "cockpit/area_ids.h"
#include "headless/messages.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vessel.h"
#include "headless/world.h"
#include "module/korvane.h"
#include "screens/screen_redraw.h"

namespace {

const long kTankCounts[] = {1000, 10000, 100000};

// The station scenario's target with n tanks of 1 kg, followed from a
// building at Houston.
std::string ScenarioWithTanks(long n)
{
    std::string text = "BEGIN_ENVIRONMENT\n  Date MJD 60650.5\nEND_ENVIRONMENT\n"
                       "BEGIN_FOCUS\n  Ship Houston\nEND_FOCUS\nBEGIN_SHIPS\n"
                       "Hoard:Generic\n  STATUS Orbiting Earth\n  RPOS 3932972.42 -5483869.75 -686024.79\n"
                       "  RVEL -3415.517 -3198.464 6066.681\n  EMPTYMASS 10000\n  MAINENGINE 20000 3000\n";
    text.reserve(text.size() + static_cast<size_t>(n) * 12 + 128);
    for (long i = 0; i < n; ++i)
        text += "  TANK 1 1\n";
    text += "END\nHouston:Korvane\n  STATUS Landed Earth\n  POS -95.09 29.5593\n  TARGET Hoard\nEND\nEND_SHIPS\n";
    return text;
}

// A building (made from the module library, so that its screens can be
// asked for directly) following a vessel of n tanks.
class TankRoom {
public:
    explicit TankRoom(long n)
    {
        headless::World &world = headless::World::instance();
        world.reset();
        world.setStartMjd(60650.5);
        Vessel *hoard = world.addVessel(std::make_unique<Vessel>("Hoard", "Generic"));
        hoard->makeGenericInterface();
        hoard->parseLine("STATUS Orbiting Earth");
        hoard->parseLine("EMPTYMASS 10000");
        for (long i = 0; i < n; ++i)
            hoard->parseLine("TANK 1 1");
        hoard->finishLoading(world.mjd());
        Vessel *self = world.addVessel(std::make_unique<Vessel>("Houston", "Korvane"));
        self->parseLine("POS -95.09 29.5593");
        building_ = std::make_unique<Korvane>(self->handle(), 1);
        self->iface = building_.get();
        building_->clbkSetClassCaps(nullptr);
        building_->setTargetByName("Hoard");
        headless::SetSketchpadMode(headless::SketchpadMode::Null);
    }
    ~TankRoom()
    {
        headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
        building_.reset();
        headless::World::instance().reset();
    }
    Korvane &building() { return *building_; }

private:
    std::unique_ptr<Korvane> building_;
};

void BM_Screen1RedrawTanks(benchmark::State &state)
{
    TankRoom room(state.range(0));
    Korvane &k = room.building();
    for (auto _ : state) {
        k.screenTimer[1] = 10.0;
        benchmark::DoNotOptimize(korvane::RedrawCockpitArea(k, korvane::AID_SCREEN1, k.drawSurface));
    }
    state.counters["tanks"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_Screen1RedrawTanks)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// One frame of the preview: the step of every vessel and the building's
// screens, its cockpit entered, with the module loaded from the root.
void BM_SimulationStepTanks(benchmark::State &state)
{
    char cwd[4096];
    std::string savedDir = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
    if (chdir(KORVANE_ROOT_DIR) != 0)
        state.SkipWithError("cannot enter the simulator root");
    {
        headless::MessageCapture quiet;
        headless::Simulator sim(".");
        std::string error;
        if (!sim.loadScenarioText(ScenarioWithTanks(state.range(0)), &error))
            state.SkipWithError(error.c_str());
        sim.openVisuals();
        sim.loadCockpit(0);
        headless::SetSketchpadMode(headless::SketchpadMode::Null);
        for (auto _ : state)
            sim.frame(1.0);
        headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
        sim.closeVisuals();
    }
    if (chdir(savedDir.c_str()) != 0)
        std::fprintf(stderr, "cannot return to %s\n", savedDir.c_str());
    state.counters["tanks"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_SimulationStepTanks)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

namespace bench {

void PrintTankTable(const std::function<double(const std::string &)> &seconds)
{
    std::printf("\nA target with many tanks (time per call; growth: the time at ten times the tanks over the\n"
                "time before, 10 for linear growth, 100 for quadratic)\n\n"
                "| Tanks | Screen 1 redraw | growth | Simulation step | growth |\n|---|---|---|---|---|\n");
    double lastRedraw = -1.0, lastStep = -1.0;
    for (long n : kTankCounts) {
        double redraw = seconds("BM_Screen1RedrawTanks/" + std::to_string(n));
        double step = seconds("BM_SimulationStepTanks/" + std::to_string(n));
        auto growth = [](double now, double before, char *buf, size_t size) {
            if (now > 0 && before > 0)
                std::snprintf(buf, size, "%.1f x", now / before);
            else
                std::snprintf(buf, size, "-");
        };
        char g1[32], g2[32];
        growth(redraw, lastRedraw, g1, sizeof(g1));
        growth(step, lastStep, g2, sizeof(g2));
        std::printf("| %ld | %.3g us | %s | %.3g us | %s |\n", n, redraw * 1e6, g1, step * 1e6, g2);
        lastRedraw = redraw;
        lastStep = step;
    }
}

} // namespace bench
