#include "apps/preview_options.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>

namespace preview {

namespace {

bool ParseNumber(const std::string &text, double *out)
{
    if (text.empty())
        return false;
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !(v == v))
        return false;
    *out = v;
    return true;
}

bool ParseTimed(const std::string &text, TimedAction::Kind kind, std::vector<TimedAction> &out)
{
    size_t at = text.rfind('@');
    if (at == std::string::npos)
        return false;
    double t = 0.0;
    if (!ParseNumber(text.substr(at + 1), &t) || t < 0.0)
        return false;
    out.push_back(TimedAction{kind, text.substr(0, at), t});
    return true;
}

// "X,Y" as two numbers; integers only if whole is set.
bool ParsePair(const std::string &text, bool whole, double *x, double *y)
{
    size_t comma = text.find(',');
    if (comma == std::string::npos || !ParseNumber(text.substr(0, comma), x) ||
        !ParseNumber(text.substr(comma + 1), y) || !std::isfinite(*x) || !std::isfinite(*y))
        return false;
    return !whole || (*x == std::floor(*x) && *y == std::floor(*y));
}

// Keyboard scan codes, as the simulator numbers its keys.
const std::map<std::string, unsigned int> &KeyCodes()
{
    static const std::map<std::string, unsigned int> codes = {
        {"q", 0x10},     {"w", 0x11},     {"e", 0x12},     {"r", 0x13},      {"t", 0x14},     {"y", 0x15},
        {"u", 0x16},     {"i", 0x17},     {"o", 0x18},     {"p", 0x19},      {"a", 0x1E},     {"s", 0x1F},
        {"d", 0x20},     {"f", 0x21},     {"g", 0x22},     {"h", 0x23},      {"j", 0x24},     {"k", 0x25},
        {"l", 0x26},     {"z", 0x2C},     {"x", 0x2D},     {"c", 0x2E},      {"v", 0x2F},     {"b", 0x30},
        {"n", 0x31},     {"m", 0x32},     {"f1", 0x3B},    {"grave", 0x29},  {"ctrl", 0x1D},  {"lctrl", 0x1D},
        {"rctrl", 0x9D}, {"alt", 0x38},   {"lalt", 0x38},  {"ralt", 0xB8},   {"shift", 0x2A}, {"lshift", 0x2A},
        {"rshift", 0x36}};
    return codes;
}

} // namespace

