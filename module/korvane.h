// Korvane: the mission-control building. A vessel that stands on a planet's
// surface and whose virtual cockpit shows the telemetry of one target
// vessel on three screens, beside two MFDs.
//
// The object owns every host resource it creates (the drawing surface, pens,
// brushes, fonts) and releases each exactly once in its destructor. Its host
// callbacks are thin: each hands the work to the subsystem that owns it.

#ifndef KORVANE_MODULE_KORVANE_H
#define KORVANE_MODULE_KORVANE_H

#include <cstdint>
#include <string>
#include <vector>

#include "DrawAPI.h"
#include "OrbiterAPI.h"
#include "VesselAPI.h"
#include "map/coast_polyline.h"
#include "telemetry/flight_history.h"

class Korvane final : public VESSEL3 {
public:
    Korvane(OBJHANDLE hVessel, int flightModel);
    // Not virtual: the module deletes the object through this type (ovcExit).
    ~Korvane();

    Korvane(const Korvane &) = delete;
    Korvane &operator=(const Korvane &) = delete;

    // --- Host callbacks -----------------------------------------------------
    void clbkSetClassCaps(FILEHANDLE cfg) override;
    void clbkSaveState(FILEHANDLE scn) override;
    void clbkLoadStateEx(FILEHANDLE scn, void *status) override;
    void clbkPostCreation() override;
    void clbkPostStep(double simt, double simdt, double mjd) override;
    void clbkVisualCreated(VISHANDLE vis, int refcount) override;
    void clbkVisualDestroyed(VISHANDLE vis, int refcount) override;
    int clbkConsumeBufferedKey(DWORD key, bool down, char *kstate) override;
    bool clbkLoadVC(int id) override;
    bool clbkVCMouseEvent(int id, int event, VECTOR3 &p) override;
    bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf) override;
    int clbkGeneric(int msgid, int prm, void *context) override;

    // --- Target selection ---------------------------------------------------
    // Sets the target from a typed name. targetName takes the name whatever
    // happens; the result says whether it named a vessel (targetValid).
    bool setTargetByName(const char *name);
    // The input box's callback; usrdata is the building.
    static bool onTargetInput(void *id, char *str, void *usrdata);

    // --- Fields -------------------------------------------------------------
    // Handles that class caps, the cockpit or a redraw fill in start out null,
    // so that an object torn down early releases nothing it does not own.
    MESHHANDLE meshMain = nullptr;           // "Korvane\Korvane"
    MESHHANDLE meshBuilding = nullptr;       // "Korvane\building"
    MESHHANDLE meshScreen[3] = {};      // "Korvane\ScreenUpd0..2"
    MESHHANDLE meshFlightDir = nullptr;      // "Korvane\Flight_Dir_Screen", carries both MFDs
    uint32_t meshIdxMain = 0;
    uint32_t meshIdxBuilding = 0;
    uint32_t meshIdxScreen[3] = {};
    uint32_t meshIdxFlightDir = 0;     // MFD 0 on its group 1, MFD 1 on group 2
    oapi::Sketchpad *activeSketchpad = nullptr; // open on drawSurface during a screen redraw
    SURFHANDLE screenTex[3] = {};       // texture 1 of each screen mesh
    SURFHANDLE drawSurface = nullptr;        // 1024 x 1024, shared by the three screens
    VISHANDLE visualHandle = nullptr;
    DEVMESHHANDLE screenDevMesh[3] = {};

    void *network;                 // the tracking network's context; never owned

    bool coastLoaded;              // the coastline file has been tried
    bool coastAvailable;           // ... and was opened
    uint32_t coastLineCount;
    int32_t coastHeaderValue;      // first integer of the coastline file
    double coordScale;             // stored coastline units per degree

    OBJHANDLE linkNode;            // station or relay carrying the link
    double linkStrength;           // percent
    double linkLag;                // seconds
    int32_t linkType;              // 0 none, 1 station, 2 relay, 3 deep space
    bool linkUp;                   // result of the last link query

    double mapScaleX, mapScaleY;   // map pixels per stored coordinate unit
    std::vector<korvane::CoastPolyline> coastSource;    // stored units
    std::vector<korvane::CoastPolyline> coastProjected; // map pixels of the last redraw

    int32_t textLeft = 16;              // left x of the status lines

    // Drawing resources, created in this order.
    oapi::Pen *penGreen, *penGreenWide, *penWhite, *penGreyDashed, *penGrey, *penWhiteWide, *penWhiteDashed,
        *penDarkGreen, *penYellow, *penYellowWide, *penOlive, *penBlue, *penBlueWide, *penNavy, *penRed,
        *penRedWide, *penDarkRed, *penMagenta, *penMagentaWide, *penPurple, *penCyan, *penCyanWide, *penTeal,
        *penBlack;
    oapi::Brush *brushBlack, *brushGreen, *brushDarkGreen, *brushNavy, *brushYellow, *brushShade, *brushGrey,
        *brushDarkOlive;
    oapi::Font *fontLarge, *fontSmall, *fontTiny, *fontMedium;

    double screenTimer[3];         // seconds since each screen was drawn
    OBJHANDLE targetHandle;        // valid only while targetValid
    std::string targetName;        // as last entered or loaded
    bool targetValid;
    double sampleTimer;            // seconds since the last history sample
    korvane::FlightHistory history;
    double screenRefreshInterval;  // seconds between two redraws of one screen

private:
    void createDrawingResources();
};

#endif // KORVANE_MODULE_KORVANE_H
