// The control room's committed meshes as a user's camera meets them: they
// are what the generator writes, every triangle faces the way its normal
// says, the room is closed and seen from inside from every cockpit position,
// the screens and MFDs stand where the cockpit's numbers put them, nothing
// hides them from the main desk, and every button frame drawn on a label
// panel lies on its click zone.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "cockpit/area_ids.h"
#include "cockpit/cockpit_layout.h"
#include "headless/mesh_file.h"
#include "headless/meshes.h"
#include "headless/sketchpad_recorder.h"
#include "headless/texture_point.h"
#include "headless/vc.h"
#include "recording.h"
#include "screens/screen_redraw.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using headless::MeshFile;
using headless::MeshGroup;

struct V {
    double x, y, z;
};
V operator-(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V operator+(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V operator*(V a, double k) { return {a.x * k, a.y * k, a.z * k}; }
double Dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
// The frame is left-handed: for a triangle clockwise from its front, the
// cross product of its edges (computed by the usual components) points to
// the front.
V Cross(V a, V b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(V a) { return std::sqrt(Dot(a, a)); }

const char *const kMeshFiles[6] = {"Korvane.msh",    "building.msh",   "ScreenUpd0.msh",
                                   "ScreenUpd1.msh", "ScreenUpd2.msh", "Flight_Dir_Screen.msh"};
// Where the vessel adds them, in that order.
const V kOffsets[6] = {{0, 0, 0}, {0, 0, 0}, {-1.25, -0.1, 9.28}, {-5.25, -0.1, 9.28}, {2.75, -0.1, 9.28}, {0, 0, -0.001}};

// The cockpit positions' eyes.
const V kSeat{0, -1.55, -7}, kForwardPlace{0, -1, 4}, kGalleryPlace{0, 1.7, -8.5};

MeshFile Committed(const char *file)
{
    MeshFile mesh;
    std::string error;
    EXPECT_TRUE(headless::ReadMeshFile(std::string(KORVANE_SOURCE_DIR) + "/addon/Meshes/Korvane/" + file, &mesh, &error))
        << file << ": " << error;
    return mesh;
}

V At(const headless::MeshVertex &v, V offset) { return V{v.x, v.y, v.z} + offset; }

struct Triangle {
    V a, b, c, front; // front: unit normal
    int mesh, group;
};

// Every triangle of the building's six meshes, placed in the vessel frame.
std::vector<Triangle> Scene()
{
    std::vector<Triangle> scene;
    for (int m = 0; m < 6; ++m) {
        MeshFile mesh = Committed(kMeshFiles[m]);
        for (size_t g = 0; g < mesh.groups.size(); ++g) {
            const MeshGroup &group = mesh.groups[g];
            for (size_t t = 0; t + 2 < group.indices.size(); t += 3) {
                Triangle tri{At(group.vertices[group.indices[t]], kOffsets[m]),
                             At(group.vertices[group.indices[t + 1]], kOffsets[m]),
                             At(group.vertices[group.indices[t + 2]], kOffsets[m]),
                             {0, 0, 0},
                             m,
                             static_cast<int>(g)};
                V n = Cross(tri.b - tri.a, tri.c - tri.a);
                tri.front = n * (1.0 / Length(n));
                scene.push_back(tri);
            }
        }
    }
    return scene;
}

struct Hit {
    double distance = 1e30;
    const Triangle *triangle = nullptr;
};

// The nearest triangle along the ray (either side of it), Moeller-Trumbore
// with a little slack at the edges. Of triangles met at the same distance
// (an edge between two faces) the one facing the ray counts, as a renderer
// that culls back faces shows it.
Hit Cast(const std::vector<Triangle> &scene, V from, V direction)
{
    constexpr double kSlack = 1e-9, kSameDistance = 1e-9;
    Hit hit;
    for (const Triangle &t : scene) {
        V e1 = t.b - t.a, e2 = t.c - t.a;
        V p = Cross(direction, e2);
        double det = Dot(e1, p);
        if (std::fabs(det) < 1e-12)
            continue;
        V s = from - t.a;
        double u = Dot(s, p) / det;
        if (u < -kSlack || u > 1 + kSlack)
            continue;
        V q = Cross(s, e1);
        double v = Dot(direction, q) / det;
        if (v < -kSlack || u + v > 1 + kSlack)
            continue;
        double d = Dot(e2, q) / det;
        if (d <= 1e-6)
            continue;
        const bool facing = Dot(t.front, direction) < 0.0;
        const bool nearer = d < hit.distance - kSameDistance;
        const bool tie = !nearer && d < hit.distance + kSameDistance;
        if (nearer || (tie && facing && Dot(hit.triangle->front, direction) >= 0.0)) {
            hit.distance = d;
            hit.triangle = &t;
        }
    }
    return hit;
}

TEST(RoomMeshesTest, TheCommittedFilesAreWhatTheGeneratorWrites)
{
    const fs::path out = fs::temp_directory_path() / ("korvane-make-meshes-" + std::to_string(::getpid()));
    fs::remove_all(out);
    const std::string command = std::string("'") + KORVANE_MAKE_MESHES + "' '" + out.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const fs::path addon = fs::path(KORVANE_SOURCE_DIR) / "addon";
    std::set<std::string> generated, committed;
    for (const char *folder : {"Meshes/Korvane", "Textures/Korvane"}) {
        for (const auto &e : fs::directory_iterator(out / folder))
            generated.insert(std::string(folder) + "/" + e.path().filename().string());
        for (const auto &e : fs::directory_iterator(addon / folder))
            committed.insert(std::string(folder) + "/" + e.path().filename().string());
    }
    EXPECT_EQ(generated, committed);
    EXPECT_EQ(generated.count("Meshes/Korvane/Flight_Dir_Screen.msh"), 1u);
    auto contents = [](const fs::path &p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    };
    for (const std::string &file : generated)
        EXPECT_TRUE(contents(out / file) == contents(addon / file)) << file << " differs from the generator's";
    fs::remove_all(out);
}

TEST(RoomMeshesTest, EveryTriangleFacesTheWayItsNormalsSay)
{
    std::vector<const char *> files(std::begin(kMeshFiles), std::end(kMeshFiles));
    files.push_back("Site.msh"); // the tracking network's nodes
    for (const char *file : files) {
        MeshFile mesh = Committed(file);
        ASSERT_FALSE(mesh.groups.empty()) << file;
        for (const MeshGroup &group : mesh.groups) {
            ASSERT_FALSE(group.indices.empty()) << file << " " << group.label;
            for (size_t t = 0; t + 2 < group.indices.size(); t += 3) {
                const headless::MeshVertex &a = group.vertices[group.indices[t]], &b = group.vertices[group.indices[t + 1]],
                                           &c = group.vertices[group.indices[t + 2]];
                V n = Cross(V{b.x, b.y, b.z} - V{a.x, a.y, a.z}, V{c.x, c.y, c.z} - V{a.x, a.y, a.z});
                ASSERT_GT(Length(n), 1e-8) << file << " " << group.label << ": a degenerate triangle";
                for (const headless::MeshVertex *v : {&a, &b, &c}) {
                    EXPECT_NEAR(Length({v->nx, v->ny, v->nz}), 1.0, 1e-5) << file << " " << group.label;
                    EXPECT_GT(Dot(n, {v->nx, v->ny, v->nz}), 0.0)
                        << file << " " << group.label << ": triangle " << t / 3 << " is wound against its normal";
                }
            }
        }
    }
}

TEST(RoomMeshesTest, TheNetworksSiteStandsOnItsFootWithinItsClassSize)
{
    // Config/Vessels/KorvaneSite.cfg: Size = 12, the vessel's radius (m).
    MeshFile site = Committed("Site.msh");
    double lowest = 1e9, farthest = 0.0;
    for (const MeshGroup &group : site.groups)
        for (const headless::MeshVertex &v : group.vertices) {
            lowest = std::min(lowest, v.y);
            farthest = std::max(farthest, Length({v.x, v.y, v.z}));
        }
    EXPECT_EQ(lowest, 0.0);
    EXPECT_LE(farthest, 12.0);
    EXPECT_GT(farthest, 6.0);
}

TEST(RoomMeshesTest, ScreensHangSideBySideWithTheirWholeTextureFacingTheRoom)
{
    // Screen mesh i is added at offset i; seen from the desk, screen 1 is
    // on the left (centre x -4), 0 in the middle (0), 2 on the right (4).
    const double centres[3] = {0.0, -4.0, 4.0};
    for (int i = 0; i < 3; ++i) {
        MeshFile mesh = Committed(kMeshFiles[2 + i]);
        ASSERT_EQ(mesh.textures.size(), 1u);
        EXPECT_EQ(mesh.textures[0].path, "Korvane\\Screen" + std::to_string(i) + ".dds");
        EXPECT_TRUE(mesh.textures[0].dynamic);
        const MeshGroup &face = mesh.groups[0];
        EXPECT_EQ(face.texture, 1u);
        ASSERT_GE(face.material, 1u);
        const headless::MeshMaterial &glow = mesh.materials[face.material - 1];
        EXPECT_EQ(glow.emissive.r, 1.0);
        EXPECT_EQ(glow.emissive.g, 1.0);
        EXPECT_EQ(glow.emissive.b, 1.0);
        double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
        for (const headless::MeshVertex &v : face.vertices) {
            EXPECT_EQ(v.z, 0.0);
            EXPECT_EQ(v.nz, -1.0);
            minX = std::min(minX, v.x);
            maxX = std::max(maxX, v.x);
            minY = std::min(minY, v.y);
            maxY = std::max(maxY, v.y);
            // UV (0, 0) at the top left as the room sees it, (1, 1) bottom right.
            EXPECT_DOUBLE_EQ(v.u, (v.x - -0.7) / 3.9);
            EXPECT_DOUBLE_EQ(v.v, (2.5 - v.y) / 3.9);
        }
        EXPECT_EQ(minX, -0.7);
        EXPECT_EQ(maxX, 3.2);
        EXPECT_EQ(minY, -1.4);
        EXPECT_EQ(maxY, 2.5);
        EXPECT_NEAR((minX + maxX) / 2 + kOffsets[2 + i].x, centres[i], 1e-9);
        // From the forward place, looking straight ahead with 40 degrees of
        // view, the screen's centre is in the picture (at most 20 degrees
        // above the eye); from the seat the whole face is (below).
        const double centreY = (minY + maxY) / 2 + kOffsets[2 + i].y;
        EXPECT_LE((centreY - kForwardPlace.y) / (kOffsets[2 + i].z - kForwardPlace.z),
                  std::tan(20.0 * 3.14159265358979323846 / 180.0));
        // The bezel stays in front of the front wall (z 9.4).
        for (const MeshGroup &g : mesh.groups)
            for (const headless::MeshVertex &v : g.vertices)
                EXPECT_LT(v.z + kOffsets[2 + i].z, 9.4);
    }
}

// Panel coordinates (a across, b down, m) of a vessel point, and its
// distance in front of the panel plane.
struct OnPanel {
    double a, b, height;
};
OnPanel PanelCoordinatesOf(korvane::MfdSide side, V p)
{
    // The panels' tops at a = b = 0, and their axes, from the cockpit's
    // numbers: a along (c, 0, +-s), b along (+-s^2, -c, -s c).
    const double c = 0.9659258262890683, s = 0.25881904510252074;
    const bool left = side == korvane::kLeftMfd;
    const V origin = left ? V{-0.8920945, -1.622, -5.342756} : V{0.4249073, -1.622, -5.244479};
    const V across = left ? V{c, 0, s} : V{c, 0, -s};
    const V down = left ? V{s * s, -c, -s * c} : V{-s * s, -c, -s * c};
    const V d = p - origin;
    return {Dot(d, across), Dot(d, down), Dot(d, Cross(across, down))};
}

TEST(RoomMeshesTest, DisplaysAndLabelPanelsLieOnTheTiltedPanels)
{
    MeshFile desk = Committed("Flight_Dir_Screen.msh");
    ASSERT_EQ(desk.groups.size(), 5u);
    ASSERT_EQ(desk.textures.size(), 2u);
    for (const headless::MeshTexture &t : desk.textures)
        EXPECT_TRUE(t.dynamic) << t.path;
    struct Quad {
        int group;
        korvane::MfdSide side;
        double a0, a1;
        uint32_t texture;
    } const quads[] = {
        {1, korvane::kLeftMfd, 0.40, 0.78, 0},  // MFD 0's display, inboard of its labels
        {2, korvane::kRightMfd, -0.40, -0.02, 0}, // MFD 1's display
        {3, korvane::kLeftMfd, 0.0, 0.38, 1},   // MFD 0's labels, 256 pixels of 0.001484375 m
        {4, korvane::kRightMfd, 0.0, 0.38, 2},  // MFD 1's labels
    };
    for (const Quad &q : quads) {
        const MeshGroup &g = desk.groups[static_cast<size_t>(q.group)];
        EXPECT_EQ(g.texture, q.texture) << g.label;
        ASSERT_GE(g.material, 1u);
        EXPECT_EQ(desk.materials[g.material - 1].emissive.r, 1.0) << g.label;
        ASSERT_EQ(g.vertices.size(), 4u) << g.label;
        for (const headless::MeshVertex &v : g.vertices) {
            OnPanel at = PanelCoordinatesOf(q.side, At(v, kOffsets[5]));
            EXPECT_NEAR(at.height, 0.0, 2e-6) << g.label;
            EXPECT_TRUE(std::fabs(at.a - q.a0) < 2e-6 || std::fabs(at.a - q.a1) < 2e-6) << g.label << " a " << at.a;
            EXPECT_TRUE(std::fabs(at.b) < 2e-6 || std::fabs(at.b - 0.38) < 2e-6) << g.label << " b " << at.b;
            EXPECT_NEAR(v.u, (at.a - q.a0) / 0.38, 1e-5) << g.label;
            EXPECT_NEAR(v.v, at.b / 0.38, 1e-5) << g.label;
        }
    }
    // The desk's face stays behind the panels, so it never covers them.
    for (const headless::MeshVertex &v : desk.groups[0].vertices)
        for (korvane::MfdSide side : {korvane::kLeftMfd, korvane::kRightMfd}) {
            OnPanel at = PanelCoordinatesOf(side, At(v, kOffsets[5]));
            if (at.a > -0.45 && at.a < 0.83 && at.b > -0.05 && at.b < 0.45)
                EXPECT_LT(at.height, 1e-6);
        }
}

TEST(RoomMeshesTest, TheRoomIsClosedAndSeenFromInsideFromEveryPosition)
{
    const std::vector<Triangle> scene = Scene();
    for (V eye : {kSeat, kForwardPlace, kGalleryPlace}) {
        int rays = 0;
        for (int i = -8; i <= 8; ++i)
            for (int j = -8; j <= 8; ++j)
                for (int face = 0; face < 6; ++face) {
                    // Directions through the six faces of a cube about the eye.
                    double p = i / 8.0, q = j / 8.0;
                    V d = face == 0 ? V{1, p, q} : face == 1 ? V{-1, p, q} : face == 2 ? V{p, 1, q}
                        : face == 3 ? V{p, -1, q} : face == 4 ? V{p, q, 1} : V{p, q, -1};
                    d = d * (1.0 / Length(d));
                    Hit hit = Cast(scene, eye, d);
                    ++rays;
                    ASSERT_NE(hit.triangle, nullptr) << "a hole in the room seen from (" << eye.x << ", " << eye.y
                                                      << ", " << eye.z << ")";
                    EXPECT_LT(Dot(hit.triangle->front, d), 0.0)
                        << "from (" << eye.x << ", " << eye.y << ", " << eye.z << ") the back of "
                        << kMeshFiles[hit.triangle->mesh] << " group " << hit.triangle->group << " is seen";
                    // The exterior is never what the room shows.
                    EXPECT_NE(hit.triangle->mesh, 1);
                }
        EXPECT_EQ(rays, 17 * 17 * 6);
    }
}

TEST(RoomMeshesTest, FromTheDeskTheScreensAndMfdsAreInViewAndUnhidden)
{
    const std::vector<Triangle> scene = Scene();
    // A camera looking along +z with a 40 degree vertical field of view, 16:9.
    const double tanHalfHeight = std::tan(20.0 * 3.14159265358979323846 / 180.0);
    const double tanHalfWidth = tanHalfHeight * 16.0 / 9.0;
    struct Target {
        int mesh, group;
    } const targets[] = {{2, 0}, {3, 0}, {4, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}};
    for (const Target &target : targets) {
        MeshFile mesh = Committed(kMeshFiles[target.mesh]);
        const MeshGroup &g = mesh.groups[static_cast<size_t>(target.group)];
        V centre{0, 0, 0};
        for (const headless::MeshVertex &v : g.vertices)
            centre = centre + At(v, kOffsets[target.mesh]) * (1.0 / static_cast<double>(g.vertices.size()));
        std::vector<V> points = {centre};
        for (const headless::MeshVertex &v : g.vertices) // the corners, 2 % inside
            points.push_back(At(v, kOffsets[target.mesh]) + (centre - At(v, kOffsets[target.mesh])) * 0.02);
        for (V p : points) {
            V d = p - kSeat;
            EXPECT_GT(d.z, 0.0);
            EXPECT_LE(std::fabs(d.x / d.z), tanHalfWidth) << g.label << " out of view";
            EXPECT_LE(std::fabs(d.y / d.z), tanHalfHeight) << g.label << " out of view";
            Hit hit = Cast(scene, kSeat, d * (1.0 / Length(d)));
            ASSERT_NE(hit.triangle, nullptr);
            EXPECT_TRUE(hit.triangle->mesh == target.mesh && hit.triangle->group == target.group)
                << g.label << " of " << kMeshFiles[target.mesh] << " is hidden by " << kMeshFiles[hit.triangle->mesh]
                << " group " << hit.triangle->group;
        }
    }
}

TEST(RoomMeshesTest, TheRoomStandsOnTheGroundAndCarriesItsSeats)
{
    const std::vector<Triangle> scene = Scene();
    // The exterior stands on the touchdown plane (y -5) and encloses the interior.
    MeshFile outside = Committed("building.msh"), inside = Committed("Korvane.msh");
    double outMin[3] = {1e9, 1e9, 1e9}, outMax[3] = {-1e9, -1e9, -1e9};
    for (const MeshGroup &g : outside.groups)
        for (const headless::MeshVertex &v : g.vertices) {
            const double p[3] = {v.x, v.y, v.z};
            for (int k = 0; k < 3; ++k) {
                outMin[k] = std::min(outMin[k], p[k]);
                outMax[k] = std::max(outMax[k], p[k]);
            }
        }
    EXPECT_EQ(outMin[1], -5.0);
    for (const MeshGroup &g : inside.groups)
        for (const headless::MeshVertex &v : g.vertices) {
            const double p[3] = {v.x, v.y, v.z};
            for (int k = 0; k < 3; ++k) {
                EXPECT_GT(p[k], outMin[k]) << g.label;
                EXPECT_LT(p[k], outMax[k]) << g.label;
            }
            if (g.label == "Consoles" || g.label == "Console displays")
                EXPECT_LT(v.y, -2.0) << "a console would rise into the view of the screens";
        }
    // Looking straight down: the gallery's floor 1.7 m below position 2,
    // the main floor 1.8 m below position 1, the chair below the seat.
    Hit gallery = Cast(scene, kGalleryPlace, {0, -1, 0});
    ASSERT_NE(gallery.triangle, nullptr);
    EXPECT_NEAR(gallery.distance, 1.7, 1e-9);
    Hit floor = Cast(scene, kForwardPlace, {0, -1, 0});
    ASSERT_NE(floor.triangle, nullptr);
    EXPECT_NEAR(floor.distance, 1.8, 1e-9);
    Hit seat = Cast(scene, kSeat, {0, -1, 0});
    ASSERT_NE(seat.triangle, nullptr);
    EXPECT_LT(seat.distance, 1.25); // something to sit on above the floor
}

// Buildings made without a simulator, with the cockpit loaded and the label
// panels drawn, for the alignment of frames and click zones.
class PanelAlignmentTest : public testsupport::ModuleTest {};

TEST_F(PanelAlignmentTest, EveryDrawnButtonFrameLiesOnItsClickZone)
{
    Korvane *building = addBuilding("Houston");
    Vessel *vessel = headless::World::instance().vesselByName("Houston");
    headless::VirtualCockpit::instance().beginLoad(0);
    ASSERT_TRUE(korvane::LoadCockpit(*building, 0));

    // The cockpit's published table of button centres (6 decimals).
    const std::map<int, V> table = {
        {200, {-0.770604, -1.657845, -5.320146}}, {205, {-0.753203, -1.908759, -5.385087}},
        {206, {-0.641562, -1.657845, -5.285569}}, {211, {-0.624161, -1.908759, -5.350511}},
        {212, {-0.771229, -1.958942, -5.403838}}, {214, {-0.685202, -1.958942, -5.380787}},
        {213, {-0.599174, -1.958942, -5.357736}}, {100, {0.541427, -1.657845, -5.285644}},
        {105, {0.524026, -1.908759, -5.350585}},  {106, {0.670468, -1.657845, -5.320220}},
        {111, {0.653067, -1.908759, -5.385162}},  {112, {0.499038, -1.958942, -5.357811}},
        {114, {0.585066, -1.958942, -5.380862}},  {113, {0.671094, -1.958942, -5.403913}},
    };
    int checked = 0, fromTable = 0;
    for (int labelArea : {korvane::AID_LMFD_LABELS, korvane::AID_RMFD_LABELS}) {
        const int firstButton = labelArea == korvane::AID_LMFD_LABELS ? korvane::AID_LMFD_BTN : korvane::AID_RMFD_BTN;
        const headless::VcArea *area = headless::VirtualCockpit::instance().area(labelArea);
        ASSERT_NE(area, nullptr);
        ASSERT_NE(area->texture, nullptr);
        headless::ClearRecordings();
        ASSERT_TRUE(korvane::RedrawCockpitArea(*building, labelArea, area->texture));
        std::set<int> matched;
        for (const headless::DrawCall &frame :
             testsupport::Only(testsupport::LastCallsOn(area->texture), headless::DrawOp::Rectangle)) {
            if (frame.x1 - frame.x0 > 40)
                continue; // the panel's background
            // The frame's centre on the texture, through the desk mesh into the room.
            const double u = (frame.x0 + frame.x1) / 2.0 / 256.0, v = (frame.y0 + frame.y1) / 2.0 / 256.0;
            VECTOR3 p;
            ASSERT_TRUE(headless::TexturePointToVessel(*vessel, area->texture, u, v, &p)) << u << " " << v;
            // The nearest click zone of that MFD's buttons must be within 2 mm.
            int nearest = -1;
            double best = 1e9;
            for (int button = 0; button < korvane::kPanelButtons; ++button) {
                const headless::VcArea *zone = headless::VirtualCockpit::instance().area(firstButton + button);
                ASSERT_NE(zone, nullptr);
                VECTOR3 c = headless::VirtualCockpit::zoneCentre(*zone);
                double d = Length(V{p.x, p.y, p.z} - V{c.x, c.y, c.z});
                if (d < best) {
                    best = d;
                    nearest = firstButton + button;
                }
            }
            EXPECT_LT(best, 0.002) << "frame at (" << frame.x0 << ", " << frame.y0 << ") of area " << labelArea;
            EXPECT_TRUE(matched.insert(nearest).second) << "two frames on button " << nearest;
            auto listed = table.find(nearest);
            if (listed != table.end()) {
                EXPECT_LT(Length(V{p.x, p.y, p.z} - listed->second), 0.002) << nearest;
                ++fromTable;
            }
            ++checked;
        }
        EXPECT_EQ(matched.size(), 15u) << "area " << labelArea;
    }
    EXPECT_EQ(checked, 30);
    EXPECT_EQ(fromTable, 14);

    // A point of the texture that no triangle carries, and a texture of no mesh.
    VECTOR3 p;
    const headless::VcArea *left = headless::VirtualCockpit::instance().area(korvane::AID_LMFD_LABELS);
    EXPECT_FALSE(headless::TexturePointToVessel(*vessel, left->texture, 1.5, 0.5, &p));
    EXPECT_FALSE(headless::TexturePointToVessel(*vessel, building->drawSurface, 0.5, 0.5, &p));
    EXPECT_FALSE(headless::TexturePointToVessel(*vessel, nullptr, 0.5, 0.5, &p));
    // The texture's top-left corner is the panel's top-left corner (a = b = 0).
    ASSERT_TRUE(headless::TexturePointToVessel(*vessel, left->texture, 0.0, 0.0, &p));
    EXPECT_NEAR(p.x, -0.8920945, 1e-6);
    EXPECT_NEAR(p.y, -1.622, 1e-6);
    EXPECT_NEAR(p.z, -5.342756, 1e-6);
}

} // namespace
