// The horizon circle of an object: the region of a body's surface from which
// the object is above the horizon, traced at 37 azimuths (every 10 degrees,
// the last closing the circle).

#ifndef KORVANE_MAP_HORIZON_CIRCLE_H
#define KORVANE_MAP_HORIZON_CIRCLE_H

#include "DrawAPI.h"
#include "map/map_projection.h"

namespace korvane {

constexpr int kCirclePoints = 37;

// The circle of an object at longitude lonRad, latitude latRad and distance
// radiusMetres from the centre of a body of mean radius bodyRadiusMetres,
// as longitudes and latitudes in degrees. False (nothing written) for an
// object below the body's mean radius, where there is no horizon. An object
// on the surface has a circle of zero size.
bool ComputeHorizonCircle(double lonRad, double latRad, double radiusMetres, double bodyRadiusMetres,
                          double lonDeg[kCirclePoints], double latDeg[kCirclePoints]);

// Draws the circle of object relative to the view's reference body with the
// current pen: three open polylines, at the circle's longitudes, +360 and
// -360 degrees.
void drawHorizonCircle(oapi::Sketchpad &skp, const MapView &view, OBJHANDLE object);

} // namespace korvane

#endif // KORVANE_MAP_HORIZON_CIRCLE_H
