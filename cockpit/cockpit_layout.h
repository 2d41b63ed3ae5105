// The virtual cockpit's layout: where the screens, MFDs and MFD buttons are,
// and the three camera positions of the control room.

#ifndef KORVANE_COCKPIT_COCKPIT_LAYOUT_H
#define KORVANE_COCKPIT_COCKPIT_LAYOUT_H

#include "OrbiterAPI.h"
#include "cockpit/panel_geometry.h"

class Korvane;

namespace korvane {

// Radius (m) of a button's click zone, and half the side of its square.
constexpr double kButtonZoneRadius = 0.0234375;

// Centre of a button in vessel coordinates (metres), on its MFD's tilted
// panel (cockpit/panel_geometry.h).
VECTOR3 ButtonCentre(MfdSide side, int button);

// Registers the screens, label panels, MFDs and buttons, and sets the camera
// for the position (0 main desk, 1 forward, 2 overview; other positions keep
// the camera). Always true.
bool LoadCockpit(Korvane &building, int position);

} // namespace korvane

#endif // KORVANE_COCKPIT_COCKPIT_LAYOUT_H
