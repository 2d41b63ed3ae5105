// The building's coastlines: reading the simulator's coastline file once for
// the building, and drawing the coastlines on the world map.

#ifndef KORVANE_MAP_COASTLINES_H
#define KORVANE_MAP_COASTLINES_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

// Reads "Config/Earth/Data/coast.vec" under the process's working directory
// (the simulator's installation) into the building's coastSource and
// coastProjected, with coastHeaderValue and coastLineCount. Sets coastLoaded
// first and coastAvailable when the file was opened; a file that cannot be
// opened leaves coastAvailable false and everything else untouched. Throws
// nothing.
// REQUIRES: coastLoaded is false (the file is read once in a building's life).
void loadCoastlines(Korvane &building);

// Projects every coastline point onto the map into coastProjected and draws
// each polyline with penBlue, in file order; a polyline without points draws
// nothing. Allocates nothing.
// REQUIRES: coastAvailable, with coastSource and coastProjected as
// loadCoastlines left them (same shape); the origin is at the map's top-left
// corner and mapScaleX, mapScaleY are this redraw's scales.
void drawCoastlines(oapi::Sketchpad &skp, Korvane &building);

} // namespace korvane

#endif // KORVANE_MAP_COASTLINES_H
