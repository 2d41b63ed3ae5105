// korvane-make-meshes OUTDIR: writes the control room's meshes and the
// tracking network's site mesh (OUTDIR/Meshes/Korvane/*.msh) and the room's
// textures (OUTDIR/Textures/Korvane/*.dds).
// The same program always writes the same bytes.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "headless/dds_file.h"
#include "headless/mesh_file.h"
#include "tools/make_meshes/room_meshes.h"

namespace {

bool WriteFile(const std::filesystem::path &path, const char *data, size_t size)
{
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "korvane-make-meshes: cannot write %s\n", path.string().c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvane-make-meshes OUTDIR\n");
        return 2;
    }
    const std::filesystem::path root(argv[1]);
    bool ok = true;
    std::vector<meshgen::GeneratedMesh> meshes = meshgen::RoomMeshes();
    for (meshgen::GeneratedMesh &m : meshgen::NetworkMeshes())
        meshes.push_back(std::move(m));
    for (const meshgen::GeneratedMesh &m : meshes) {
        std::string text = headless::WriteMeshText(m.mesh);
        ok = WriteFile(root / m.path, text.data(), text.size()) && ok;
    }
    for (const meshgen::GeneratedTexture &t : meshgen::RoomTextures()) {
        const meshgen::Picture &p = t.picture;
        std::vector<uint8_t> bytes = t.dynamic ? headless::WriteDdsArgb32(p.width, p.height, p.pixels)
                                               : headless::WriteDdsDxt1(p.width, p.height, p.pixels);
        ok = WriteFile(root / t.path, reinterpret_cast<const char *>(bytes.data()), bytes.size()) && ok;
    }
    return ok ? 0 : 1;
}
