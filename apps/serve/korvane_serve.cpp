// korvane-serve: runs a scenario in the stand-in simulator in real time and
// serves its control room as a live web page.
//
// Threads, as in the simulator: the main thread owns the simulation (module
// callbacks and host state) and runs the real-time loop; one network thread
// moves the pages' bytes; two encoder threads make PNG frames. They meet in
// the input queue, the frame encoder's waiting pictures and the hub.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "apps/serve/control_room.h"
#include "apps/serve/frame_encoder.h"
#include "apps/serve/hub.h"
#include "apps/serve/input_queue.h"
#include "apps/serve/serve_options.h"
#include "apps/serve/server_stats.h"
#include "apps/serve/web_server.h"
#include "headless/session_paths.h"
#include "headless/world.h"

namespace {

// Page input waiting for the simulation thread, all pages together.
constexpr std::size_t kInputLine = 256;

std::atomic<bool> gStop{false};

void OnSignal(int) { gStop.store(true); }

} // namespace

int main(int argc, char **argv)
{
    serve::ServeOptions options;
    std::string error;
    if (!serve::ParseServeOptions(argc, argv, options, &error)) {
        std::fprintf(stderr, "korvane-serve: %s\n%s", error.c_str(), serve::ServeUsageText().c_str());
        return 2;
    }
    if (options.help) {
        std::printf("%s", serve::ServeUsageText().c_str());
        return 0;
    }

    // As the simulator does, the session runs with its root as the current
    // directory; paths on the command line are the user's.
    headless::SessionPaths paths = headless::ResolveSessionPaths(options.root, options.scenario);
    const std::string &root = paths.root;
    const std::string &scenario = paths.scenario;
    if (chdir(root.c_str()) != 0) {
        std::fprintf(stderr, "korvane-serve: cannot enter the simulator root %s\n", root.c_str());
        return 1;
    }

    serve::Hub hub;
    serve::ServerStats stats;
    serve::InputQueue inputs(kInputLine);
    serve::FrameEncoder encoder(hub, stats);
    serve::ControlRoom room(hub, encoder, inputs, stats);
    serve::ControlRoomOptions roomOptions;
    roomOptions.root = ".";
    roomOptions.scenario = scenario;
    roomOptions.warp = options.warp;
    roomOptions.framesPerSecond = options.framesPerSecond;
    roomOptions.network = options.network;
    roomOptions.cockpitPosition = options.cockpitPosition;
    roomOptions.viewWidth = options.viewWidth;
    roomOptions.viewHeight = options.viewHeight;
    roomOptions.viewRate = options.viewRate;
    if (!room.load(roomOptions, &error)) {
        std::fprintf(stderr, "korvane-serve: %s\n", error.c_str());
        return 1;
    }

    serve::WebServerOptions webOptions;
    webOptions.listenAddress = options.listenAddress;
    webOptions.port = static_cast<unsigned short>(options.port);
    webOptions.maxPages = options.maxPages;
    serve::WebServer web(hub, inputs, stats, webOptions);
    if (!web.start(&error)) {
        std::fprintf(stderr, "korvane-serve: %s\n", error.c_str());
        return 1;
    }
    encoder.start();

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("Control room of %s at %s\n", options.scenario.c_str(), web.url().c_str());
    std::printf("(Ctrl+C stops the server)\n");
    std::fflush(stdout);

    room.run(gStop);

    web.stop();
    encoder.stop();
    std::printf("stopped at %.1f s of simulation time\n", headless::World::instance().simTime());
    return 0;
}
