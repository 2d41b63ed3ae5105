#include "render_scenes.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace rendertest {

headless::RenderGroup Quad(const VECTOR3 &tl, const VECTOR3 &tr, const VECTOR3 &bl, const VECTOR3 &br,
                           const headless::RenderMaterial &material, int texture)
{
    // The normal: towards the side the corners are seen clockwise from.
    VECTOR3 a = _V(tr.x - tl.x, tr.y - tl.y, tr.z - tl.z);
    VECTOR3 b = _V(br.x - tl.x, br.y - tl.y, br.z - tl.z);
    VECTOR3 n = _V(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    headless::RenderGroup g;
    g.vertices = {{tl.x, tl.y, tl.z, n.x, n.y, n.z, 0.0, 0.0},
                  {tr.x, tr.y, tr.z, n.x, n.y, n.z, 1.0, 0.0},
                  {bl.x, bl.y, bl.z, n.x, n.y, n.z, 0.0, 1.0},
                  {br.x, br.y, br.z, n.x, n.y, n.z, 1.0, 1.0}};
    g.indices = {0, 1, 3, 0, 3, 2};
    g.material = material;
    g.texture = texture;
    return g;
}

headless::RenderGroup FacingSquare(double x, double y, double z, double side,
                                   const headless::RenderMaterial &material, int texture)
{
    double h = side / 2.0;
    return Quad(_V(x - h, y + h, z), _V(x + h, y + h, z), _V(x - h, y - h, z), _V(x + h, y - h, z), material,
                texture);
}

headless::RenderView FrontView()
{
    headless::RenderView view;
    view.camera.position = _V(0, 0, 0);
    view.camera.forward = _V(0, 0, 1);
    view.camera.up = _V(0, 1, 0);
    view.camera.fovYDeg = 40.0;
    view.light.towardsLight = _V(0, 0, -1);
    view.background = {0.0, 0.0, 0.0, 1.0};
    return view;
}

void RenderGroups(const headless::RenderView &view, const std::vector<headless::RenderGroup> &groups,
                  const std::vector<headless::RenderTexture> &textures, headless::Surface &image)
{
    headless::RenderMesh mesh;
    mesh.groups = groups;
    std::string error;
    ASSERT_TRUE(headless::Render(view, {mesh}, textures, image, &error)) << error;
}

void KeepPicture(const headless::Surface &image, const std::string &name)
{
    std::string dir = std::string(KORVANE_BINARY_DIR) + "/render-test-pictures";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    headless::WritePng(image, dir + "/" + name + ".png");
}

} // namespace rendertest
