// korvane-preview: the command-line front end of the headless simulator.
// Loads the add-on like the simulator does, runs a scenario, renders the
// control room and saves the scenario.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "apps/control_room_images.h"
#include "apps/preview_options.h"
#include "apps/run_report.h"
#include "headless/input.h"
#include "headless/sketchpad_recorder.h"
#include "headless/vc.h"
#include "headless/simulator.h"
#include "headless/session_paths.h"
#include "headless/vecmath.h"
#include "headless/vessel_view.h"
#include "headless/world.h"

namespace {

// The tracking network's plug-in, Modules/Plugin/KorvaneNet.so.
constexpr char kNetworkPlugin[] = "KorvaneNet";

void PrintSummary()
{
    headless::World &world = headless::World::instance();
    std::printf("simulated %.1f s, MJD %.6f\n", world.simTime(), world.mjd());
    for (Vessel *v : world.vessels()) {
        double altKm = v->altitudeMeanRadius() / 1000.0;
        if (v->status == Vessel::Status::Landed)
            std::printf("  %-20s %-10s landed on %s\n", v->name().c_str(), v->className().c_str(),
                        v->ref->name().c_str());
        else
            std::printf("  %-20s %-10s altitude %9.1f km, speed %8.1f m/s, mass %.0f kg\n", v->name().c_str(),
                        v->className().c_str(), altKm, headless::length(v->relativeVel()), v->mass());
    }
}

// Frames painted at the end of a run: enough simulated time for every
// screen's refresh interval to pass at least twice.
long PaintedFrames(double stepSeconds)
{
    const double paintedSeconds = 4.0;
    long n = static_cast<long>(paintedSeconds / stepSeconds) + 2;
    return n;
}

// Asks for a redraw of every cockpit area drawn on a texture, so that areas
// drawn only on demand (the MFD panels) are painted again too.
void RepaintCockpit()
{
    headless::VirtualCockpit &cockpit = headless::VirtualCockpit::instance();
    for (const headless::VcArea &area : cockpit.areas())
        if (area.hasTexture)
            cockpit.triggerRedraw(-1, area.id);
}

// The room as its user sees it: the view the pictures and --click-at share.
struct RoomView {
    headless::VesselView view;
    headless::ViewSpec cockpit; // from the loaded cockpit position, turned by --look
};

// A click through a pixel of the cockpit view, as the simulator turns a
// click on its picture into a ray from the eye.
bool ClickThroughPixel(headless::Simulator &sim, RoomView &room, int x, int y)
{
    if (!sim.focus())
        return false;
    headless::ViewCamera camera = room.view.camera(*sim.focus(), room.cockpit);
    headless::Ray ray = camera.RayThroughPixel(x, y, preview::kViewWidth, preview::kViewHeight);
    return sim.clickRay(ray.origin, ray.direction);
}

// The 3D pictures at the end of a run: controlroom.png from the run's
// cockpit position, exterior.png, then view<N>.png from each position asked
// for (the cockpit is loaded there for it).
bool WriteRoomViews(headless::Simulator &sim, RoomView &room, const preview::Options &options, const std::string &outDir,
                    std::vector<std::string> *written)
{
    std::string error;
    auto write = [&](const headless::ViewSpec &spec, const std::string &name) {
        std::string path = outDir + "/" + name;
        if (!preview::WriteViewImage(sim, room.view, spec, path, &error)) {
            std::fprintf(stderr, "korvane-preview: %s: %s\n", name.c_str(), error.c_str());
            return false;
        }
        written->push_back(path);
        return true;
    };
    bool ok = !sim.cockpitLoaded() || write(room.cockpit, "controlroom.png");
    if (options.exterior) {
        headless::ViewSpec outside;
        outside.kind = headless::ViewKind::External;
        outside.fovDeg = room.cockpit.fovDeg;
        ok = write(outside, "exterior.png") && ok;
    }
    for (int position : options.viewPositions) {
        if (!sim.loadCockpit(position)) {
            std::fprintf(stderr, "korvane-preview: view%d.png: the focus vessel has no virtual cockpit\n", position);
            ok = false;
            continue;
        }
        ok = write(room.cockpit, "view" + std::to_string(position) + ".png") && ok;
    }
    return ok;
}

void Perform(headless::Simulator &sim, RoomView &room, const preview::TimedAction &action)
{
    double t = headless::World::instance().simTime();
    switch (action.kind) {
    case preview::TimedAction::Kind::Click: {
        char *end = nullptr;
        long id = std::strtol(action.what.c_str(), &end, 10);
        bool ok = end != action.what.c_str() && *end == '\0' && sim.clickArea(static_cast<int>(id));
        std::printf("t=%.1f click area %s%s\n", t, action.what.c_str(), ok ? "" : ": no such clickable area");
        break;
    }
    case preview::TimedAction::Kind::Key: {
        unsigned char kstate[256];
        unsigned int key = 0;
        if (!preview::ParseKeyCombination(action.what, kstate, &key)) {
            std::printf("t=%.1f key %s: unknown key\n", t, action.what.c_str());
            break;
        }
        int used = sim.bufferedKey(key, reinterpret_cast<const char *>(kstate));
        std::printf("t=%.1f key %s%s\n", t, action.what.c_str(), used ? "" : " (not used)");
        break;
    }
    case preview::TimedAction::Kind::Input: {
        bool open = headless::CurrentInputBox().open;
        bool accepted = headless::AnswerInputBox(action.what);
        std::printf("t=%.1f input \"%s\"%s\n", t, action.what.c_str(),
                    !open ? ": no input box is open" : accepted ? "" : " (rejected)");
        break;
    }
    case preview::TimedAction::Kind::ClickAt: {
        bool ok = ClickThroughPixel(sim, room, action.pixelX, action.pixelY);
        std::printf("t=%.1f click at %d,%d%s\n", t, action.pixelX, action.pixelY,
                    ok ? "" : ": nothing there takes clicks");
        break;
    }
    }
}

} // namespace

