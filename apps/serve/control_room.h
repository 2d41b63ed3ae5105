// The live control room on the simulation thread: the stand-in simulator
// running a scenario in the focus vessel's cockpit, in real time or
// accelerated, taking the pages' input and publishing what changed.
//
// Everything here runs on the one thread that owns the simulation, as in the
// simulator: module callbacks, host state and the input that pages sent.
// The network threads reach it only through the input queue (in) and the
// hub and the frame encoder (out).
//
// Per step: the waiting input is applied in arrival order; one frame of
// simulation runs (time stands still while paused, but MFD buttons and
// redraws go on); each area redraw that drew something is copied (unless its
// picture is the one sent last) and handed to the encoder; the MFD displays,
// the input box and the vessel list are published when they change, and the
// clock a few times a second.
//
// The 3D view from the cockpit is gathered here too, between frames, as the
// simulator draws it: only while a page watches, only after something it
// shows changed (an area's picture or an MFD display), at most viewRate
// times a second, and never while the encoder still has the areas' pictures
// to encode (which would slow their way to the pages) or the view worker
// still draws the last one: a later step gathers it then. The view worker
// draws it on a thread of its own (view_worker.h). A click on the view is a
// ray from the view's eye through the pixel clicked, which the cockpit's
// click zones take as the simulator's own click.

#ifndef KORVANE_APPS_SERVE_CONTROL_ROOM_H
#define KORVANE_APPS_SERVE_CONTROL_ROOM_H

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "apps/serve/frame_encoder.h"
#include "apps/serve/hub.h"
#include "apps/serve/input_queue.h"
#include "apps/serve/page_output.h"
#include "apps/serve/server_stats.h"
#include "apps/serve/view_worker.h"
#include "headless/vessel_view.h"

class Vessel;

namespace headless {
class Simulator;
}

namespace serve {

struct ControlRoomOptions {
    std::string root = ".";       // simulator root
    std::string scenario = "Scenarios/Korvane/Default.scn"; // relative to the root, or absolute
    double warp = 1.0;            // kMinWarp..kMaxWarp
    int framesPerSecond = 30;     // of the real-time loop
    bool network = true;          // start the tracking network's plug-in (if Orbiter.cfg activates it)
    int cockpitPosition = 0;
    int viewWidth = 960;          // the 3D view's picture (pixels)
    int viewHeight = 540;
    double viewRate = 5.0;        // most pictures of the 3D view a second; 0: no 3D view
};

class ControlRoom {
public:
    // Where a point of a texture lies on a vessel (headless/texture_point.h).
    using TexturePointFn = std::function<bool(const Vessel &, SURFHANDLE, double u, double v, VECTOR3 *)>;

    // The longest wall-clock time one frame may stand for (s): after a stall
    // of the machine the simulation takes no giant step; the time beyond it
    // is counted as lag.
    static constexpr double kMaxFrameWallSeconds = 0.5;
    // How often the clock goes to the pages (s of wall-clock time).
    static constexpr double kStateIntervalSeconds = 0.25;

    ControlRoom(Hub &hub, FrameEncoder &encoder, InputQueue &inputs, ServerStats &stats);
    ~ControlRoom();
    ControlRoom(const ControlRoom &) = delete;
    ControlRoom &operator=(const ControlRoom &) = delete;

    // Loads the scenario, opens the visuals, enters the focus vessel's
    // cockpit and publishes the hello. False with *error if the scenario
    // cannot be loaded or the focus vessel has no cockpit.
    bool load(const ControlRoomOptions &options, std::string *error);

    // One pass of the loop, standing for wallSeconds of real time.
    void step(double wallSeconds);
    // Steps in real time at the options' frame rate until stop is set, with
    // the view worker's thread drawing the 3D view (without run(), each
    // step draws it itself).
    void run(const std::atomic<bool> &stop);

    // Replaces the texture-to-cockpit mapping that panel clicks go through.
    void setTexturePoint(TexturePointFn fn) { texturePoint_ = std::move(fn); }

    headless::Simulator *simulator() const { return sim_.get(); }
    double warp() const { return warp_; }
    bool paused() const { return paused_; }
    std::uint64_t frames() const { return frames_; }
    double lagSeconds() const { return lagSeconds_; }

private:
    struct LastPicture {
        std::shared_ptr<const std::vector<std::uint32_t>> pixels;
        std::vector<std::string> texts;
    };

    void apply(const PageInput &input);
    void onRedraw(int areaId, SURFHANDLE texture);
    std::vector<std::string> textsSinceLastRedraw();
    void publishLayout();
    void publishChanges(bool forceState);
    SimulationState currentState() const;
    // Gathers the 3D view for the view worker, if it is due.
    void gatherView(double wallSeconds);
    ViewLayout viewLayout();

    Hub &hub_;
    FrameEncoder &encoder_;
    InputQueue &inputs_;
    ServerStats &stats_;
    std::unique_ptr<headless::Simulator> sim_;
    TexturePointFn texturePoint_;
    ControlRoomOptions options_;
    double warp_ = 1.0;
    bool paused_ = false;

    std::size_t recordsSeen_ = 0; // sketchpad records of this frame already given to a redraw
    std::map<int, LastPicture> lastPictures_;
    std::vector<MfdDisplay> mfdsSent_;
    InputBoxState boxSent_;
    bool boxWasOpen_ = false;
    std::string rejectedText_;
    std::vector<std::string> vesselsSent_;
    double sinceState_ = 0.0;     // wall seconds since the last state message
    double sinceFpsCount_ = 0.0;  // wall seconds of the current frame-rate count
    int framesCounted_ = 0;
    double framesPerSecond_ = 0.0;
    std::uint64_t frames_ = 0;
    double lagSeconds_ = 0.0;
    bool published_ = false;

    headless::VesselView view_;
    headless::ViewSpec viewSpec_;
    ViewWorker viewWorker_;
    bool viewOn_ = false;
    bool viewDirty_ = true;      // something the view shows changed since its last picture
    double sinceView_ = 1e9;     // wall seconds since the last picture
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_CONTROL_ROOM_H
