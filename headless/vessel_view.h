// A vessel seen in 3D, as the simulator's graphics client shows it: the
// render input of a view gathered from the vessel's meshes, their textures
// and the cockpit's MFD displays, the camera the view is seen through, and
// the picture. The preview and the live server both draw their views here.
//
// The meshes a view shows are those whose visibility mode is drawn in it
// (MeshShownIn); mesh i of the vessel becomes render mesh i at the mesh's
// offset, so the MFD displays' mesh indices hold, and a mesh the view does
// not show (or a null mesh handle) stays an empty mesh. A group's material
// is the mesh file's (0: the renderer's default material); its texture the
// mesh's texture surface: a dynamic texture is read afresh by every picture,
// so that what the module drew last is shown, a static one is read once.
//
// The render input is built on the first picture of a view and kept for as
// long as the vessel's mesh list (handles, offsets, visibility modes) stays
// the same; a change builds it again.
//
// Cockpit views paint the MFD displays (MfdDisplays) afresh for each picture
// and put them on the mesh groups the cockpit registered for them.

#ifndef KORVANE_HEADLESS_VESSEL_VIEW_H
#define KORVANE_HEADLESS_VESSEL_VIEW_H

#include <cstdint>
#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/cockpit_camera.h"
#include "headless/renderer.h"
#include "headless/vessel.h"
#include "headless/view_scene.h"

namespace headless {

class Simulator;
class Surface;

struct ViewSpec {
    ViewKind kind = ViewKind::Cockpit;
    HeadTurn look{};                // the head's turn from inside (clamped to the registered range)
    double fovDeg = kDefaultFovDeg; // vertical field of view
};

// The render input of one picture, as Render takes it.
struct ViewInput {
    RenderView view;
    // The view's meshes, owned by the VesselView: valid until its next
    // gather.
    const std::vector<RenderMesh> *meshes = nullptr;
    // Their textures; the pixels are those of the surfaces, read where they
    // lie (copy them to draw them elsewhere).
    std::vector<RenderTexture> textures;
};

// The field of view of a session: that of its scenario's camera block
// (CameraBlockFovDeg), kDefaultFovDeg without one.
double SessionFovDeg(const Simulator &sim);

class VesselView {
public:
    // The camera of a view of v. From inside: the cockpit camera at v's
    // camera offset within the rotation range the loaded cockpit registered.
    // From outside: the external camera about the bounding sphere of the
    // meshes shown from outside.
    ViewCamera camera(const Vessel &v, const ViewSpec &spec);

    // The render input of the next picture of v's view: the meshes, the
    // textures as the surfaces hold them now, the MFD displays painted
    // afresh (from inside), the camera, light and background.
    const ViewInput &gather(const Vessel &v, const ViewSpec &spec);

    // Gathers and draws the view of v into image, at image's size. False
    // with the renderer's reason (Render), image unchanged, if it cannot
    // draw.
    bool render(const Vessel &v, const ViewSpec &spec, Surface &image, std::string *error);

    // The render meshes of a view of v as the next picture draws them
    // (built if needed; textures are indices into the picture's own list).
    const std::vector<RenderMesh> &meshes(const Vessel &v, ViewKind kind);

private:
    struct GroupTexture {
        SURFHANDLE surface = nullptr;
        uint64_t staticId = 0;
    };
    struct Built {
        bool valid = false;
        std::vector<Vessel::MeshEntry> entries; // what it was built from
        std::vector<RenderMesh> meshes;
        std::vector<std::vector<GroupTexture>> textures; // by mesh, then group
        VECTOR3 centre{};
        double radius = 0.0;
    };

    Built &built(const Vessel &v, ViewKind kind);

    Built cockpit_;
    Built external_;
    ViewInput input_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_VESSEL_VIEW_H
