// The control room's surface textures, painted from a fixed recipe so that
// every run gives the same pixels: the exterior's facade with a window bay,
// the floor's carpet tile and the walls' panel. Pixels are 0xAARRGGBB words,
// top row first.

#ifndef KORVANE_TOOLS_MAKE_MESHES_ROOM_TEXTURES_H
#define KORVANE_TOOLS_MAKE_MESHES_ROOM_TEXTURES_H

#include <cstdint>
#include <vector>

namespace meshgen {

struct Picture {
    int width, height;
    std::vector<uint32_t> pixels;
};

Picture FacadeTexture(); // one bay of the facade: concrete, a window
Picture FloorTexture();  // one carpet tile
Picture WallTexture();   // one wall panel with its seams

} // namespace meshgen

#endif // KORVANE_TOOLS_MAKE_MESHES_ROOM_TEXTURES_H