bool ParseKeyCombination(const std::string &text, unsigned char kstate[256], unsigned int *key)
{
    std::memset(kstate, 0, 256);
    std::string lower;
    for (char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t start = 0;
    bool any = false;
    while (start <= lower.size()) {
        size_t plus = lower.find('+', start);
        std::string name = lower.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        auto it = KeyCodes().find(name);
        if (it == KeyCodes().end())
            return false;
        kstate[it->second] = 0x80;
        *key = it->second;
        any = true;
        if (plus == std::string::npos)
            break;
        start = plus + 1;
    }
    return any;
}

std::string UsageText()
{
    return "Usage: korvane-preview [options]\n"
           "Runs a scenario in the headless simulator, writes the control room's screens\n"
           "and panels and its 3D view from the cockpit to PNG files, and saves the scenario.\n"
           "\n"
           "  --root DIR          simulator root (default: the root beside the executable)\n"
           "  --scenario PATH     scenario, relative to the root (default Scenarios/Korvane/Default.scn)\n"
           "  --duration SECONDS  simulated time to run (default 1800)\n"
           "  --step SECONDS      length of one frame (default 1)\n"
           "  --out DIR           where the images and the saved scenario go (default preview)\n"
           "  --save PATH         saved scenario (default <out>/saved.scn)\n"
           "  --report FILE       write the vessels' state at the end as JSON\n"
           "  --cockpit N         cockpit position to load (default 0)\n"
           "  --click AREA@TIME   click the cockpit area AREA at simulation time TIME\n"
           "  --key KEYS@TIME     press a key combination, e.g. ctrl+t@60\n"
           "  --input TEXT@TIME   type TEXT into the open input box and press Enter\n"
           "  --click-at X,Y@TIME click through pixel (X, Y) of the cockpit view (1920 x 1080) at TIME\n"
           "  --view N            also write view<N>.png, the view from cockpit position N (repeatable)\n"
           "  --look YAW,PITCH    turn the head in the cockpit views (degrees, right and up)\n"
           "  --external          also write exterior.png, the building from outside\n"
           "  --no-3d             write no 3D pictures (controlroom.png, view<N>.png, exterior.png)\n"
           "  --no-network        run without the tracking network\n"
           "  --render-all        paint the screens in every frame (default: the last few seconds)\n"
           "  --help              print this text\n";
}

bool ParseOptions(int argc, char **argv, Options &out, std::string *error)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string *v) {
            if (i + 1 >= argc) {
                *error = arg + " needs a value";
                return false;
            }
            *v = argv[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--no-network") {
            out.network = false;
        } else if (arg == "--render-all") {
            out.renderAll = true;
        } else if (arg == "--external") {
            out.exterior = true;
        } else if (arg == "--no-3d") {
            out.pictures3d = false;
        } else if (arg == "--view" || arg == "--look") {
            double a = 0.0, b = 0.0;
            if (!value(&v))
                return false;
            if (arg == "--view") {
                if (!ParseNumber(v, &a) || a != std::floor(a) || std::fabs(a) > 1e6) {
                    *error = "bad cockpit position for --view: " + v;
                    return false;
                }
                out.viewPositions.push_back(static_cast<int>(a));
            } else {
                if (!ParsePair(v, false, &a, &b)) {
                    *error = "expected YAW,PITCH in degrees for --look: " + v;
                    return false;
                }
                out.lookYawDeg = a;
                out.lookPitchDeg = b;
            }
        } else if (arg == "--click-at") {
            double x = 0.0, y = 0.0;
            std::vector<TimedAction> click;
            if (!value(&v))
                return false;
            if (!ParseTimed(v, TimedAction::Kind::ClickAt, click) || !ParsePair(click[0].what, true, &x, &y) ||
                x < 0 || x >= kViewWidth || y < 0 || y >= kViewHeight) {
                *error = "expected X,Y@TIME with a pixel of the " + std::to_string(kViewWidth) + " x " +
                         std::to_string(kViewHeight) + " view for --click-at: " + v;
                return false;
            }
            click[0].pixelX = static_cast<int>(x);
            click[0].pixelY = static_cast<int>(y);
            out.actions.push_back(click[0]);
        } else if (arg == "--root") {
            if (!value(&out.root))
                return false;
        } else if (arg == "--scenario") {
            if (!value(&out.scenario))
                return false;
        } else if (arg == "--out") {
            if (!value(&out.outDir))
                return false;
        } else if (arg == "--save") {
            if (!value(&out.savePath))
                return false;
        } else if (arg == "--report") {
            if (!value(&out.reportPath))
                return false;
        } else if (arg == "--duration" || arg == "--step") {
            double number = 0.0;
            if (!value(&v))
                return false;
            if (!ParseNumber(v, &number) || number < 0.0 || (arg == "--step" && number <= 0.0)) {
                *error = "bad number for " + arg + ": " + v;
                return false;
            }
            (arg == "--duration" ? out.durationSeconds : out.stepSeconds) = number;
        } else if (arg == "--cockpit") {
            double number = 0.0;
            if (!value(&v))
                return false;
            if (!ParseNumber(v, &number) || number != static_cast<int>(number)) {
                *error = "bad cockpit position: " + v;
                return false;
            }
            out.cockpitPosition = static_cast<int>(number);
        } else if (arg == "--click" || arg == "--key" || arg == "--input") {
            if (!value(&v))
                return false;
            TimedAction::Kind kind = arg == "--click" ? TimedAction::Kind::Click
                                     : arg == "--key" ? TimedAction::Kind::Key
                                                      : TimedAction::Kind::Input;
            if (!ParseTimed(v, kind, out.actions)) {
                *error = "expected WHAT@TIME for " + arg + ": " + v;
                return false;
            }
        } else {
            *error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

} // namespace preview
