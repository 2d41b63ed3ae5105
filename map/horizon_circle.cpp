#include "map/horizon_circle.h"

#include <cmath>
#include <initializer_list>

#include "screens/units.h"

namespace korvane {

namespace {
constexpr double kAzimuthStepRad = 0.17453292519943295; // 10 degrees
} // namespace

bool ComputeHorizonCircle(double lonRad, double latRad, double radiusMetres, double bodyRadiusMetres,
                          double lonDeg[kCirclePoints], double latDeg[kCirclePoints])
{
    const double r = radiusMetres, R = bodyRadiusMetres;
    if (!(r >= R) || !(r > 0.0))
        return false;
    const double delta = std::asin(std::sqrt(r * r - R * R) / r);
    const double absLat = std::fabs(latRad);
    const double tanDelta = std::tan(delta);
    for (int k = 0; k < kCirclePoints; ++k) {
        const double a = k * kAzimuthStepRad;
        double lat = std::asin(std::sin(absLat) * std::cos(delta) + std::cos(absLat) * std::sin(delta) * std::cos(a));
        // The southern circle is the mirror image of the northern one.
        if (latRad < 0.0)
            lat = -lat;
        const double dLon =
            std::atan2(std::sin(a) * tanDelta, std::cos(absLat) - std::sin(absLat) * tanDelta * std::cos(a));
        lonDeg[k] = RadiansToDegrees(lonRad + dLon);
        latDeg[k] = RadiansToDegrees(lat);
    }
    return true;
}

void drawHorizonCircle(oapi::Sketchpad &skp, const MapView &view, OBJHANDLE object)
{
    VECTOR3 pos;
    oapiGetGlobalPos(object, &pos);
    double lon = 0.0, lat = 0.0, radius = 0.0;
    oapiGlobalToEqu(view.reference, pos, &lon, &lat, &radius);
    double lonDeg[kCirclePoints], latDeg[kCirclePoints];
    if (!ComputeHorizonCircle(lon, lat, radius, oapiGetSize(view.reference), lonDeg, latDeg))
        return;
    oapi::IVECTOR2 points[kCirclePoints];
    for (double shift : {0.0, 360.0, -360.0}) {
        for (int k = 0; k < kCirclePoints; ++k)
            points[k] = projectToMap(view, lonDeg[k] + shift, latDeg[k]);
        skp.Polyline(points, kCirclePoints);
    }
}

} // namespace korvane
