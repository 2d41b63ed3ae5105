#include "apps/serve/serve_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "apps/serve/page_input.h"

namespace serve {

namespace {

bool ParseNumber(const std::string &text, double *out)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

bool ParseInteger(const std::string &text, int lo, int hi, int *out)
{
    double value = 0.0;
    if (!ParseNumber(text, &value) || value != std::floor(value) || value < lo || value > hi)
        return false;
    *out = static_cast<int>(value);
    return true;
}

} // namespace

bool ParseServeOptions(int argc, char **argv, ServeOptions &out, std::string *error)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string v;
        auto value = [&] {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        auto bad = [&](const char *what) {
            *error = "bad " + std::string(what) + " for " + arg + ": " + v;
            return false;
        };
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--no-network") {
            out.network = false;
        } else if (arg == "--root" || arg == "--scenario" || arg == "--listen") {
            if (!value())
                return false;
            if (v.empty())
                return bad("value");
            (arg == "--root" ? out.root : arg == "--scenario" ? out.scenario : out.listenAddress) = v;
        } else if (arg == "--port") {
            if (!value())
                return false;
            if (!ParseInteger(v, 0, 65535, &out.port))
                return bad("port (0..65535)");
        } else if (arg == "--warp") {
            if (!value())
                return false;
            if (!ParseNumber(v, &out.warp) || out.warp < kMinWarp || out.warp > kMaxWarp)
                return bad("time acceleration (0.1..100000)");
        } else if (arg == "--fps") {
            if (!value())
                return false;
            if (!ParseInteger(v, 1, kMaxFramesPerSecond, &out.framesPerSecond))
                return bad("frame rate (1..120)");
        } else if (arg == "--max-pages") {
            if (!value())
                return false;
            if (!ParseInteger(v, 1, kMaxPages, &out.maxPages))
                return bad("page count (1..1000)");
        } else if (arg == "--view-size") {
            if (!value())
                return false;
            size_t x = v.find('x');
            if (x == std::string::npos || !ParseInteger(v.substr(0, x), kMinViewSize, kMaxViewWidth, &out.viewWidth) ||
                !ParseInteger(v.substr(x + 1), kMinViewSize, kMaxViewHeight, &out.viewHeight))
                return bad("view size (WIDTHxHEIGHT, 16x16 to 3840x2160)");
        } else if (arg == "--view-rate") {
            if (!value())
                return false;
            if (!ParseNumber(v, &out.viewRate) || out.viewRate < 0.0 || out.viewRate > kMaxViewRate)
                return bad("view rate (0 to 30 pictures a second)");
        } else if (arg == "--cockpit") {
            if (!value())
                return false;
            if (!ParseInteger(v, -1000000, 1000000, &out.cockpitPosition))
                return bad("cockpit position");
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

std::string ServeUsageText()
{
    return "usage: korvane-serve [options]\n"
           "Runs a scenario in the stand-in simulator in real time and serves its control room\n"
           "as a web page.\n"
           "  --scenario PATH   scenario, relative to the root (default Scenarios/Korvane/Default.scn)\n"
           "  --root DIR        simulator root (default: root/ beside the executable)\n"
           "  --port N          port to serve on, 0 for any free one (default 8730)\n"
           "  --listen ADDR     address to listen on (default 127.0.0.1, this machine only)\n"
           "  --warp X          time acceleration, 0.1 to 100000 (default 1)\n"
           "  --fps N           simulation frames per second, 1 to 120 (default 30)\n"
           "  --max-pages N     pages connected at once, 1 to 1000 (default 64)\n"
           "  --cockpit N       cockpit position to enter (default 0)\n"
           "  --view-size WxH   size of the 3D view from the cockpit (default 960x540)\n"
           "  --view-rate N     most pictures of the 3D view a second, 0 for none (default 5)\n"
           "  --no-network      run without the tracking network\n"
           "  --help            list the options\n";
}

} // namespace serve
