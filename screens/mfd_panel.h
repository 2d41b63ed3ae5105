// The button panel of an MFD: frames for the twelve side buttons and the
// power, select and menu buttons, with the host MFD's button labels.

#ifndef KORVANE_SCREENS_MFD_PANEL_H
#define KORVANE_SCREENS_MFD_PANEL_H

#include "DrawAPI.h"

class Korvane;

namespace korvane {

// Draws the panel of host MFD mfd (0 left, 1 right) on a 256 x 256 surface.
void drawMfdButtonPanel(oapi::Sketchpad &skp, const Korvane &building, int mfd);

} // namespace korvane

#endif // KORVANE_SCREENS_MFD_PANEL_H
