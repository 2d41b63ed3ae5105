#include "headless/view_scene.h"

#include <cmath>

#include <gtest/gtest.h>

#include "headless/surfaces.h"

namespace headless {
namespace {

// The simulator's modifier kExtPass (not used by the module, so not
// declared in its host interface).
constexpr WORD kExtPass = 0x10;

TEST(ViewSceneTest, MeshesShownFromInsideAndFromOutsideByVisibilityMode)
{
    struct Case {
        WORD mode;
        bool cockpit, external;
    };
    const Case cases[] = {
        {MESHVIS_NEVER, false, false},
        {MESHVIS_EXTERNAL, false, true},
        {MESHVIS_COCKPIT, true, false},
        {MESHVIS_ALWAYS, true, true},
        {MESHVIS_VC, true, false},
        {MESHVIS_VC | kExtPass, true, false},
        {MESHVIS_EXTERNAL | kExtPass, false, true},
        {kExtPass, false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(MeshShownIn(c.mode, ViewKind::Cockpit), c.cockpit) << c.mode;
        EXPECT_EQ(MeshShownIn(c.mode, ViewKind::External), c.external) << c.mode;
    }
}

TEST(ViewSceneTest, TexturesAreCollectedOncePerSurface)
{
    SURFHANDLE a = CreateSurface(64, 32), b = CreateSurface(16, 16);
    ViewTextures textures;
    EXPECT_EQ(textures.add(a), 0);
    EXPECT_EQ(textures.add(b, 42), 1);
    EXPECT_EQ(textures.add(a), 0);
    int unknown = 0;
    EXPECT_EQ(textures.add(&unknown), -1);
    EXPECT_EQ(textures.add(nullptr), -1);
    ASSERT_EQ(textures.textures().size(), 2u);
    const RenderTexture &t = textures.textures()[0];
    EXPECT_EQ(t.width, 64);
    EXPECT_EQ(t.height, 32);
    EXPECT_EQ(t.pixels, SurfaceFromHandle(a)->data());
    EXPECT_EQ(t.staticId, 0u);
    EXPECT_EQ(textures.textures()[1].staticId, 42u);
    DestroySurface(a);
    DestroySurface(b);
}

TEST(ViewSceneTest, MfdDisplaysGoOntoTheirRegisteredGroups)
{
    // Mesh 0 hidden (no groups), mesh 1 a desk with groups 0..2.
    std::vector<RenderMesh> meshes(2);
    meshes[1].groups.resize(3);
    meshes[1].groups[0].texture = 5;
    SURFHANDLE displays[2] = {CreateSurface(8, 8), CreateSurface(8, 8)};
    ViewTextures textures;
    textures.add(displays[1]); // already among the render's textures
    const std::vector<VcMfd> mfds = {
        {0, 1, 1}, {1, 1, 2},
        {1, 0, 0},  // a group of a hidden mesh
        {0, 7, 0},  // no such mesh
        {0, 1, 9},  // no such group
        {5, 1, 0},  // no such MFD
    };
    ShowMfdDisplays(mfds, displays, 2, meshes, textures);
    EXPECT_EQ(meshes[1].groups[0].texture, 5);
    EXPECT_EQ(meshes[1].groups[1].texture, 1);
    EXPECT_EQ(meshes[1].groups[2].texture, 0);
    EXPECT_TRUE(meshes[0].groups.empty());
    ASSERT_EQ(textures.textures().size(), 2u);
    EXPECT_EQ(textures.textures()[1].pixels, SurfaceFromHandle(displays[0])->data());
    DestroySurface(displays[0]);
    DestroySurface(displays[1]);
}

TEST(ViewSceneTest, BoundingSphereOfTheMeshesWithTheirOffsets)
{
    std::vector<RenderMesh> meshes(2);
    meshes[0].offset = _V(0, 1, 0);
    meshes[0].groups.resize(1);
    meshes[0].groups[0].vertices = {{0, 0, 0, 0, 0, 0, 0, 0}, {2, 0, 0, 0, 0, 0, 0, 0}};
    meshes[1].offset = _V(1, 1, 0.5);
    meshes[1].groups.resize(1);
    meshes[1].groups[0].vertices = {{0, 0, 0, 0, 0, 0, 0, 0}};
    VECTOR3 centre;
    double radius = -1;
    BoundingSphere(meshes, &centre, &radius);
    // Box (0, 1, 0)..(2, 1, 0.5): centre (1, 1, 0.25); farthest corner
    // vertex at sqrt(1 + 0.0625).
    EXPECT_DOUBLE_EQ(centre.x, 1.0);
    EXPECT_DOUBLE_EQ(centre.y, 1.0);
    EXPECT_DOUBLE_EQ(centre.z, 0.25);
    EXPECT_DOUBLE_EQ(radius, std::sqrt(1.0625));
    BoundingSphere({}, &centre, &radius);
    EXPECT_EQ(radius, 0.0);
    EXPECT_EQ(centre.x, 0.0);
}

} // namespace
} // namespace headless
