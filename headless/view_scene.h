// What the renderer is given for a view of a vessel, gathered from the
// host's state: which of the vessel's meshes a view shows, the textures of a
// render collected from surfaces, and the MFD displays put onto the mesh
// groups that the cockpit registered for them.

#ifndef KORVANE_HEADLESS_VIEW_SCENE_H
#define KORVANE_HEADLESS_VIEW_SCENE_H

#include <cstdint>
#include <utility>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/renderer.h"
#include "headless/vc.h"

namespace headless {

enum class ViewKind {
    Cockpit,  // from inside, in the virtual cockpit
    External, // from outside
};

// Whether a mesh of visibility mode `visibility` (MESHVIS_* flags) is drawn
// in a view: from the virtual cockpit, the meshes visible in cockpit views
// (MESHVIS_COCKPIT) and in the virtual cockpit (MESHVIS_VC); from outside,
// those visible externally (MESHVIS_EXTERNAL). The simulator's modifier
// MESHVIS_EXTPASS (0x10) changes only its drawing order and is ignored.
bool MeshShownIn(WORD visibility, ViewKind kind);

// The textures of one render, each surface once, read from the surfaces
// when the render runs.
class ViewTextures {
public:
    // The index of surface s among the render's textures, added on first
    // use; staticId as in RenderTexture (0: the surface may change, and its
    // version goes with it). -1 for a handle that is not a live surface,
    // which draws untextured.
    int add(SURFHANDLE s, uint64_t staticId = 0);
    const std::vector<RenderTexture> &textures() const { return textures_; }

private:
    std::vector<std::pair<SURFHANDLE, int>> indices_;
    std::vector<RenderTexture> textures_;
};

// Shows each registered MFD's display: group ngroup of meshes[nmesh] (the
// meshes by the vessel's mesh index) gets displays[mfd] as its texture. An
// MFD whose mesh, group or display does not exist is left out.
void ShowMfdDisplays(const std::vector<VcMfd> &mfds, const SURFHANDLE *displays, int displayCount,
                     std::vector<RenderMesh> &meshes, ViewTextures &textures);

// The smallest sphere about the centre of the meshes' bounding box that
// holds every vertex (mesh offsets applied); radius 0 at the origin for no
// vertices.
void BoundingSphere(const std::vector<RenderMesh> &meshes, VECTOR3 *centre, double *radiusMetres);

} // namespace headless

#endif // KORVANE_HEADLESS_VIEW_SCENE_H
