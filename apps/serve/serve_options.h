// Command-line options of korvane-serve.

#ifndef KORVANE_APPS_SERVE_SERVE_OPTIONS_H
#define KORVANE_APPS_SERVE_SERVE_OPTIONS_H

#include <string>

namespace serve {

struct ServeOptions {
    std::string root;                 // simulator root; empty: root/ beside the executable
    std::string scenario = "Scenarios/Korvane/Default.scn";
    std::string listenAddress = "127.0.0.1";
    int port = 8730;                  // 0: any free port
    double warp = 1.0;                // time acceleration, kMinWarp..kMaxWarp
    int framesPerSecond = 30;         // 1..kMaxFramesPerSecond
    int maxPages = 64;                // 1..kMaxPages
    int cockpitPosition = 0;
    int viewWidth = 960;              // the 3D view's picture, kMinViewSize..kMaxViewWidth
    int viewHeight = 540;             // kMinViewSize..kMaxViewHeight
    double viewRate = 5.0;            // most pictures of the 3D view a second, 0..kMaxViewRate; 0: none
    bool network = true;
    bool help = false;
};

constexpr int kMaxFramesPerSecond = 120;
constexpr int kMaxPages = 1000;
constexpr int kMinViewSize = 16;
constexpr int kMaxViewWidth = 3840;
constexpr int kMaxViewHeight = 2160;
constexpr double kMaxViewRate = 30.0;

// Parses argv. False with a message in *error for a bad option or value.
bool ParseServeOptions(int argc, char **argv, ServeOptions &out, std::string *error);

// The text that --help prints.
std::string ServeUsageText();

} // namespace serve

#endif // KORVANE_APPS_SERVE_SERVE_OPTIONS_H
