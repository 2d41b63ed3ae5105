#include "module/korvane.h"

#include "cockpit/cockpit_input.h"
#include "cockpit/cockpit_layout.h"
#include "module/colour.h"
#include "module/mesh_layout.h"
#include "screens/screen_redraw.h"
#include "telemetry/flight_sampler.h"

using korvane::HostColour;

namespace {

constexpr int kDrawSurfacePixels = 1024;
constexpr int kPenSolid = 1;
constexpr int kPenDashed = 2;

// Ground contact: three feet on a circle of 10 m, 5 m below the origin, and
// one point on the roof. The z of the two rear feet is one unit in the last
// place above -5.
const TOUCHDOWNVTX kTouchdownPoints[4] = {
    {{{8.660254037844387, -5.0, -4.999999999999999}}, 300000, 300000, 3.0, 3.0},
    {{{0.0, -5.0, 10.0}}, 300000, 300000, 3.0, 3.0},
    {{{-8.660254037844387, -5.0, -4.999999999999999}}, 300000, 300000, 3.0, 3.0},
    {{{0.0, 50.0, 0.0}}, 300000, 300000, 3.0, 3.0},
};

} // namespace

Korvane::Korvane(OBJHANDLE hVessel, int flightModel)
    : VESSEL3(hVessel, flightModel), network(nullptr), coastLoaded(false), coastAvailable(false), coastLineCount(0),
      coastHeaderValue(0), coordScale(1000.0), linkNode(nullptr), linkStrength(0.0), linkLag(0.0), linkType(0),
      linkUp(false), mapScaleX(1.0), mapScaleY(1.0), screenTimer{10.0, 10.0, 10.0}, targetHandle(nullptr),
      targetValid(false), sampleTimer(0.0), history(korvane::FlightHistory::kDefaultCapacity),
      screenRefreshInterval(1.5)
{
    createDrawingResources();
}

void Korvane::createDrawingResources()
{
    penGreen = oapiCreatePen(kPenSolid, 1, 0x00FF00);
    penGreenWide = oapiCreatePen(kPenSolid, 2, 0x00FF00);
    penWhite = oapiCreatePen(kPenSolid, 1, 0xFFFFFF);
    penGreyDashed = oapiCreatePen(kPenDashed, 1, 0x9C9C9C);
    penGrey = oapiCreatePen(kPenSolid, 1, 0x9C9C9C);
    penWhiteWide = oapiCreatePen(kPenSolid, 2, 0xFFFFFF);
    penWhiteDashed = oapiCreatePen(kPenDashed, 1, 0xFFFFFF);
    penDarkGreen = oapiCreatePen(kPenSolid, 1, 0x336633);
    penYellow = oapiCreatePen(kPenSolid, 1, 0x00FFFF);
    penYellowWide = oapiCreatePen(kPenSolid, 2, 0x00FFFF);
    penOlive = oapiCreatePen(kPenSolid, 1, 0x005252);
    penBlue = oapiCreatePen(kPenSolid, 1, 0xFF0000);
    penBlueWide = oapiCreatePen(kPenSolid, 2, 0xFF0000);
    penNavy = oapiCreatePen(kPenSolid, 1, 0x290000);
    penRed = oapiCreatePen(kPenSolid, 1, 0x0000FF);
    penRedWide = oapiCreatePen(kPenSolid, 2, 0x0000FF);
    penDarkRed = oapiCreatePen(kPenSolid, 1, 0x000066);
    penMagenta = oapiCreatePen(kPenSolid, 1, 0xFF00FF);
    penMagentaWide = oapiCreatePen(kPenSolid, 2, 0xFF00FF);
    penPurple = oapiCreatePen(kPenSolid, 1, 0x660066);
    penCyan = oapiCreatePen(kPenSolid, 1, 0xFFFF00);
    penCyanWide = oapiCreatePen(kPenSolid, 2, 0xFFFF00);
    penTeal = oapiCreatePen(kPenSolid, 1, 0x666600);
    penBlack = oapiCreatePen(kPenSolid, 1, HostColour(0, 0, 0));

    brushBlack = oapiCreateBrush(0x000000);
    brushGreen = oapiCreateBrush(0x00FF00);
    brushDarkGreen = oapiCreateBrush(0x336633);
    brushNavy = oapiCreateBrush(0x800000);
    brushYellow = oapiCreateBrush(0x00FFFF);
    brushShade = oapiCreateBrush(0x660000AA); // the top byte goes to the host as it is
    brushGrey = oapiCreateBrush(HostColour(128, 128, 128));
    brushDarkOlive = oapiCreateBrush(HostColour(46, 68, 46));

    char face[] = "Courier";
    fontLarge = oapiCreateFont(32, false, face, FONT_NORMAL);
    fontSmall = oapiCreateFont(16, true, face, FONT_NORMAL);
    fontTiny = oapiCreateFont(12, true, face, FONT_NORMAL);
    fontMedium = oapiCreateFont(24, false, face, FONT_NORMAL);
}

