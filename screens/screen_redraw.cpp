#include "screens/screen_redraw.h"

#include "cockpit/area_ids.h"
#include "module/colour.h"
#include "module/korvane.h"
#include "map/coastlines.h"
#include "map/map_markers.h"
#include "map/map_projection.h"
#include "map/world_map.h"
#include "network/target_link.h"
#include "screens/gauges.h"
#include "screens/history_graphs.h"
#include "screens/mfd_panel.h"
#include "screens/status_lines.h"
#include "screens/telemetry_page.h"

namespace korvane {

namespace {

constexpr int kScreenPixels = 1024;
constexpr int kStatusTextLeft = 16;
constexpr DWORD kNoColourKey = SURF_NO_CK;
constexpr int kMapTop = 256; // the map occupies rows 256..767

// Screen 0: the title line, the world map and the link line.
void drawMapScreen(oapi::Sketchpad &skp, Korvane &building)
{
    if (!building.coastLoaded)
        loadCoastlines(building);
    drawTitleLine(skp, building);
    skp.SetOrigin(0, kMapTop);
    drawMapBase(skp, building);
    skp.SetPen(building.penGreen);
    skp.SetTextColor(HostColour(0, 255, 0));
    skp.SetFont(building.fontSmall);
    drawTargetOnMap(skp, building);
    skp.SetPen(building.penDarkGreen);
    if (NetworkShown(building)) {
        RefreshTargetLink(building);
        drawNetworkMarkers(skp, building, BuildingMapView(building, MapReference(building)), false, false);
        drawLinkLine(skp, building);
    }
}

void drawScreenPage(oapi::Sketchpad &skp, Korvane &building, int screen)
{
    switch (screen) {
    case AID_SCREEN0:
        drawMapScreen(skp, building);
        break;
    case AID_SCREEN1:
        drawHistoryGraphs(skp, building);
        drawGauges(skp, building);
        break;
    case AID_SCREEN2:
        drawTelemetryPage(skp, building);
        break;
    default:
        break;
    }
}

bool redrawScreen(Korvane &building, int screen, SURFHANDLE surf)
{
    double step = oapiGetSimStep();
    for (double &timer : building.screenTimer)
        timer += step;
    if (!(building.screenTimer[screen] > building.screenRefreshInterval))
        return false;
    building.screenTimer[screen] = 0.0;

    oapi::Sketchpad *skp = oapiGetSketchpad(building.drawSurface);
    if (!skp)
        return false;
    building.activeSketchpad = skp;
    skp->SetOrigin(0, 0);
    skp->SetBrush(building.brushBlack);
    skp->Rectangle(0, 0, kScreenPixels, kScreenPixels);
    skp->SetBrush(nullptr);
    building.textLeft = kStatusTextLeft;

    drawScreenPage(*skp, building, screen);

    oapiReleaseSketchpad(skp);
    building.activeSketchpad = nullptr;
    oapiBlt(surf, building.drawSurface, 0, 0, 0, 0, kScreenPixels, kScreenPixels, kNoColourKey);
    return true;
}

bool redrawMfdPanel(Korvane &building, int mfd, SURFHANDLE surf)
{
    oapi::Sketchpad *skp = oapiGetSketchpad(surf);
    if (!skp)
        return true;
    building.activeSketchpad = skp;
    drawMfdButtonPanel(*skp, building, mfd);
    oapiReleaseSketchpad(skp);
    building.activeSketchpad = nullptr;
    return true;
}

} // namespace

bool RedrawCockpitArea(Korvane &building, int areaId, SURFHANDLE surf)
{
    switch (areaId) {
    case AID_SCREEN0:
    case AID_SCREEN1:
    case AID_SCREEN2:
        return redrawScreen(building, areaId, surf);
    case AID_LMFD_LABELS:
        return redrawMfdPanel(building, 0, surf);
    case AID_RMFD_LABELS:
        return redrawMfdPanel(building, 1, surf);
    default:
        return true;
    }
}

} // namespace korvane
