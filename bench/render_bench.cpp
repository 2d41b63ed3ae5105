// The 3D renderer on a synthetic scene of the control room's size: a room
// 20 m wide, 12 m high and 20 m deep whose six faces are grids of quads
// (4800 triangles) on five unchanging 512 x 512 textures, and the textures
// a module redraws between pictures: three screens (1024 x 1024), two MFD
// displays (512 x 512) and two label panels (256 x 256). Seen from the main
// desk at 1920 x 1080 with antialiasing. The time is the wall-clock time of
// a picture; the rasteriser's threads work in parallel with the caller's.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "headless/renderer.h"
#include "headless/surfaces.h"

namespace {

using headless::RenderGroup;
using headless::RenderMaterial;
using headless::RenderVertex;

constexpr int kGridCells = 20; // quads along each side of a room face

// A face of the room as a grid of quads, seen clockwise from inside: from
// corner `origin` along `across` and `down`, its normal n.
RenderGroup GridFace(const VECTOR3 &origin, const VECTOR3 &across, const VECTOR3 &down, const VECTOR3 &n,
                     int texture)
{
    RenderGroup g;
    for (int j = 0; j <= kGridCells; ++j)
        for (int i = 0; i <= kGridCells; ++i) {
            double a = static_cast<double>(i) / kGridCells, b = static_cast<double>(j) / kGridCells;
            g.vertices.push_back(RenderVertex{origin.x + a * across.x + b * down.x, origin.y + a * across.y + b * down.y,
                                              origin.z + a * across.z + b * down.z, n.x, n.y, n.z, a * 4, b * 4});
        }
    for (int j = 0; j < kGridCells; ++j)
        for (int i = 0; i < kGridCells; ++i) {
            uint32_t tl = j * (kGridCells + 1) + i, tr = tl + 1, bl = tl + kGridCells + 1, br = bl + 1;
            g.indices.insert(g.indices.end(), {tl, tr, br, tl, br, bl});
        }
    g.texture = texture;
    return g;
}

RenderGroup Panel(const VECTOR3 &tl, const VECTOR3 &across, const VECTOR3 &down, int texture)
{
    RenderGroup g;
    VECTOR3 n = _V(across.y * down.z - across.z * down.y, across.z * down.x - across.x * down.z,
                   across.x * down.y - across.y * down.x);
    VECTOR3 tr = _V(tl.x + across.x, tl.y + across.y, tl.z + across.z);
    VECTOR3 bl = _V(tl.x + down.x, tl.y + down.y, tl.z + down.z);
    VECTOR3 br = _V(tr.x + down.x, tr.y + down.y, tr.z + down.z);
    g.vertices = {{tl.x, tl.y, tl.z, n.x, n.y, n.z, 0, 0},
                  {tr.x, tr.y, tr.z, n.x, n.y, n.z, 1, 0},
                  {bl.x, bl.y, bl.z, n.x, n.y, n.z, 0, 1},
                  {br.x, br.y, br.z, n.x, n.y, n.z, 1, 1}};
    g.indices = {0, 1, 3, 0, 3, 2};
    g.material.emissive = {1, 1, 1, 1};
    g.texture = texture;
    return g;
}

struct Scene {
    std::vector<std::unique_ptr<headless::Surface>> surfaces;
    std::vector<headless::RenderTexture> textures;
    std::vector<headless::RenderMesh> meshes;
    headless::RenderView view;

    int addTexture(int size, uint32_t seed, bool unchanging = false)
    {
        auto s = std::make_unique<headless::Surface>(size, size);
        uint32_t *p = s->data();
        for (int i = 0; i < size * size; ++i)
            p[i] = 0xFF000000u | ((i * 2654435761u + seed) & 0x00FFFFFFu);
        textures.push_back(
            headless::RenderTexture{size, size, s->data(), unchanging ? headless::NewStaticTextureId() : 0});
        surfaces.push_back(std::move(s));
        return static_cast<int>(textures.size()) - 1;
    }
};

Scene ControlRoomSizedScene()
{
    Scene s;
    int walls[5];
    for (int i = 0; i < 5; ++i)
        walls[i] = s.addTexture(512, 1000u * i, true);
    headless::RenderMesh room;
    // Floor (y = -5), ceiling (y = 7), front (z = 10), back (z = -10), left, right.
    room.groups.push_back(GridFace(_V(-10, -5, 10), _V(20, 0, 0), _V(0, 0, -20), _V(0, 1, 0), walls[0]));
    room.groups.push_back(GridFace(_V(-10, 7, -10), _V(20, 0, 0), _V(0, 0, 20), _V(0, -1, 0), walls[1]));
    room.groups.push_back(GridFace(_V(-10, 7, 10), _V(20, 0, 0), _V(0, -12, 0), _V(0, 0, -1), walls[2]));
    room.groups.push_back(GridFace(_V(10, 7, -10), _V(-20, 0, 0), _V(0, -12, 0), _V(0, 0, 1), walls[3]));
    room.groups.push_back(GridFace(_V(-10, 7, -10), _V(0, 0, 20), _V(0, -12, 0), _V(1, 0, 0), walls[4]));
    room.groups.push_back(GridFace(_V(10, 7, 10), _V(0, 0, -20), _V(0, -12, 0), _V(-1, 0, 0), walls[4]));
    // Three screens side by side on the front wall, the panels and displays on the desk.
    for (int i = 0; i < 3; ++i)
        room.groups.push_back(Panel(_V(-6.0 + 4.0 * i, 1.8, 9.28), _V(3.8, 0, 0), _V(0, -3.8, 0), s.addTexture(1024, 7u * i)));
    for (int i = 0; i < 4; ++i)
        room.groups.push_back(Panel(_V(-0.9 + 0.45 * i, -1.6, -5.3), _V(0.4, 0, 0), _V(0, -0.35, 0.1),
                                    s.addTexture(i % 2 ? 256 : 512, 11u * i)));
    s.meshes.push_back(room);
    s.view.camera.position = _V(0, -1.55, -7);
    s.view.light.towardsLight = _V(0.3, 1.0, -0.4);
    return s;
}

void BM_Render3DControlRoom(benchmark::State &state)
{
    Scene scene = ControlRoomSizedScene();
    headless::Surface image(1920, 1080);
    std::string error;
    if (!headless::Render(scene.view, scene.meshes, scene.textures, image, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    uint32_t frame = 0;
    for (auto _ : state) {
        // What a module does between two pictures: draws on its textures.
        for (size_t i = 5; i < scene.surfaces.size(); ++i)
            scene.surfaces[i]->data()[frame % 256] ^= 0x00FFFFFFu;
        ++frame;
        headless::Render(scene.view, scene.meshes, scene.textures, image, &error);
        benchmark::DoNotOptimize(image.data());
    }
}
BENCHMARK(BM_Render3DControlRoom)->Unit(benchmark::kMillisecond)->MinTime(3.0)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
