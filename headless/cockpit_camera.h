// The cameras the stand-in shows a vessel through: the cockpit camera (the
// user's eye in the vessel's virtual cockpit) and an external camera that
// looks at the vessel from outside, each with the light and background of
// its view.
//
// The cockpit camera stands at the vessel's camera offset (SetCameraOffset)
// and looks along +z with +y up, the cockpit's default direction; the head
// turns by a yaw (positive to the right, about +y) and then a pitch
// (positive up), each held within the rotation range that the cockpit
// registered (SetCameraRotationRange; none registered: no turning) and the
// pitch also within straight up and straight down, where a head stops.
// Angles here are degrees.

#ifndef KORVANE_HEADLESS_COCKPIT_CAMERA_H
#define KORVANE_HEADLESS_COCKPIT_CAMERA_H

#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/renderer.h"
#include "headless/vc.h"
#include "headless/view_camera.h"

namespace headless {

// The simulator's vertical field of view when the scenario sets none.
constexpr double kDefaultFovDeg = 40.0;

// The field of view of a scenario's camera block, from its lines (those
// between BEGIN_CAMERA and END_CAMERA): the value of the line "FOV <deg>"
// (keyword in any case), or kDefaultFovDeg if there is none or its value is
// not an angle strictly between 0 and 180 degrees. The last such line
// counts.
double CameraBlockFovDeg(const std::vector<std::string> &lines);

struct HeadTurn {
    double yawDeg = 0.0;   // to the right
    double pitchDeg = 0.0; // up
};

// The turn held within the registered range (and the pitch within
// +-90 degrees).
HeadTurn ClampHeadTurn(const VcCamera &limits, const HeadTurn &wanted);

// The cockpit camera at cameraOffset (vessel frame, m), turned by `wanted`
// as clamped by ClampHeadTurn.
ViewCamera CockpitCamera(const VECTOR3 &cameraOffset, const VcCamera &limits, const HeadTurn &wanted,
                         double fovDeg = kDefaultFovDeg);

// The external camera: outside a vessel whose meshes lie within radius
// metres of centre, looking at centre from behind it, to its left and from
// above, far enough for the whole sphere to fit the picture's height.
ViewCamera ExternalCamera(const VECTOR3 &centre, double radiusMetres, double fovDeg = kDefaultFovDeg);

// The level a vessel stands on: the lowest of its touchdown points (y in the
// vessel frame, m); 0 without any.
double GroundLevel(const std::vector<TOUCHDOWNVTX> &points);

// The view from inside: a black background beyond the cockpit's walls and
// the room's light from above.
RenderView CockpitView(const ViewCamera &camera);
// The view from outside: sky behind, the ground plane at groundY (vessel
// frame, m) and sunlight.
RenderView ExternalView(const ViewCamera &camera, double groundY);

} // namespace headless

#endif // KORVANE_HEADLESS_COCKPIT_CAMERA_H
