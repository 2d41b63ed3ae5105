// Synthetic scenes for the renderer's tests: flat quads and triangles
// before a camera at the origin looking along +z, and readings of the
// pictures they give.

#ifndef KORVANE_TESTS_RENDER_SCENES_H
#define KORVANE_TESTS_RENDER_SCENES_H

#include <cstdint>
#include <string>
#include <vector>

#include "headless/renderer.h"
#include "headless/surfaces.h"

namespace rendertest {

// A material that shows its colour whatever the light: emissive only.
inline headless::RenderMaterial Glowing(double r, double g, double b)
{
    headless::RenderMaterial m;
    m.diffuse = {0.0, 0.0, 0.0, 1.0};
    m.ambient = {0.0, 0.0, 0.0, 1.0};
    m.emissive = {r, g, b, 1.0};
    return m;
}

// A flat quad by its corners as seen from its front (top-left, top-right,
// bottom-left, bottom-right), texture coordinates (0, 0) at the top-left
// and (1, 1) at the bottom-right, drawn as the two clockwise triangles
// TL-TR-BR and TL-BR-BL, its normal towards the front.
headless::RenderGroup Quad(const VECTOR3 &tl, const VECTOR3 &tr, const VECTOR3 &bl, const VECTOR3 &br,
                           const headless::RenderMaterial &material, int texture = -1);

// An upright square facing the eye at the origin: centre (x, y, z), side
// `side` metres, in the plane z = const.
headless::RenderGroup FacingSquare(double x, double y, double z, double side,
                                   const headless::RenderMaterial &material, int texture = -1);

// A view from the origin along +z, up +y, 40 degrees vertically, black
// background, the light straight behind the eye.
headless::RenderView FrontView();

// Renders one mesh of the groups; fails the test if the renderer fails.
void RenderGroups(const headless::RenderView &view, const std::vector<headless::RenderGroup> &groups,
                  const std::vector<headless::RenderTexture> &textures, headless::Surface &image);

// The host colour 0x00BBGGRR channels of a pixel.
inline int Red(DWORD c) { return static_cast<int>(c & 0xFF); }
inline int Green(DWORD c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int Blue(DWORD c) { return static_cast<int>((c >> 16) & 0xFF); }

// Writes the picture to <build>/render-test-pictures/<name>.png for a look.
void KeepPicture(const headless::Surface &image, const std::string &name);

} // namespace rendertest

#endif // KORVANE_TESTS_RENDER_SCENES_H
