// Screen 2: the telemetry page. Labels always; the target's attitude,
// position, velocities, altitude, mass and atmospheric data, and the frames
// around them, only while a target is set.

#ifndef KORVANE_SCREENS_TELEMETRY_PAGE_H
#define KORVANE_SCREENS_TELEMETRY_PAGE_H

#include <cstddef>

#include "DrawAPI.h"

class Korvane;

namespace korvane {

void drawTelemetryPage(oapi::Sketchpad &skp, const Korvane &building);

// "%.3f E" for longitudes >= 0 (radians), else the westward value with
// "%.3f W"; likewise N and S for latitudes. Written into out (outBytes).
void FormatLongitude(double longitudeRad, char *out, size_t outBytes);
void FormatLatitude(double latitudeRad, char *out, size_t outBytes);

} // namespace korvane

#endif // KORVANE_SCREENS_TELEMETRY_PAGE_H
