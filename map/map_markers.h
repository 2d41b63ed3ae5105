// Markers on the world map: a small symbol at an object's sub-point with its
// name beside it, for the target and for the tracking network's stations
// and relay satellites; the node carrying the target's link is highlighted
// (a station by a ring, a relay by its horizon circle).

#ifndef KORVANE_MAP_MAP_MARKERS_H
#define KORVANE_MAP_MAP_MARKERS_H

#include "DrawAPI.h"
#include "map/map_projection.h"

class Korvane;

namespace korvane {

// Symbols at a position in degrees; sizes in pixels.
void drawCross(oapi::Sketchpad &skp, const MapView &view, double lonDeg, double latDeg, int halfSize);
void drawRing(oapi::Sketchpad &skp, const MapView &view, double lonDeg, double latDeg, int radius);
// The name above and to the right of the symbol: its top-left corner at
// (x + offset, y - character height - offset).
void drawMarkerLabel(oapi::Sketchpad &skp, const MapView &view, const char *name, double lonDeg, double latDeg,
                     int offset);

// The marker of object at its current sub-point on the view's reference
// body: a ring (ringSymbol) or a cross of the given size, and its name; with
// eastCopy / westCopy drawn again 360 degrees east / west. Current pen, text
// colour and font.
void drawObjectMarker(oapi::Sketchpad &skp, const MapView &view, OBJHANDLE object, bool ringSymbol, int size,
                      bool eastCopy, bool westCopy);

// The deep-space stations (cyan), tracking stations (magenta) and relay
// satellites (yellow) of the building's network, with the linked node's
// highlight. REQUIRES: the building has a network.
void drawNetworkMarkers(oapi::Sketchpad &skp, const Korvane &building, const MapView &view, bool eastCopy,
                        bool westCopy);

} // namespace korvane

#endif // KORVANE_MAP_MAP_MARKERS_H
