#include "headless/texture_point.h"

namespace headless {

// Meshes here are names without geometry, so no texture point lies on a
// vessel yet; the mesh reader brings the triangles that answer this.
bool TexturePointToVessel(const Vessel &vessel, SURFHANDLE texture, double u, double v, VECTOR3 *point)
{
    (void)vessel;
    (void)texture;
    (void)u;
    (void)v;
    (void)point;
    return false;
}

} // namespace headless
