// Host colour values: red + green x 256 + blue x 65536 (0x00BBGGRR).

#ifndef KORVANE_MODULE_COLOUR_H
#define KORVANE_MODULE_COLOUR_H

#include "OrbiterAPI.h"

namespace korvane {

constexpr DWORD HostColour(DWORD r, DWORD g, DWORD b) { return r + g * 256u + b * 65536u; }

} // namespace korvane

#endif // KORVANE_MODULE_COLOUR_H
