// The 3D view's pictures, drawn on a thread of their own. The simulation
// thread gathers what a picture shows (headless::VesselView::gather) and
// copies it into the worker's job while the worker is idle; the worker draws
// it with the renderer and hands it to the frame encoder as a frame of
// stream "view". One picture at a time: the simulation thread never waits
// for the worker, it finds the job taken and tries again in a later frame.
//
// Drawing a picture takes longer than a frame of the simulation may (30 to
// 50 ms on two cores for 960 x 540 pixels), while gathering and copying
// takes a few milliseconds; so the simulation keeps its frame rate.
//
// Without its thread (before start(), in tests), post() draws at once on
// the caller's thread.

#ifndef KORVANE_APPS_SERVE_VIEW_WORKER_H
#define KORVANE_APPS_SERVE_VIEW_WORKER_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "apps/serve/frame_encoder.h"
#include "apps/serve/server_stats.h"
#include "headless/renderer.h"
#include "headless/surfaces.h"
#include "headless/vessel_view.h"

namespace serve {

// One picture's render input with its own copy of every texture's pixels.
struct ViewJob {
    headless::RenderView view;
    std::vector<headless::RenderMesh> meshes;
    std::vector<headless::RenderTexture> textures; // their pixels in `pixels`
    double simTimeSeconds = 0.0;
    Clock::time_point drawnAt;

    // Copies a gathered input. The copies are kept from one job to the
    // next: a texture whose static id or version is the one copied last time
    // at its index is not copied again.
    void take(const headless::ViewInput &input, double simTime, Clock::time_point at);

private:
    std::vector<std::vector<std::uint32_t>> pixels_;
    std::vector<std::uint64_t> keys_; // static id or version of each copy; 0: none
};

class ViewWorker {
public:
    ViewWorker(FrameEncoder &encoder, ServerStats &stats) : encoder_(encoder), stats_(stats) {}
    ~ViewWorker() { stop(); }
    ViewWorker(const ViewWorker &) = delete;
    ViewWorker &operator=(const ViewWorker &) = delete;

    // The size of the pictures; only while no job is taken.
    void setSize(int width, int height);
    void start();
    void stop();

    // The job to fill, or null while a picture is being drawn (or the
    // renderer failed: see failed()).
    ViewJob *vacant();
    // Draws the job filled since vacant(), and sends it unless publish is
    // false (a first picture that only prepares the renderer and the
    // copies).
    void post(bool publish = true);
    // The renderer could not draw a picture (the reason went to stderr):
    // the worker draws no more.
    bool failed() const { return failed_.load(); }

private:
    void run();
    void draw(bool publish);

    FrameEncoder &encoder_;
    ServerStats &stats_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool taken_ = false;   // the job is being filled, waits or is drawn
    bool pending_ = false; // posted, not yet drawn
    bool publish_ = true;  // the posted picture is sent
    bool stopping_ = false;
    std::thread thread_;
    std::atomic<bool> failed_{false};
    ViewJob job_;
    std::unique_ptr<headless::Surface> image_;
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_VIEW_WORKER_H