int main(int argc, char **argv)
{
    preview::Options options;
    std::string error;
    if (!preview::ParseOptions(argc, argv, options, &error)) {
        std::fprintf(stderr, "korvane-preview: %s\n%s", error.c_str(), preview::UsageText().c_str());
        return 2;
    }
    if (options.help) {
        std::printf("%s", preview::UsageText().c_str());
        return 0;
    }

    // Paths on the command line are the user's, relative to where the
    // preview was started; the simulator itself runs in its root.
    headless::SessionPaths paths = headless::ResolveSessionPaths(options.root, options.scenario);
    const std::string &startDir = paths.startDir;
    const std::string &root = paths.root;
    const std::string &scenario = paths.scenario;
    std::string outDir = headless::AbsolutePath(options.outDir, startDir);
    std::string savePath = options.savePath.empty() ? outDir + "/saved.scn" : headless::AbsolutePath(options.savePath, startDir);
    if (chdir(root.c_str()) != 0) {
        std::fprintf(stderr, "korvane-preview: cannot enter the simulator root %s\n", root.c_str());
        return 1;
    }
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "korvane-preview: cannot create %s\n", outDir.c_str());
        return 1;
    }

    // --no-network leaves the tracking network's plug-in out even where the
    // root's Orbiter.cfg activates it.
    std::vector<std::string> skippedPlugins;
    if (!options.network)
        skippedPlugins.push_back(kNetworkPlugin);
    headless::Simulator sim(".", skippedPlugins);
    if (!sim.loadScenario(scenario, &error)) {
        std::fprintf(stderr, "korvane-preview: %s\n", error.c_str());
        return 1;
    }

    sim.openVisuals();
    if (!sim.loadCockpit(options.cockpitPosition))
        std::fprintf(stderr, "korvane-preview: the focus vessel has no virtual cockpit\n");
    RoomView room;
    room.cockpit.look = headless::HeadTurn{options.lookYawDeg, options.lookPitchDeg};
    room.cockpit.fovDeg = headless::SessionFovDeg(sim);

    std::vector<preview::TimedAction> actions = options.actions;
    std::stable_sort(actions.begin(), actions.end(),
                     [](const preview::TimedAction &a, const preview::TimedAction &b) {
                         return a.timeSeconds < b.timeSeconds;
                     });
    size_t nextAction = 0;
    long frames = static_cast<long>(options.durationSeconds / options.stepSeconds + 0.5);
    // The pictures show the last frames: before those, the building draws
    // as always but the host's sketchpads neither paint nor record, which
    // keeps a long run quick. --render-all paints every frame.
    long paintFrom = options.renderAll ? 0 : frames - PaintedFrames(options.stepSeconds);
    headless::SetSketchpadMode(paintFrom > 0 ? headless::SketchpadMode::Null : headless::SketchpadMode::RasterAndRecord);
    for (long k = 0; k < frames; ++k) {
        if (k == paintFrom && paintFrom > 0) {
            headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
            RepaintCockpit();
        }
        while (nextAction < actions.size() &&
               actions[nextAction].timeSeconds <= headless::World::instance().simTime())
            Perform(sim, room, actions[nextAction++]);
        sim.frame(options.stepSeconds);
        headless::ClearRecordings(); // nothing reads them here; they would only pile up
    }
    headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);

    if (!sim.saveScenario(savePath, &error)) {
        std::fprintf(stderr, "korvane-preview: %s\n", error.c_str());
        return 1;
    }
    if (!options.reportPath.empty() && !preview::WriteRunReport(headless::AbsolutePath(options.reportPath, startDir), &error)) {
        std::fprintf(stderr, "korvane-preview: %s\n", error.c_str());
        return 1;
    }
    PrintSummary();
    std::vector<std::string> images;
    bool imagesOk = preview::WriteAreaImages(outDir, &images);
    if (options.pictures3d)
        imagesOk = WriteRoomViews(sim, room, options, outDir, &images) && imagesOk;
    for (const std::string &path : images)
        std::printf("image: %s\n", path.c_str());
    std::printf("saved scenario: %s\n", savePath.c_str());
    sim.closeVisuals();
    return imagesOk ? 0 : 1;
}
