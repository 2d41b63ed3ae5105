// The redraw of the cockpit's areas. The three screens share one off-screen
// surface: each is drawn there on its own timer and copied onto its texture;
// the MFD button panels are drawn straight onto theirs.

#ifndef KORVANE_SCREENS_SCREEN_REDRAW_H
#define KORVANE_SCREENS_SCREEN_REDRAW_H

#include "OrbiterAPI.h"

class Korvane;

namespace korvane {

// The work of clbkVCRedrawEvent. True when the area was drawn, and for ids
// that have nothing to draw; false for a screen whose interval has not
// elapsed (nothing was drawn, so the texture need not be updated).
bool RedrawCockpitArea(Korvane &building, int areaId, SURFHANDLE surf);

} // namespace korvane

#endif // KORVANE_SCREENS_SCREEN_REDRAW_H
