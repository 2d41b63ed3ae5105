#include "headless/meshes.h"

#include <algorithm>
#include <unordered_set>

#include "headless/dds_file.h"
#include "headless/renderer.h"
#include "headless/surfaces.h"

namespace headless {

namespace {

std::unordered_set<const void *> &LiveVisuals()
{
    static std::unordered_set<const void *> live;
    return live;
}

std::string WithSlashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

Visual::Visual(size_t meshCount) : devMeshes_(meshCount) { LiveVisuals().insert(this); }
Visual::~Visual() { LiveVisuals().erase(this); }

Visual *Visual::fromHandle(VISHANDLE h)
{
    return h && LiveVisuals().count(h) ? static_cast<Visual *>(h) : nullptr;
}

Mesh::Mesh(std::string name, MeshFile file, std::vector<SURFHANDLE> textures)
    : name_(std::move(name)), file_(std::move(file)), textures_(std::move(textures)), staticIds_(textures_.size(), 0)
{
    for (size_t i = 0; i < textures_.size(); ++i)
        if (textures_[i] && i < file_.textures.size() && !file_.textures[i].dynamic)
            staticIds_[i] = NewStaticTextureId();
}

Mesh::~Mesh()
{
    for (SURFHANDLE s : textures_)
        DestroySurface(s);
}

SURFHANDLE Mesh::texture(DWORD texidx) const
{
    if (texidx == 0 || texidx > textures_.size())
        return nullptr;
    return textures_[texidx - 1];
}

uint64_t Mesh::textureStaticId(DWORD texidx) const
{
    if (texidx == 0 || texidx > staticIds_.size())
        return 0;
    return staticIds_[texidx - 1];
}

MeshStore &MeshStore::instance()
{
    static MeshStore store;
    return store;
}

void MeshStore::setRoot(const std::string &root)
{
    if (root == root_)
        return;
    clear();
    root_ = root;
}

SURFHANDLE MeshStore::loadTexture(const MeshTexture &texture) const
{
    std::string path = (root_.empty() ? std::string() : root_ + "/") + "Textures/" + WithSlashes(texture.path);
    DdsImage image;
    if (!ReadDdsFile(path, &image))
        return nullptr;
    SURFHANDLE s = CreateSurface(image.width, image.height);
    Surface *surface = SurfaceFromHandle(s);
    if (!surface)
        return nullptr;
    uint32_t *pixels = surface->data();
    for (size_t i = 0; i < image.pixels.size(); ++i)
        pixels[i] = image.pixels[i] | 0xFF000000u;
    return s;
}

MESHHANDLE MeshStore::load(const char *name)
{
    if (!name || !*name)
        return nullptr;
    std::string key = WithSlashes(name);
    auto it = byName_.find(key);
    if (it != byName_.end())
        return it->second.get();

    MeshFile file;
    std::string path = (root_.empty() ? std::string() : root_ + "/") + "Meshes/" + key + ".msh";
    if (!ReadMeshFile(path, &file))
        return nullptr;
    std::vector<SURFHANDLE> textures;
    for (const MeshTexture &t : file.textures)
        textures.push_back(loadTexture(t));
    auto mesh = std::make_unique<Mesh>(key, std::move(file), std::move(textures));
    Mesh *raw = mesh.get();
    byHandle_[raw] = raw;
    byName_[key] = std::move(mesh);
    return raw;
}

Mesh *MeshStore::fromHandle(MESHHANDLE h) const
{
    auto it = byHandle_.find(h);
    return it == byHandle_.end() ? nullptr : it->second;
}

void MeshStore::clear()
{
    byHandle_.clear();
    byName_.clear();
}

} // namespace headless
