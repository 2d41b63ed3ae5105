// Command-line options of korvane-preview.

#ifndef KORVANE_APPS_PREVIEW_OPTIONS_H
#define KORVANE_APPS_PREVIEW_OPTIONS_H

#include <string>
#include <vector>

namespace preview {

// Something the user does at a simulation time.
struct TimedAction {
    enum class Kind { Click, Key, Input } kind;
    std::string what;   // area id, key combination ("ctrl+t") or typed text
    double timeSeconds; // simulation time
};

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
