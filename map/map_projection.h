// The world map's equirectangular projection: 1024 pixels for 360 degrees of
// longitude and 512 for 180 degrees of latitude, longitude -180 at the left
// edge, latitude +90 at the top, relative to the map's origin.

#ifndef KORVANE_MAP_MAP_PROJECTION_H
#define KORVANE_MAP_MAP_PROJECTION_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

constexpr int kMapWidthPixels = 1024;

// What a map redraw projects with: the stored-coordinate scale k (units per
// degree), the pixels per stored unit, and the body positions refer to.
struct MapView {
    double coordScale;
    double scaleX;
    double scaleY;
    OBJHANDLE reference;
};

// The map's scale for a coordinate scale k: 1024 / (360 k) pixels per unit.
double MapScale(double coordScale);

// x = trunc((lon + 180) k sx), y = trunc(-((k lat - 90 k) sy)); degrees in.
// Longitudes outside -180..180 give points outside 0..1024: callers draw
// shifted copies at the map's edges.
oapi::IVECTOR2 projectToMap(const MapView &view, double longitudeDeg, double latitudeDeg);

// The view of the building's current redraw (its scales and coordScale)
// with the given reference body.
MapView BuildingMapView(const Korvane &building, OBJHANDLE reference);

} // namespace korvane

#endif // KORVANE_MAP_MAP_PROJECTION_H
