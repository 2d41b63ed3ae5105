#include "headless/view_scene.h"

#include <algorithm>
#include <cmath>

#include "headless/surfaces.h"
#include "headless/vecmath.h"

namespace headless {

bool MeshShownIn(WORD visibility, ViewKind kind)
{
    switch (kind) {
    case ViewKind::Cockpit:
        return (visibility & (MESHVIS_COCKPIT | MESHVIS_VC)) != 0;
    case ViewKind::External:
        return (visibility & MESHVIS_EXTERNAL) != 0;
    }
    return false;
}

int ViewTextures::add(SURFHANDLE s, uint64_t staticId)
{
    for (const auto &entry : indices_)
        if (entry.first == s)
            return entry.second;
    const Surface *surface = SurfaceFromHandle(s);
    if (!surface)
        return -1;
    textures_.push_back(
        RenderTexture{surface->width(), surface->height(), surface->data(), staticId, staticId ? 0 : surface->version()});
    int index = static_cast<int>(textures_.size()) - 1;
    indices_.emplace_back(s, index);
    return index;
}

void ShowMfdDisplays(const std::vector<VcMfd> &mfds, const SURFHANDLE *displays, int displayCount,
                     std::vector<RenderMesh> &meshes, ViewTextures &textures)
{
    for (const VcMfd &m : mfds) {
        if (m.mfd < 0 || m.mfd >= displayCount || m.nmesh >= meshes.size() ||
            m.ngroup >= meshes[m.nmesh].groups.size())
            continue;
        int texture = textures.add(displays[m.mfd]);
        if (texture >= 0)
            meshes[m.nmesh].groups[m.ngroup].texture = texture;
    }
}

void BoundingSphere(const std::vector<RenderMesh> &meshes, VECTOR3 *centre, double *radiusMetres)
{
    bool any = false;
    VECTOR3 lo = _V(0, 0, 0), hi = _V(0, 0, 0);
    for (const RenderMesh &mesh : meshes)
        for (const RenderGroup &g : mesh.groups)
            for (const RenderVertex &v : g.vertices) {
                VECTOR3 p = _V(v.x, v.y, v.z) + mesh.offset;
                if (!any) {
                    lo = hi = p;
                    any = true;
                }
                lo = _V(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
                hi = _V(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
            }
    *centre = (lo + hi) / 2.0;
    double radius = 0.0;
    for (const RenderMesh &mesh : meshes)
        for (const RenderGroup &g : mesh.groups)
            for (const RenderVertex &v : g.vertices)
                radius = std::max(radius, length(_V(v.x, v.y, v.z) + mesh.offset - *centre));
    *radiusMetres = radius;
}

} // namespace headless
