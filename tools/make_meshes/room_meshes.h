// The control room's meshes and textures as the generator writes them: the
// interior, the exterior, the three screens and the desk with its two MFDs
// and their button-label panels, placed so that the vessel's mesh offsets,
// cockpit camera positions, click zones and touchdown points agree with
// them.

#ifndef KORVANE_TOOLS_MAKE_MESHES_ROOM_MESHES_H
#define KORVANE_TOOLS_MAKE_MESHES_ROOM_MESHES_H

#include <string>
#include <vector>

#include "headless/mesh_file.h"
#include "tools/make_meshes/room_textures.h"

namespace meshgen {

struct GeneratedMesh {
    std::string path; // relative to the simulator root, with slashes
    headless::MeshFile mesh;
};

struct GeneratedTexture {
    std::string path; // relative to the simulator root, with slashes
    bool dynamic;     // written uncompressed, for the module to draw on
    Picture picture;
};

std::vector<GeneratedMesh> RoomMeshes();
// The tracking network's: Site.msh, the mesh of its nodes' vessel class.
std::vector<GeneratedMesh> NetworkMeshes();
std::vector<GeneratedTexture> RoomTextures();

} // namespace meshgen

#endif // KORVANE_TOOLS_MAKE_MESHES_ROOM_MESHES_H
