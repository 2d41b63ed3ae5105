// The preview's pictures of the control room: one PNG per cockpit area that
// is drawn on a texture, and a composite laid out like the room.

#ifndef KORVANE_APPS_CONTROL_ROOM_IMAGES_H
#define KORVANE_APPS_CONTROL_ROOM_IMAGES_H

#include <string>
#include <vector>

namespace preview {

// Writes screen0.png, screen1.png, screen2.png, mfd_left.png, mfd_right.png
// (each area's texture cut to its rectangle) and controlroom.png into
// outDir. The paths written go to *written. False if a file could not be
// written or no cockpit is loaded.
bool WriteControlRoomImages(const std::string &outDir, std::vector<std::string> *written);

} // namespace preview

#endif // KORVANE_APPS_CONTROL_ROOM_IMAGES_H
