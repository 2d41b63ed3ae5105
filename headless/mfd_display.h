// The host's MFD display surfaces: what each of the cockpit's two MFDs shows
// on its screen (its title and lines from MfdModel, green on black, in a
// frame), one square surface per MFD. The 3D renderer maps them onto the
// mesh groups that the cockpit registered as MFD displays; the preview puts
// them into its pictures of the room.
//
// The surfaces belong to the host: made the first time they are painted and
// destroyed by reset(). A switched-off MFD shows black.

#ifndef KORVANE_HEADLESS_MFD_DISPLAY_H
#define KORVANE_HEADLESS_MFD_DISPLAY_H

#include "OrbiterAPI.h"
#include "headless/mfd.h"

namespace headless {

class MfdDisplays {
public:
    static constexpr int kSizePixels = 512; // width and height of a display surface

    // The displays of the process's one simulation.
    static MfdDisplays &instance();

    MfdDisplays(const MfdDisplays &) = delete;
    MfdDisplays &operator=(const MfdDisplays &) = delete;

    // The display surface of mfd (0 left, 1 right), painted afresh with what
    // the MFD shows now, through a sketchpad in the current SketchpadMode;
    // null for any other mfd.
    SURFHANDLE paint(int mfd);
    // The surface as last painted, or null if it was never painted.
    SURFHANDLE surface(int mfd) const;
    // Destroys the surfaces (a session ends).
    void reset();

private:
    MfdDisplays() = default;

    SURFHANDLE surfaces_[MfdModel::kMfdCount] = {};
};

} // namespace headless

#endif // KORVANE_HEADLESS_MFD_DISPLAY_H
