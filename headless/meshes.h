// Meshes by name, their textures, and the device meshes of a visual.
//
// A mesh is loaded the simulator's way: oapiLoadMeshGlobal("Korvane\\Korvane")
// reads Meshes/Korvane/Korvane.msh under the simulator root ("\" read as
// "/"). A file that is missing or cannot be read as a mesh gives a null
// handle, as in the simulator; a mesh that loaded keeps its handle for the
// rest of the session, and loading the same name again returns it.
//
// Each entry of the mesh's texture list is loaded from Textures/<path> under
// the root: a dynamic texture (flag D) becomes a surface of its DDS size
// holding the file's pixels, for a module to draw on; a static one a surface
// holding the decoded pixels, for the 3D view. A texture file that is
// missing or refused by the DDS reader leaves its slot empty: the mesh still
// loads, its groups keep their geometry, and oapiGetTextureHandle gives null
// for that slot (the simulator, too, draws such a group untextured).
// Surfaces are opaque: a texture's alpha is not kept.

#ifndef KORVANE_HEADLESS_MESHES_H
#define KORVANE_HEADLESS_MESHES_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/mesh_file.h"

namespace headless {

class Mesh {
public:
    // Takes ownership of the texture surfaces (one per entry of the file's
    // texture list; null for one that could not be loaded).
    Mesh(std::string name, MeshFile file, std::vector<SURFHANDLE> textures);
    ~Mesh();
    Mesh(const Mesh &) = delete;
    Mesh &operator=(const Mesh &) = delete;

    // The name as loaded, with slashes ("Korvane/Korvane").
    const std::string &name() const { return name_; }
    const MeshFile &file() const { return file_; }
    // Texture texidx (counting from 1); null for 0, past the list, or a
    // texture that could not be loaded.
    SURFHANDLE texture(DWORD texidx) const;
    // The 3D renderer's id of texture texidx (renderer.h): its own for each
    // loaded static texture, given when the mesh is loaded, so that every
    // view keeps those pixels once; 0 for a dynamic texture (read afresh by
    // every picture) and wherever texture() is null.
    uint64_t textureStaticId(DWORD texidx) const;

private:
    std::string name_;
    MeshFile file_;
    std::vector<SURFHANDLE> textures_;
    std::vector<uint64_t> staticIds_; // by texture, as textures_
};

// The global mesh store.
class MeshStore {
public:
    static MeshStore &instance();

    // The simulator root that Meshes/ and Textures/ are read from; empty for
    // the current directory. A new root forgets the meshes of the old one.
    void setRoot(const std::string &root);
    const std::string &root() const { return root_; }

    // The mesh of a name, loaded on first use; null if the name is null or
    // empty, or its file is missing or cannot be read.
    MESHHANDLE load(const char *name);
    // The mesh behind a handle, in constant time; null for null, stale or
    // foreign handles.
    Mesh *fromHandle(MESHHANDLE h) const;
    // Destroys every mesh and its textures.
    void clear();

private:
    SURFHANDLE loadTexture(const MeshTexture &texture) const;

    std::string root_;
    std::unordered_map<std::string, std::unique_ptr<Mesh>> byName_;
    std::unordered_map<const void *, Mesh *> byHandle_;
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
