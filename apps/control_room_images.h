// The preview's pictures of the control room: one PNG per cockpit area that
// is drawn on a texture, and the 3D views of the room.

#ifndef KORVANE_APPS_CONTROL_ROOM_IMAGES_H
#define KORVANE_APPS_CONTROL_ROOM_IMAGES_H

#include <string>
#include <vector>

#include "headless/vessel_view.h"

namespace headless {
class Simulator;
}

namespace preview {

// Writes screen0.png, screen1.png, screen2.png, mfd_left.png, mfd_right.png
// (each area's texture cut to its rectangle) into outDir. The paths written
// go to *written. False if a file could not be written or no cockpit is
// loaded.
bool WriteAreaImages(const std::string &outDir, std::vector<std::string> *written);

// Draws the view of the focus vessel through spec (1920 x 1080, the size
// --click-at clicks through) and writes it to path. False with the reason
// in *error if there is no focus vessel, the renderer cannot draw or the
// file cannot be written.
bool WriteViewImage(headless::Simulator &sim, headless::VesselView &view, const headless::ViewSpec &spec,
                    const std::string &path, std::string *error);

} // namespace preview

#endif // KORVANE_APPS_CONTROL_ROOM_IMAGES_H
