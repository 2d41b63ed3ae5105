// The lower half of screen 1: the target's fuel gauge (all propellant
// resources together) and thrust gauge (main engine level and force).

#ifndef KORVANE_SCREENS_GAUGES_H
#define KORVANE_SCREENS_GAUGES_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

// Baseline and frames always; bars and labels only while a target is set.
void drawGauges(oapi::Sketchpad &skp, const Korvane &building);

} // namespace korvane

#endif // KORVANE_SCREENS_GAUGES_H
