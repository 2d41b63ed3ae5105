#include "tools/make_meshes/room_textures.h"

#include <algorithm>

namespace meshgen {

namespace {

constexpr int kSide = 128; // every surface texture is 128 x 128 pixels

// A fixed pseudo-random value 0..255 per pixel and seed (a 32-bit integer
// hash), the texture's grain.
int Grain(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<int>((h ^ (h >> 16)) & 0xFFu);
}

uint32_t Rgb(int r, int g, int b)
{
    auto clamp = [](int v) { return static_cast<uint32_t>(std::min(255, std::max(0, v))); };
    return 0xFF000000u | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

// A base colour with grain of +-amplitude/2.
uint32_t Grainy(int r, int g, int b, int x, int y, uint32_t seed, int amplitude)
{
    int d = (Grain(x, y, seed) * amplitude) / 255 - amplitude / 2;
    return Rgb(r + d, g + d, b + d);
}

Picture Blank() { return Picture{kSide, kSide, std::vector<uint32_t>(static_cast<size_t>(kSide) * kSide)}; }

} // namespace

Picture FacadeTexture()
{
    Picture p = Blank();
    // The window: x 24..103, y 20..91 (glass inside a 4-pixel frame); a
    // sill below it.
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint32_t c = Grainy(200, 198, 190, x, y, 1, 24);
            bool frame = x >= 24 && x < 104 && y >= 20 && y < 92;
            bool glass = x >= 28 && x < 100 && y >= 24 && y < 88;
            bool mullion = glass && (x == 63 || x == 64);
            if (frame)
                c = Rgb(70, 74, 80);
            if (glass && !mullion) {
                // Sky reflected towards the top of the pane.
                int shade = 40 + (88 - y) / 2;
                c = Grainy(shade, shade + 18, shade + 40, x, y, 2, 6);
            }
            if (y >= 92 && y < 97 && x >= 20 && x < 108)
                c = Rgb(150, 148, 142); // sill
            if (y >= 124)
                c = Rgb(160, 158, 150); // joint between storeys
            p.pixels[static_cast<size_t>(y) * kSide + static_cast<size_t>(x)] = c;
        }
    return p;
}

Picture FloorTexture()
{
    Picture p = Blank();
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint32_t c = Grainy(46, 54, 70, x, y, 3, 30);
            if (x < 2 || y < 2 || x >= kSide - 2 || y >= kSide - 2)
                c = Rgb(30, 34, 44); // the tile's edge
            p.pixels[static_cast<size_t>(y) * kSide + static_cast<size_t>(x)] = c;
        }
    return p;
}

Picture WallTexture()
{
    Picture p = Blank();
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint32_t c = Grainy(150, 150, 142, x, y, 4, 10);
            if (x < 3 || x >= kSide - 3 || y < 3 || y >= kSide - 3)
                c = Rgb(96, 96, 92); // seams between panels
            else if (y >= 100 && y < 104)
                c = Rgb(120, 120, 114); // a rail across the panel
            p.pixels[static_cast<size_t>(y) * kSide + static_cast<size_t>(x)] = c;
        }
    return p;
}

} // namespace meshgen
