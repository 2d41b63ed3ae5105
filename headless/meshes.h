// Meshes by name, their textures, and the device meshes of a visual.
//
// The headless simulator has no mesh files: a mesh is a name, and its
// textures are 1024 x 1024 surfaces made the first time they are asked for,
// so that cockpit areas have something to be drawn on.

#ifndef KORVANE_HEADLESS_MESHES_H
#define KORVANE_HEADLESS_MESHES_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "OrbiterAPI.h"

namespace headless {

class Mesh {
public:
    explicit Mesh(std::string name) : name_(std::move(name)) {}
    ~Mesh();
    Mesh(const Mesh &) = delete;
    Mesh &operator=(const Mesh &) = delete;

    const std::string &name() const { return name_; }
    // Texture texidx (counting from 1); null for 0.
    SURFHANDLE texture(DWORD texidx);

private:
    std::string name_;
    std::map<DWORD, SURFHANDLE> textures_;
};

// The global mesh store: one mesh per name, "\" read as "/".
class MeshStore {
public:
    static MeshStore &instance();
    MESHHANDLE load(const char *name);
    Mesh *fromHandle(MESHHANDLE h) const;
    // Destroys every mesh and its textures.
    void clear();

private:
    std::vector<std::unique_ptr<Mesh>> meshes_;
};

// A visual of a vessel: the graphics client's instance of its meshes. Its
// device meshes are distinct, stable handles per mesh index.
class Visual {
public:
    explicit Visual(size_t meshCount);
    ~Visual();
    Visual(const Visual &) = delete;
    Visual &operator=(const Visual &) = delete;

    // Null unless h is a live visual.
    static Visual *fromHandle(VISHANDLE h);
    VISHANDLE handle() { return static_cast<VISHANDLE>(this); }
    // Null for an index beyond the vessel's meshes.
    DEVMESHHANDLE devMesh(UINT idx) { return idx < devMeshes_.size() ? &devMeshes_[idx] : nullptr; }

private:
    std::vector<int> devMeshes_;
};

} // namespace headless

#endif // KORVANE_HEADLESS_MESHES_H
