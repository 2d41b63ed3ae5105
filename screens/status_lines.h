// The two text lines of screen 0: the title with the target's name above
// the map, and the link line with the state of the target's link.

#ifndef KORVANE_SCREENS_STATUS_LINES_H
#define KORVANE_SCREENS_STATUS_LINES_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

// "Target: <name>" at (textLeft, 46), only while a target is set.
void drawTitleLine(oapi::Sketchpad &skp, const Korvane &building);

// "Link:<node> Type:<type> Strength:<s>% Lag:<lag>" at (textLeft, 138) in
// the colour of the link type, only while linkUp; moves the origin back to
// (0, 0) first, since the map had moved it.
void drawLinkLine(oapi::Sketchpad &skp, const Korvane &building);

// The name shown for a link type ("" for an unknown type).
const char *LinkTypeName(int linkType);

} // namespace korvane

#endif // KORVANE_SCREENS_STATUS_LINES_H
