// The cockpit's two multifunction displays (MFDs), modelled as far as their
// button panels and the preview need: each MFD is switched on or off, shows
// one of four modes, and has twelve buttons beside its screen (0..5 the left
// column, 6..11 the right one, top to bottom).
//
// An MFD shows one of three pages:
//  - the mode's own page, whose labelled buttons change the mode's settings;
//  - the mode selection page (select key, OAPI_KEY_F1), whose buttons 0..3
//    choose a mode and return to its page; the select key again returns to
//    the mode's page unchanged;
//  - the button description page (menu key, OAPI_KEY_GRAVE, which toggles
//    it): the labels stay those of the mode and the buttons keep working.
// A switched-off MFD shows nothing, has no labels and ignores buttons and
// keys. A button acts on a left-button-down event only.

#ifndef KORVANE_HEADLESS_MFD_H
#define KORVANE_HEADLESS_MFD_H

#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace headless {

class MfdModel {
public:
    static constexpr int kMfdCount = 2;     // 0 left, 1 right
    static constexpr int kButtonCount = 12;
    static constexpr int kMaxZoom = 8;      // map zoom levels 1..kMaxZoom
    static constexpr int kNavReceivers = 2;

    enum class Mode { Orbit, Surface, Map, Comms };
    static constexpr int kModeCount = 4;
    enum class Page { Mode, Select, Menu };

    // What one MFD shows and the settings its buttons change. Each mode keeps
    // its settings while another mode is shown.
    struct Display {
        bool on = true;
        Mode mode = Mode::Orbit;
        Page page = Page::Mode;
        // Orbit
        int orbitReference = 0;            // REF: 0 Earth, 1 Moon
        bool orbitEquatorialFrame = false; // FRM: ecliptic or equatorial elements
        bool orbitListView = false;        // MOD: orbit drawing or element list
        bool orbitAltitudes = false;       // DST: distances from the centre or altitudes
        // Surface
        bool surfaceGroundAltitude = false; // ALT: above mean radius or above ground
        int surfaceSpeed = 0;               // SPD: 0 airspeed, 1 groundspeed, 2 vertical speed
        bool surfaceImperial = false;       // UNT: metric or imperial units
        // Map
        int mapReference = 0;  // REF: 0 Earth, 1 Moon
        bool mapTrack = false; // TRK: map centred on the vessel
        int mapZoom = 1;       // ZM+ / ZM-: 1..kMaxZoom
        // Comms
        int commsReceiver = 0;                                  // NAV: 0 NAV1, 1 NAV2
        int commsFrequencyKhz[kNavReceivers] = {108000, 108000}; // F+ / F-: 108.00..117.95 MHz
    };

    // The MFDs of the process's one simulation.
    static MfdModel &instance();

    MfdModel(const MfdModel &) = delete;
    MfdModel &operator=(const MfdModel &) = delete;

    // Both MFDs on, on their mode's page with default settings: the left one
    // in Orbit mode, the right one in Surface mode.
    void reset();

    // Null for mfd outside 0..kMfdCount-1.
    const Display *display(int mfd) const;
    static const char *ModeName(Mode mode);

    // The host functions' work; out-of-range arguments do nothing.
    void togglePower(int mfd);
    // True if the press did something.
    bool processButton(int mfd, int bt, int event);
    // 1 if the key was used, 0 otherwise.
    int sendKey(int mfd, DWORD key);
    // Null for an unlabelled button, a switched-off MFD or an argument out of range.
    const char *buttonLabel(int mfd, int bt) const;

    // --- For drawing the display ----------------------------------------------
    // What a labelled button does (the text of the description page); null
    // where buttonLabel is null.
    const char *buttonDescription(int mfd, int bt) const;
    // The display's heading; empty for a switched-off MFD.
    std::string title(int mfd) const;
    // The lines under the heading; none for a switched-off MFD.
    std::vector<std::string> displayLines(int mfd) const;

private:
    struct Button {
        const char *label; // null: the button does nothing
        const char *description;
        // Changes the settings; false if there was nothing to change. Null on
        // the selection page, where the press chooses a mode.
        bool (*press)(Display &d);
    };

    MfdModel();
    Display *displayOn(int mfd);
    // The button bt of the page d shows; null if it has no label there.
    static const Button *ButtonOf(const Display &d, int bt);
    static void ModeLines(const Display &d, std::vector<std::string> &lines);

    Display displays_[kMfdCount];
};

} // namespace headless

#endif // KORVANE_HEADLESS_MFD_H
