// Mouse input in the virtual cockpit: clicks on the MFD buttons operate the
// host's MFDs and ask for a redraw of that MFD's label panel.

#ifndef KORVANE_COCKPIT_COCKPIT_INPUT_H
#define KORVANE_COCKPIT_COCKPIT_INPUT_H

namespace korvane {

// Acts on the release of the left button over an MFD button area; every
// other event and area is ignored. Always false.
bool HandleCockpitMouse(int areaId, int event);

} // namespace korvane

#endif // KORVANE_COCKPIT_COCKPIT_INPUT_H