Korvane::~Korvane()
{
    if (drawSurface)
        oapiDestroySurface(drawSurface);

    oapi::Pen *pens[] = {penGreen,   penGreenWide,   penWhite,    penGreyDashed, penGrey,     penWhiteWide,
                         penWhiteDashed, penDarkGreen, penYellow, penYellowWide, penOlive,    penBlue,
                         penBlueWide, penNavy,       penRed,      penRedWide,    penDarkRed,  penMagenta,
                         penMagentaWide, penPurple,  penCyan,     penCyanWide,   penTeal,     penBlack};
    for (oapi::Pen *pen : pens)
        oapiReleasePen(pen);
    oapi::Brush *brushes[] = {brushBlack, brushGreen, brushDarkGreen, brushNavy,
                              brushYellow, brushShade, brushGrey,     brushDarkOlive};
    for (oapi::Brush *brush : brushes)
        oapiReleaseBrush(brush);
    oapi::Font *fonts[] = {fontLarge, fontSmall, fontTiny, fontMedium};
    for (oapi::Font *font : fonts)
        oapiReleaseFont(font);

    coastProjected.clear();
    coastSource.clear();
}

void Korvane::clbkSetClassCaps(FILEHANDLE cfg)
{
    (void)cfg;
    SetEmptyMass(1000.0);
    SetClipRadius(0.01);
    SetTouchdownPoints(kTouchdownPoints, 4);

    VECTOR3 origin = _V(0, 0, 0);
    meshMain = oapiLoadMeshGlobal(korvane::kMainMeshName);
    meshBuilding = oapiLoadMeshGlobal(korvane::kBuildingMeshName);
    meshIdxMain = AddMesh(meshMain, &origin);
    meshIdxBuilding = AddMesh(meshBuilding, &origin);
    SetMeshVisibilityMode(meshIdxMain, MESHVIS_ALWAYS);
    SetMeshVisibilityMode(meshIdxBuilding, MESHVIS_ALWAYS);

    SetCameraOffset(_V(0, -1, -8));

    for (int i = 0; i < 3; ++i) {
        const double *offset = korvane::kScreenMeshOffsets[i];
        VECTOR3 screenOffset = _V(offset[0], offset[1], offset[2]);
        meshScreen[i] = oapiLoadMeshGlobal(korvane::kScreenMeshNames[i]);
        meshIdxScreen[i] = AddMesh(meshScreen[i], &screenOffset);
        SetMeshVisibilityMode(meshIdxScreen[i], MESHVIS_VC);
    }

    const double *deskOffset = korvane::kFlightDirMeshOffset;
    VECTOR3 flightDirOffset = _V(deskOffset[0], deskOffset[1], deskOffset[2]);
    meshFlightDir = oapiLoadMeshGlobal(korvane::kFlightDirMeshName);
    meshIdxFlightDir = AddMesh(meshFlightDir, &flightDirOffset);
    SetMeshVisibilityMode(meshIdxFlightDir, MESHVIS_VC);

    drawSurface = oapiCreateSurface(kDrawSurfacePixels, kDrawSurfacePixels);
}

void Korvane::clbkPostCreation() {}

void Korvane::clbkPostStep(double simt, double simdt, double mjd)
{
    (void)simt;
    (void)mjd;
    korvane::SampleFlight(*this, simdt);
}

void Korvane::clbkVisualCreated(VISHANDLE vis, int refcount)
{
    if (refcount > 1)
        return;
    visualHandle = vis;
    for (int i = 0; i < 3; ++i)
        screenDevMesh[i] = GetDevMesh(visualHandle, meshIdxScreen[i]);
}

void Korvane::clbkVisualDestroyed(VISHANDLE vis, int refcount)
{
    (void)refcount;
    if (vis == visualHandle)
        visualHandle = nullptr;
    for (int i = 0; i < 3; ++i)
        screenDevMesh[i] = nullptr;
}

bool Korvane::clbkLoadVC(int id) { return korvane::LoadCockpit(*this, id); }

bool Korvane::clbkVCMouseEvent(int id, int event, VECTOR3 &p)
{
    (void)p;
    return korvane::HandleCockpitMouse(id, event);
}

bool Korvane::clbkVCRedrawEvent(int id, int event, SURFHANDLE surf)
{
    (void)event;
    return korvane::RedrawCockpitArea(*this, id, surf);
}
