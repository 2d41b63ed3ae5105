// The world map of screen 0: its base layers (coastlines and reference
// lines), the target's marker, ground track and horizon circle, and the body
// that everything on the map is placed against.

#ifndef KORVANE_MAP_WORLD_MAP_H
#define KORVANE_MAP_WORLD_MAP_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

// The body that markers and horizon circles refer to: the network's planet
// when a network is attached, otherwise the body the building stands on.
OBJHANDLE MapReference(Korvane &building);

// The body of the ground track: the network's planet, or without a network
// the object named "Earth" if it is a planet (null otherwise).
OBJHANDLE TrackReference(Korvane &building);

// Sets the map's scales for this redraw, then draws the coastlines (if the
// file was read) and the lines at latitudes +90, -90 (solid) and 0 (dashed).
// REQUIRES: the origin is at the map's top-left corner.
void drawMapBase(oapi::Sketchpad &skp, Korvane &building);

// The target's marker, ground track and (with penDarkGreen) horizon circle,
// if a target is set and still exists. Draws with the pen, text colour and
// font selected by the caller for the marker and track.
void drawTargetOnMap(oapi::Sketchpad &skp, Korvane &building);

} // namespace korvane

#endif // KORVANE_MAP_WORLD_MAP_H
