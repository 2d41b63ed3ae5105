#include "headless/meshes.h"

#include <algorithm>
#include <unordered_set>

#include "headless/surfaces.h"

namespace headless {

namespace {
constexpr int kTextureSizePixels = 1024;

std::unordered_set<const void *> &LiveVisuals()
{
    static std::unordered_set<const void *> live;
    return live;
}
} // namespace

Visual::Visual(size_t meshCount) : devMeshes_(meshCount) { LiveVisuals().insert(this); }
Visual::~Visual() { LiveVisuals().erase(this); }

Visual *Visual::fromHandle(VISHANDLE h)
{
    return h && LiveVisuals().count(h) ? static_cast<Visual *>(h) : nullptr;
}

Mesh::~Mesh()
{
    for (auto &entry : textures_)
        DestroySurface(entry.second);
}

SURFHANDLE Mesh::texture(DWORD texidx)
{
    if (texidx == 0)
        return nullptr;
    auto it = textures_.find(texidx);
    if (it != textures_.end())
        return it->second;
    SURFHANDLE s = CreateSurface(kTextureSizePixels, kTextureSizePixels);
    textures_[texidx] = s;
    return s;
}

MeshStore &MeshStore::instance()
{
    static MeshStore store;
    return store;
}

MESHHANDLE MeshStore::load(const char *name)
{
    std::string key = name ? name : "";
    std::replace(key.begin(), key.end(), '\\', '/');
    for (auto &m : meshes_)
        if (m->name() == key)
            return m.get();
    meshes_.push_back(std::make_unique<Mesh>(key));
    return meshes_.back().get();
}

Mesh *MeshStore::fromHandle(MESHHANDLE h) const
{
    for (auto &m : meshes_)
        if (m.get() == h)
            return m.get();
    return nullptr;
}

void MeshStore::clear() { meshes_.clear(); }

} // namespace headless
