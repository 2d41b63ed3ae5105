// The stand-in's 3D renderer: draws meshes seen through a ViewCamera into a
// picture, as the simulator's graphics client draws a vessel, offscreen and
// without a display or a GPU (OpenGL on Mesa's software rasteriser through
// EGL's surfaceless platform). Nothing outside renderer.cpp sees OpenGL.
//
// Conventions are the simulator's: the left-handed vessel frame of
// view_camera.h; a triangle (a, b, c) faces the side it is seen clockwise
// from, the side that cross(b - a, c - a) (usual component formula) points
// to, and only its front is drawn; texture coordinates (0, 0) are the
// texture's top-left corner, (1, 1) its bottom-right, and repeat outside.
//
// Shading, per pixel, with t the texture colour (white for none):
//   colour = t * min(emissive + ambientLight * ambient
//                    + lightColour * diffuse * max(0, n . l), 1)
//            + lightColour * specular * max(0, n . h)^specularPower
//   alpha  = t.alpha * diffuse.alpha
// with n the interpolated normal, l the direction towards the light and h
// the half-way vector between l and the direction towards the eye. A zero
// normal is lit as if it faced the light; specular power 0 gives no
// highlight. Groups whose material is not opaque are blended over the
// others after them.
//
// The context is made once per process, on first use, and kept; every
// render takes it on the calling thread and gives it up again, one render
// at a time.

#ifndef KORVANE_HEADLESS_RENDERER_H
#define KORVANE_HEADLESS_RENDERER_H

#include <cstdint>
#include <string>
#include <vector>

#include "OrbiterAPI.h"
#include "headless/view_camera.h"

namespace headless {

class Surface;

struct RenderColour {
    double r = 0.0, g = 0.0, b = 0.0, a = 1.0; // 0..1
};

struct RenderMaterial {
    RenderColour diffuse{1.0, 1.0, 1.0, 1.0};
    RenderColour ambient{1.0, 1.0, 1.0, 1.0};
    RenderColour specular{0.0, 0.0, 0.0, 1.0};
    RenderColour emissive{0.0, 0.0, 0.0, 1.0};
    double specularPower = 0.0;
};

struct RenderVertex {
    double x, y, z;    // position in the mesh's frame (m)
    double nx, ny, nz; // normal (need not be unit length)
    double u, v;       // texture coordinates
};

struct RenderGroup {
    std::vector<RenderVertex> vertices;
    // Three vertex indices per triangle. A triangle with an index beyond
    // the vertices is not drawn; indices after the last whole triangle are
    // ignored.
    std::vector<uint32_t> indices;
    RenderMaterial material;
    // Index into the render's textures; -1 (or any index that names no
    // usable texture) draws the group untextured.
    int texture = -1;
};

struct RenderMesh {
    VECTOR3 offset = _V(0, 0, 0); // the mesh frame's origin in the vessel frame (m)
    std::vector<RenderGroup> groups;
};

// A texture's pixels in the layout of the stand-in's Surface: width x height
// 32-bit words 0xAARRGGBB, rows from the top, no padding. A texture with no
// pixels, a size below 1 or a size beyond what the rasteriser takes is not
// usable.
struct RenderTexture {
    int width = 0;
    int height = 0;
    const uint32_t *pixels = nullptr;
    // 0 for a texture that may change between renders (one a module draws
    // on): its pixels are read afresh by every render. Otherwise an id from
    // NewStaticTextureId for pixels that never change: they are read by the
    // first render that uses the id and kept for as long as every render
    // uses it.
    uint64_t staticId = 0;
    // For a texture that may change: which state of its pixels this is
    // (Surface::version). A render that finds the same pixels, size and
    // version at the same index as the render before reads them no more;
    // 0 reads them every time.
    uint64_t version = 0;
};

// A new id for unchanging texture pixels; never the same twice in a process.
uint64_t NewStaticTextureId();

struct RenderLight {
    VECTOR3 towardsLight = _V(0, 1, 0); // direction from the scene to the light (need not be unit)
    RenderColour colour{1.0, 1.0, 1.0, 1.0};
    RenderColour ambient{0.2, 0.2, 0.2, 1.0};
};

// A level plane of the vessel frame, facing up, drawn out to the far plane.
struct GroundPlane {
    bool shown = false;
    double y = 0.0; // its height in the vessel frame (m)
    RenderColour colour{0.35, 0.4, 0.3, 1.0};
};

struct RenderView {
    ViewCamera camera;
    RenderLight light;
    RenderColour background{0.0, 0.0, 0.0, 1.0}; // where nothing is drawn
    GroundPlane ground;
};

// Samples per pixel of the antialiasing.
constexpr int kRenderSamples = 4;

// Draws meshes as seen by view.camera into image, at image's size, opaque.
// False, with the reason in *error and image unchanged, if no context can be
// made (no EGL library, no Mesa driver) or the picture is larger than the
// rasteriser takes; bad mesh data is drawn as documented above, never
// failing.
bool Render(const RenderView &view, const std::vector<RenderMesh> &meshes, const std::vector<RenderTexture> &textures,
            Surface &image, std::string *error);

// Makes the context if it is not made yet. False, with the reason, if it
// cannot be made; the reason stays the same for the rest of the process.
bool RendererAvailable(std::string *error);

} // namespace headless

#endif // KORVANE_HEADLESS_RENDERER_H
