#include "map/map_projection.h"

#include "module/korvane.h"
#include "screens/units.h"

namespace korvane {

double MapScale(double coordScale) { return 1.0 / 360.0 / coordScale * kMapWidthPixels; }

oapi::IVECTOR2 projectToMap(const MapView &view, double longitudeDeg, double latitudeDeg)
{
    const double k = view.coordScale;
    oapi::IVECTOR2 p;
    p.x = ToPixel((longitudeDeg + 180.0) * k * view.scaleX);
    p.y = ToPixel(-((k * latitudeDeg - k * 90.0) * view.scaleY));
    return p;
}

MapView BuildingMapView(const Korvane &building, OBJHANDLE reference)
{
    return MapView{building.coordScale, building.mapScaleX, building.mapScaleY, reference};
}

} // namespace korvane
