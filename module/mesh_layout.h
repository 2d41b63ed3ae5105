// The building's meshes: their names as the host loads them (relative to
// Meshes/, with the simulator's backslash) and where the vessel places them.
// The mesh generator writes the files under these names and builds the
// geometry for these offsets, so the numbers live here once. Host-free.
//
// Offsets are in the vessel frame, metres (x right, y up, z forward).

#ifndef KORVANE_MODULE_MESH_LAYOUT_H
#define KORVANE_MODULE_MESH_LAYOUT_H

namespace korvane {

constexpr const char *kMainMeshName = "Korvane\\Korvane";         // the room's interior
constexpr const char *kBuildingMeshName = "Korvane\\building";    // the exterior
constexpr const char *kScreenMeshNames[3] = {"Korvane\\ScreenUpd0", "Korvane\\ScreenUpd1", "Korvane\\ScreenUpd2"};
constexpr const char *kFlightDirMeshName = "Korvane\\Flight_Dir_Screen"; // the desk with the MFDs

// Screen 0 hangs in the middle, 1 on the left and 2 on the right, as seen
// from the main desk.
constexpr double kScreenMeshOffsets[3][3] = {{-1.25, -0.1, 9.28}, {-5.25, -0.1, 9.28}, {2.75, -0.1, 9.28}};
constexpr double kFlightDirMeshOffset[3] = {0.0, 0.0, -0.001};

} // namespace korvane

#endif // KORVANE_MODULE_MESH_LAYOUT_H
