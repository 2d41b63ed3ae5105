// Host functions on meshes and their textures.

#include "OrbiterAPI.h"
#include "headless/meshes.h"

MESHHANDLE oapiLoadMeshGlobal(const char *fname) { return headless::MeshStore::instance().load(fname); }

SURFHANDLE oapiGetTextureHandle(MESHHANDLE hMesh, DWORD texidx)
{
    headless::Mesh *mesh = headless::MeshStore::instance().fromHandle(hMesh);
    return mesh ? mesh->texture(texidx) : nullptr;
}
