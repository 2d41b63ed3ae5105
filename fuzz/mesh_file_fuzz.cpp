// The mesh reader: any bytes as a mesh file. A refused file leaves the mesh
// empty; a read one holds only indices within its groups and lists, finite
// numbers, and reads back the same from the writer's text.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "headless/mesh_file.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    headless::MeshFile mesh;
    if (!headless::ReadMeshText(text, &mesh)) {
        Check(mesh.groups.empty() && mesh.materials.empty() && mesh.textures.empty());
        return 0;
    }
    for (const headless::MeshGroup &g : mesh.groups) {
        Check(g.indices.size() % 3 == 0);
        for (uint32_t i : g.indices)
            Check(i < g.vertices.size());
        Check(g.material <= mesh.materials.size() && g.texture <= mesh.textures.size());
        for (const headless::MeshVertex &v : g.vertices)
            Check(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.u));
    }
    headless::MeshFile again;
    Check(headless::ReadMeshText(headless::WriteMeshText(mesh), &again));
    Check(again.groups.size() == mesh.groups.size() && again.materials.size() == mesh.materials.size() &&
          again.textures.size() == mesh.textures.size());
    for (size_t g = 0; g < mesh.groups.size(); ++g)
        Check(again.groups[g].indices == mesh.groups[g].indices &&
              again.groups[g].vertices.size() == mesh.groups[g].vertices.size());
    return 0;
}
