// The 3D view of the control room as the preview and the live server draw
// it: the building loaded by its module from the stand-in's root, seen from
// the seat (cockpit position 0) through the vessel view, with antialiasing.
// Between two pictures the module draws on its textures (here one pixel of
// each of the three screens and two label panels changes), so that those
// five are uploaded afresh, with the two MFD displays painted for every
// picture; the static textures (floor, walls) stay. The third figure is the
// live server's view when only the MFD displays are painted again (the
// module drew nothing new): the renderer keeps the unchanged textures. The time is the
// wall-clock time of a picture; the rasteriser's threads work in parallel
// with the caller's.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "headless/messages.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"
#include "headless/vc.h"
#include "headless/vessel_view.h"

namespace {

void BM_RenderRoomView(benchmark::State &state)
{
    char cwd[4096];
    std::string savedDir = getcwd(cwd, sizeof(cwd)) ? cwd : ".";
    if (chdir(KORVANE_ROOT_DIR) != 0) {
        state.SkipWithError("cannot enter the simulator root");
        return;
    }
    {
        headless::MessageCapture quiet;
        headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
        headless::Simulator sim(".");
        std::string error;
        if (!sim.loadScenario("Scenarios/Korvane/Default.scn", &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        sim.openVisuals();
        sim.loadCockpit(0);
        sim.frame(2.0); // every area drawn once
        headless::ClearRecordings();
        headless::VesselView view;
        headless::ViewSpec seat;
        seat.fovDeg = headless::SessionFovDeg(sim);
        headless::Surface image(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
        if (!view.render(*sim.focus(), seat, image, &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        uint32_t frame = 0;
        const bool moduleDraws = state.range(2) != 0;
        for (auto _ : state) {
            for (int area : {0, 1, 2, 300, 303})
                if (const headless::VcArea *a = headless::VirtualCockpit::instance().area(area))
                    if (headless::Surface *s = headless::SurfaceFromHandle(a->texture); s && moduleDraws)
                        s->data()[frame % 256] ^= 0x00FFFFFFu;
            ++frame;
            view.render(*sim.focus(), seat, image, &error);
            benchmark::DoNotOptimize(image.data());
            headless::ClearRecordings(); // the MFD displays' painting is recorded
        }
        sim.closeVisuals();
    }
    if (chdir(savedDir.c_str()) != 0)
        std::fprintf(stderr, "cannot return to %s\n", savedDir.c_str());
}
// The preview's picture, and the live server's view (width, height, whether
// the module drew on its textures since the last picture).
BENCHMARK(BM_RenderRoomView)
    ->Args({1920, 1080, 1})
    ->Args({960, 540, 1})
    ->Args({960, 540, 0})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
