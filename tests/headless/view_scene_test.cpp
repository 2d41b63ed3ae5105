#include "headless/view_scene.h"

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

TEST(ViewSceneTest, MfdDisplaysGoOntoTheirRegisteredGroups)
{
    // Mesh 0 hidden (no groups), mesh 1 a desk with groups 0..2.
    std::vector<RenderMesh> meshes(2);
    meshes[1].groups.resize(3);
    meshes[1].groups[0].texture = 5;
    SURFHANDLE displays[2] = {CreateSurface(8, 8), CreateSurface(16, 8)};
    ViewTextures textures;
    EXPECT_EQ(textures.add(displays[1], 42), 0); // already among the render's textures
    int unknown = 0;
    EXPECT_EQ(textures.add(&unknown), -1);
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
    // Each surface once, as it is: display 1 kept its place and id.
    ASSERT_EQ(textures.textures().size(), 2u);
    EXPECT_EQ(textures.textures()[0].width, 16);
    EXPECT_EQ(textures.textures()[0].staticId, 42u);
    EXPECT_EQ(textures.textures()[1].pixels, SurfaceFromHandle(displays[0])->data());
    EXPECT_EQ(textures.textures()[1].staticId, 0u);
    DestroySurface(displays[0]);
    DestroySurface(displays[1]);
}

} // namespace
} // namespace headless
