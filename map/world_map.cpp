#include "map/world_map.h"

#include "map/coastlines.h"
#include "map/ground_track.h"
#include "map/horizon_circle.h"
#include "map/map_markers.h"
#include "map/map_projection.h"
#include "module/korvane.h"
#include "network/tracking_network.h"

namespace korvane {

namespace {
constexpr int kTargetSymbolSize = 4;
} // namespace

OBJHANDLE MapReference(Korvane &building)
{
    return building.network ? NetworkPlanet(building.network) : building.GetSurfaceRef();
}

OBJHANDLE TrackReference(Korvane &building)
{
    if (building.network)
        return NetworkPlanet(building.network);
    char earth[] = "Earth";
    OBJHANDLE h = oapiGetObjectByName(earth);
    return oapiGetObjectType(h) == OBJTP_PLANET ? h : nullptr;
}

void drawMapBase(oapi::Sketchpad &skp, Korvane &building)
{
    building.mapScaleX = building.mapScaleY = MapScale(building.coordScale);
    if (building.coastAvailable)
        drawCoastlines(skp, building);

    const MapView view = BuildingMapView(building, nullptr);
    const int north = projectToMap(view, 0.0, 90.0).y;
    const int south = projectToMap(view, 0.0, -90.0).y;
    const int equator = projectToMap(view, 0.0, 0.0).y;
    skp.SetPen(building.penWhite);
    skp.Line(0, north, kMapWidthPixels, north);
    skp.Line(0, south, kMapWidthPixels, south);
    skp.SetPen(building.penWhiteDashed);
    skp.Line(0, equator, kMapWidthPixels, equator);
}

void drawTargetOnMap(oapi::Sketchpad &skp, Korvane &building)
{
    if (!building.targetValid || !oapiIsVessel(building.targetHandle))
        return;
    const MapView view = BuildingMapView(building, MapReference(building));
    drawObjectMarker(skp, view, building.targetHandle, false, kTargetSymbolSize, false, false);
    drawGroundTrack(skp, BuildingMapView(building, TrackReference(building)), building.targetHandle);
    skp.SetPen(building.penDarkGreen);
    drawHorizonCircle(skp, view, building.targetHandle);
}

} // namespace korvane
