// The host's mesh store as the simulator behaves: meshes by name from the
// root's Meshes/ folder, null for a missing or damaged file, the textures of
// a mesh from Textures/ (dynamic ones at their DDS size), a defined outcome
// for a missing or damaged texture, and handle lookups that refuse stale and
// foreign handles.

#include "headless/meshes.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "headless/dds_file.h"
#include "headless/resources.h"
#include "headless/surfaces.h"

namespace {

namespace fs = std::filesystem;
using headless::MeshStore;

void WriteBytes(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

void WriteBytes(const fs::path &path, const std::vector<uint8_t> &bytes)
{
    WriteBytes(path, std::string(bytes.begin(), bytes.end()));
}

// A mesh of one triangle on texture 1 that lists four textures: a dynamic
// 64 x 32 one, a static 8 x 8 red one, a missing one and a damaged one.
const char kPanelMesh[] = "MSHX1\nGROUPS 1\nTEXTURE 1\nGEOM 3 1\n"
                          "0 0 0 0 0 -1 0 1\n0 1 0 0 0 -1 0 0\n1 1 0 0 0 -1 1 0\n0 1 2\n"
                          "TEXTURES 4\n"
                          "Test\\panel.dds D\n"
                          "Test\\red.dds\n"
                          "Test\\missing.dds\n"
                          "Test\\damaged.dds\n";

class MeshStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("korvane-meshes-" + std::to_string(::getpid()));
        fs::remove_all(root);
        WriteBytes(root / "Meshes/Test/Panel.msh", kPanelMesh);
        WriteBytes(root / "Textures/Test/panel.dds",
                   headless::WriteDdsArgb32(64, 32, std::vector<uint32_t>(64 * 32, 0xFF000000u)));
        WriteBytes(root / "Textures/Test/red.dds", headless::WriteDdsDxt1(8, 8, std::vector<uint32_t>(64, 0xFFFF0000u)));
        WriteBytes(root / "Textures/Test/damaged.dds", std::string("DDS not really"));
        MeshStore::instance().setRoot(root.string());
    }
    void TearDown() override
    {
        MeshStore::instance().clear();
        MeshStore::instance().setRoot(KORVANE_ROOT_DIR);
        fs::remove_all(root);
    }

    fs::path root;
};

TEST_F(MeshStoreTest, MeshesLoadFromTheRootWithTheirTextures)
{
    const int surfacesBefore = headless::LiveResources().surfaces;
    MESHHANDLE mesh = oapiLoadMeshGlobal("Test\\Panel");
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(oapiLoadMeshGlobal("Test\\Panel"), mesh); // once per name
    EXPECT_EQ(oapiLoadMeshGlobal("Test/Panel"), mesh);
    headless::Mesh *m = MeshStore::instance().fromHandle(mesh);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->name(), "Test/Panel");
    EXPECT_EQ(m->file().groups.size(), 1u);
    EXPECT_EQ(m->file().textures.size(), 4u);

    // The dynamic texture at its DDS size, the static one decoded.
    SURFHANDLE panel = oapiGetTextureHandle(mesh, 1);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel, m->texture(1));
    headless::Surface *surface = headless::SurfaceFromHandle(panel);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 64);
    EXPECT_EQ(surface->height(), 32);
    headless::Surface *red = headless::SurfaceFromHandle(oapiGetTextureHandle(mesh, 2));
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->width(), 8);
    EXPECT_EQ(red->Pixel(3, 5), 0x0000FFu); // host colour of red

    // Missing and damaged textures leave their slots empty; so do 0 and
    // indices past the list, and a null mesh.
    EXPECT_EQ(oapiGetTextureHandle(mesh, 3), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(mesh, 4), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(mesh, 0), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(mesh, 5), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(nullptr, 1), nullptr);
    EXPECT_EQ(headless::LiveResources().surfaces, surfacesBefore + 2);

    // The 3D view reads the static texture once, under an id of its own;
    // the dynamic one, and empty slots, have none.
    const uint64_t redId = m->textureStaticId(2);
    EXPECT_NE(redId, 0u);
    for (DWORD slot : {0u, 1u, 3u, 4u, 5u})
        EXPECT_EQ(m->textureStaticId(slot), 0u) << slot;

    // Clearing the store frees the textures and makes the handle stale; the
    // mesh loaded again is read again, under a new id.
    MeshStore::instance().clear();
    EXPECT_EQ(headless::LiveResources().surfaces, surfacesBefore);
    EXPECT_EQ(MeshStore::instance().fromHandle(mesh), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(mesh, 1), nullptr);
    EXPECT_NE(MeshStore::instance().fromHandle(oapiLoadMeshGlobal("Test\\Panel"))->textureStaticId(2), redId);
}

TEST_F(MeshStoreTest, MissingOrDamagedMeshesGiveNullHandles)
{
    EXPECT_EQ(oapiLoadMeshGlobal("Test\\Nothing"), nullptr);
    EXPECT_EQ(oapiLoadMeshGlobal(nullptr), nullptr);
    EXPECT_EQ(oapiLoadMeshGlobal(""), nullptr);
    WriteBytes(root / "Meshes/Test/Broken.msh", std::string("MSHX1\nGROUPS 1\nGEOM 3 1\n0 0 0\n"));
    EXPECT_EQ(oapiLoadMeshGlobal("Test\\Broken"), nullptr);
    // A failure is not remembered: once the file is sound it loads.
    WriteBytes(root / "Meshes/Test/Broken.msh", kPanelMesh);
    EXPECT_NE(oapiLoadMeshGlobal("Test\\Broken"), nullptr);

    // Handles that are not meshes of the store are refused.
    int foreign = 0;
    EXPECT_EQ(MeshStore::instance().fromHandle(&foreign), nullptr);
    EXPECT_EQ(MeshStore::instance().fromHandle(nullptr), nullptr);
    EXPECT_EQ(oapiGetTextureHandle(&foreign, 1), nullptr);

    // Another root forgets the meshes of this one.
    MESHHANDLE panel = oapiLoadMeshGlobal("Test\\Panel");
    ASSERT_NE(panel, nullptr);
    MeshStore::instance().setRoot((root / "elsewhere").string());
    EXPECT_EQ(MeshStore::instance().fromHandle(panel), nullptr);
    EXPECT_EQ(oapiLoadMeshGlobal("Test\\Panel"), nullptr);
}

TEST(CommittedMeshesTest, TheScreensAndButtonPanelsAreDynamicTexturesOfTheirSizes)
{
    MeshStore::instance().setRoot(KORVANE_ROOT_DIR);
    struct Texture {
        const char *mesh;
        DWORD index;
        int side;
    } const textures[] = {{"Korvane\\ScreenUpd0", 1, 1024},        {"Korvane\\ScreenUpd1", 1, 1024},
                          {"Korvane\\ScreenUpd2", 1, 1024},        {"Korvane\\Flight_Dir_Screen", 1, 256},
                          {"Korvane\\Flight_Dir_Screen", 2, 256}};
    for (const Texture &t : textures) {
        headless::Surface *s = headless::SurfaceFromHandle(oapiGetTextureHandle(oapiLoadMeshGlobal(t.mesh), t.index));
        ASSERT_NE(s, nullptr) << t.mesh << " " << t.index;
        EXPECT_EQ(s->width(), t.side) << t.mesh;
        EXPECT_EQ(s->height(), t.side) << t.mesh;
    }
}

} // namespace
