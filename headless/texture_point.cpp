#include "headless/texture_point.h"

#include "headless/meshes.h"
#include "headless/vessel.h"

namespace headless {

namespace {

// Points on a triangle's edge count as inside it, with this much slack in
// barycentric terms for rounding.
constexpr double kEdgeSlack = 1e-9;

// The barycentric weights of (u, v) in the triangle's texture coordinates;
// false if the point lies outside it or the triangle has no texture area.
bool Barycentric(const MeshVertex &a, const MeshVertex &b, const MeshVertex &c, double u, double v, double w[3])
{
    const double det = (b.u - a.u) * (c.v - a.v) - (c.u - a.u) * (b.v - a.v);
    if (det == 0.0)
        return false;
    w[1] = ((u - a.u) * (c.v - a.v) - (c.u - a.u) * (v - a.v)) / det;
    w[2] = ((b.u - a.u) * (v - a.v) - (u - a.u) * (b.v - a.v)) / det;
    w[0] = 1.0 - w[1] - w[2];
    return w[0] >= -kEdgeSlack && w[1] >= -kEdgeSlack && w[2] >= -kEdgeSlack;
}

} // namespace

bool TexturePointToVessel(const Vessel &vessel, SURFHANDLE texture, double u, double v, VECTOR3 *point)
{
    if (!texture || !point)
        return false;
    for (const Vessel::MeshEntry &entry : vessel.meshes) {
        const Mesh *mesh = MeshStore::instance().fromHandle(entry.mesh);
        if (!mesh)
            continue;
        for (const MeshGroup &group : mesh->file().groups) {
            if (group.texture == 0 || mesh->texture(group.texture) != texture)
                continue;
            for (size_t t = 0; t + 2 < group.indices.size(); t += 3) {
                const MeshVertex &a = group.vertices[group.indices[t]];
                const MeshVertex &b = group.vertices[group.indices[t + 1]];
                const MeshVertex &c = group.vertices[group.indices[t + 2]];
                double w[3];
                if (!Barycentric(a, b, c, u, v, w))
                    continue;
                point->x = w[0] * a.x + w[1] * b.x + w[2] * c.x + entry.offset.x;
                point->y = w[0] * a.y + w[1] * b.y + w[2] * c.y + entry.offset.y;
                point->z = w[0] * a.z + w[1] * b.z + w[2] * c.z + entry.offset.z;
                return true;
            }
        }
    }
    return false;
}

} // namespace headless
