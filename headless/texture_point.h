// Where on a vessel a point of one of its textures lies: the inverse of the
// texture mapping of the vessel's meshes, so that a click on a picture of a
// cockpit panel can be turned into the click in the cockpit that the
// simulator would deliver for that spot.

#ifndef KORVANE_HEADLESS_TEXTURE_POINT_H
#define KORVANE_HEADLESS_TEXTURE_POINT_H

#include "OrbiterAPI.h"

class Vessel;

namespace headless {

// The point (vessel frame, metres, mesh offsets applied) that vessel v's meshes show at texture
// coordinates (u, v) of `texture` (0..1 from its top-left corner). False if no triangle of the
// vessel's meshes carries that texture at that point.
bool TexturePointToVessel(const Vessel &vessel, SURFHANDLE texture, double u, double v, VECTOR3 *point);

} // namespace headless

#endif // KORVANE_HEADLESS_TEXTURE_POINT_H
