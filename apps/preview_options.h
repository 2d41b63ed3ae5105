// Command-line options of korvane-preview.

#ifndef KORVANE_APPS_PREVIEW_OPTIONS_H
#define KORVANE_APPS_PREVIEW_OPTIONS_H

#include <string>
#include <vector>

namespace preview {

// Something the user does at a simulation time.
struct TimedAction {
    enum class Kind { Click, Key, Input, ClickAt } kind;
    std::string what;   // area id, key combination ("ctrl+t"), typed text or "X,Y"
    double timeSeconds; // simulation time
    int pixelX = 0;     // ClickAt: the pixel of the cockpit view, within kViewWidth x kViewHeight
    int pixelY = 0;
};

// The size of the 3D pictures of the room, and of the view --click-at
// clicks through.
constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;

struct Options {
    std::string root;                             // simulator root; empty: beside the executable
    std::string scenario = "Scenarios/Korvane/Default.scn";
    double durationSeconds = 1800.0;
    double stepSeconds = 1.0;
    std::string outDir = "preview";
    std::string savePath;                         // empty: <outDir>/saved.scn
    std::string reportPath;                       // empty: no JSON report
    int cockpitPosition = 0;
    bool network = true;
    bool renderAll = false;                       // paint every frame, not only the last ones
    // The 3D pictures: controlroom.png from the run's cockpit position,
    // view<N>.png from each of viewPositions, exterior.png from outside.
    bool pictures3d = true;
    std::vector<int> viewPositions;
    bool exterior = false;
    double lookYawDeg = 0.0;                      // the head's turn in every cockpit picture and click
    double lookPitchDeg = 0.0;
    std::vector<TimedAction> actions;
    bool help = false;
};

// Parses argv. Returns false with a message in *error for a bad option.
bool ParseOptions(int argc, char **argv, Options &out, std::string *error);

// The text that --help prints.
std::string UsageText();

// Key state for a combination such as "ctrl+t", "ctrl+shift+t", "f1"; the
// key code of the last key goes to *key. False for an unknown key name.
bool ParseKeyCombination(const std::string &text, unsigned char kstate[256], unsigned int *key);

} // namespace preview

#endif // KORVANE_APPS_PREVIEW_OPTIONS_H
