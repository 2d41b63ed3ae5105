// The renderer behind the cockpit and external cameras, on synthetic
// stand-ins for the building's meshes (screens at the screen meshes'
// offsets, a desk whose groups show the MFD displays, a box of the
// building's footprint on the ground), and the building itself as the
// simulator loads it, seen through the vessel view that the preview and the
// live server draw.

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "headless/cockpit_camera.h"
#include "headless/mfd_display.h"
#include "headless/renderer.h"
#include "headless/simulator.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"
#include "headless/vecmath.h"
#include "headless/vessel_view.h"
#include "headless/view_scene.h"
#include "render_scenes.h"

namespace {

using namespace rendertest;
using headless::RenderGroup;
using headless::RenderMesh;
using headless::Surface;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

headless::VcCamera BuildingLimits()
{
    headless::VcCamera c;
    c.rotLeft = c.rotRight = c.rotUp = c.rotDown = headless::kPi;
    return c;
}

// The pixels close to a colour (host 0x00BBGGRR): how many, their centre
// and the box about them.
struct Region {
    int count = 0;
    double x = 0, y = 0;
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive
};

Region RegionOfColour(const Surface &image, DWORD colour)
{
    Region r;
    double sx = 0, sy = 0;
    for (int j = 0; j < image.height(); ++j)
        for (int i = 0; i < image.width(); ++i) {
            DWORD c = image.Pixel(i, j);
            if (std::abs(Red(c) - Red(colour)) > 3 || std::abs(Green(c) - Green(colour)) > 3 ||
                std::abs(Blue(c) - Blue(colour)) > 3)
                continue;
            if (r.count == 0) {
                r.left = r.right = i;
                r.top = r.bottom = j;
            }
            r.left = std::min(r.left, i);
            r.right = std::max(r.right, i);
            r.top = std::min(r.top, j);
            r.bottom = std::max(r.bottom, j);
            sx += i + 0.5;
            sy += j + 0.5;
            ++r.count;
        }
    if (r.count > 0) {
        r.x = sx / r.count;
        r.y = sy / r.count;
    }
    return r;
}

// Green text on black: the MFD displays' lines, in a box about (cx, cy).
int GreenTextPixels(const Surface &image, int cx, int cy, int half)
{
    int green = 0;
    for (int y = cy - half; y < cy + half; ++y)
        for (int x = cx - half; x < cx + half; ++x) {
            DWORD c = image.Pixel(x, y);
            green += Green(c) > 100 && Red(c) < 60 && Blue(c) < 60;
        }
    return green;
}

TEST(ViewsTest, FromTheMainDeskTheScreensStandInOrderAndTheMfdDisplaysShowOnTheDesk)
{
    // Each screen mesh: an upright 3.6 m square about its origin, at the
    // screen meshes' offsets, on a texture of its own colour, which the
    // module would draw on.
    const VECTOR3 offsets[3] = {_V(-1.25, -0.1, 9.28), _V(-5.25, -0.1, 9.28), _V(2.75, -0.1, 9.28)};
    const DWORD colours[3] = {0x0000C0, 0x00C000, 0xC00000}; // screen 0 red, 1 green, 2 blue
    SURFHANDLE screens[3] = {};
    headless::ViewTextures textures;
    std::vector<RenderMesh> meshes(4);
    for (int i = 0; i < 3; ++i) {
        screens[i] = headless::CreateSurface(64, 64);
        headless::SurfaceFromHandle(screens[i])->Fill(colours[i]);
        meshes[i].offset = offsets[i];
        meshes[i].groups.push_back(FacingSquare(0, 0, 0, 3.6, Glowing(1, 1, 1), textures.add(screens[i])));
    }
    // The desk (mesh 3): group 0 a plain top, groups 1 and 2 the MFD
    // displays, facing the eye, below and either side of the screens.
    headless::RenderMaterial desk;
    desk.diffuse = {0.4, 0.4, 0.45, 1};
    meshes[3].groups.push_back(Quad(_V(-1.5, -1.6, -5.0), _V(1.5, -1.6, -5.0), _V(-1.5, -1.6, -5.6),
                                    _V(1.5, -1.6, -5.6), desk));
    meshes[3].groups.push_back(FacingSquare(-0.55, -1.8, -5.3, 0.3, Glowing(1, 1, 1)));
    meshes[3].groups.push_back(FacingSquare(0.55, -1.8, -5.3, 0.3, Glowing(1, 1, 1)));

    headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
    headless::MfdModel::instance().reset();
    SURFHANDLE displays[2] = {headless::MfdDisplays::instance().paint(0), headless::MfdDisplays::instance().paint(1)};
    headless::ShowMfdDisplays({{0, 3, 1}, {1, 3, 2}}, displays, 2, meshes, textures);

    headless::ViewCamera camera = headless::CockpitCamera(_V(0, -1.55, -7), BuildingLimits(), headless::HeadTurn{});
    headless::RenderView view = headless::CockpitView(camera);
    Surface image(kWidth, kHeight);
    std::string error;
    ASSERT_TRUE(headless::Render(view, meshes, textures.textures(), image, &error)) << error;
    KeepPicture(image, "cockpit_position0");

    double xs[3];
    for (int i = 0; i < 3; ++i) {
        double px = 0, py = 0;
        Region screen = RegionOfColour(image, colours[i]);
        ASSERT_GT(screen.count, 0) << "screen " << i;
        ASSERT_TRUE(camera.Project(offsets[i], kWidth, kHeight, &px, &py));
        // 3.6 m at 16.28 m: 0.2211 / 0.72794 x 1080 = 328 pixels a side.
        EXPECT_NEAR(screen.count, 328 * 328, 328 * 4) << "screen " << i << " is whole";
        EXPECT_NEAR(screen.x, px, 1.0) << "screen " << i;
        EXPECT_NEAR(screen.y, py, 1.0) << "screen " << i;
        xs[i] = screen.x;
    }
    EXPECT_LT(xs[1], xs[0]);
    EXPECT_LT(xs[0], xs[2]);

    // The displays' green text, where each display projects: 0.3 m at 1.7 m
    // is 0.1765 / 0.72794 x 1080 = 262 pixels a side about
    // (960 -/+ 0.55 / 1.7 / 0.64706 x 960, 540 + 0.25 / 1.7 / 0.36397 x 540)
    // = (960 -/+ 480, 758).
    EXPECT_GT(GreenTextPixels(image, 480, 758, 120), 200) << "MFD 0";
    EXPECT_GT(GreenTextPixels(image, 1440, 758, 120), 200) << "MFD 1";
    headless::MfdDisplays::instance().reset();
    for (SURFHANDLE s : screens)
        headless::DestroySurface(s);
}

TEST(ViewsTest, FromOutsideTheBuildingStandsOnTheGroundUnderTheSky)
{
    // A box of the building's footprint, 10 m about the origin, from the
    // ground (y = -5) to y = 10, its faces turned outwards.
    headless::RenderMaterial wall;
    wall.diffuse = {0.8, 0.75, 0.7, 1};
    wall.ambient = wall.diffuse;
    RenderMesh box;
    const double r = 10, lo = -5, hi = 10;
    auto face = [&](VECTOR3 tl, VECTOR3 tr, VECTOR3 bl, VECTOR3 br) { box.groups.push_back(Quad(tl, tr, bl, br, wall)); };
    face(_V(-r, hi, -r), _V(r, hi, -r), _V(-r, lo, -r), _V(r, lo, -r)); // back, seen from -z
    face(_V(r, hi, r), _V(-r, hi, r), _V(r, lo, r), _V(-r, lo, r));     // front, seen from +z
    face(_V(-r, hi, r), _V(-r, hi, -r), _V(-r, lo, r), _V(-r, lo, -r)); // left, seen from -x
    face(_V(r, hi, -r), _V(r, hi, r), _V(r, lo, -r), _V(r, lo, r));     // right, seen from +x
    face(_V(-r, hi, r), _V(r, hi, r), _V(-r, hi, -r), _V(r, hi, -r));   // roof, seen from above

    VECTOR3 centre;
    double radius = 0;
    headless::BoundingSphere({box}, &centre, &radius);
    headless::RenderView view = headless::ExternalView(headless::ExternalCamera(centre, radius), -5.0);
    Surface image(960, 540);
    std::string error;
    ASSERT_TRUE(headless::Render(view, {box}, {}, image, &error)) << error;
    KeepPicture(image, "exterior_box");

    // Sky (0.53, 0.69, 0.88) x 255 above, greenish ground below, the
    // building's walls (redder than blue) in the middle.
    EXPECT_EQ(image.Pixel(5, 5), 0xE0B087u);
    EXPECT_EQ(image.Pixel(954, 5), 0xE0B087u);
    for (int x : {5, 954}) {
        DWORD ground = image.Pixel(x, 534);
        EXPECT_GT(Green(ground), Red(ground));
        EXPECT_GT(Green(ground), Blue(ground));
    }
    DWORD middle = image.Pixel(480, 270);
    EXPECT_GT(Red(middle), Blue(middle));
}

// Fills an area's rectangle on its texture, one colour (host 0x00BBGGRR) per
// quarter: top left, top right, bottom left, bottom right.
void FillQuarters(const headless::VcArea &area, const DWORD colours[4])
{
    Surface *texture = headless::SurfaceFromHandle(area.texture);
    ASSERT_NE(texture, nullptr) << area.id;
    const LONG midX = (area.rect.left + area.rect.right) / 2, midY = (area.rect.top + area.rect.bottom) / 2;
    for (LONG y = area.rect.top; y < area.rect.bottom; ++y)
        for (LONG x = area.rect.left; x < area.rect.right; ++x)
            texture->SetPixel(x, y, colours[(y < midY ? 0 : 2) + (x < midX ? 0 : 1)]);
}

// The building as its module loads it from the stand-in's root, through the
// vessel view of the preview and the live server.
TEST(RoomViewTest, FromTheSeatTheScreensHangInOrderUprightAndWholeAboveTheMfdsAndTheirPanels)
{
    headless::SetSketchpadMode(headless::SketchpadMode::RasterAndRecord);
    headless::Simulator sim(KORVANE_ROOT_DIR);
    std::string error;
    ASSERT_TRUE(sim.loadScenarioText("BEGIN_SHIPS\nHouston:Korvane\n  STATUS Landed Earth\nEND\nEND_SHIPS\n", &error));
    sim.openVisuals();
    ASSERT_TRUE(sim.loadCockpit(0));
    sim.frame(0.1); // the module's first drawing
    headless::VesselView view;
    // From outside only the room (seen from within) and the building are
    // drawn; the screens and the desk belong to the virtual cockpit.
    const std::vector<RenderMesh> &outside = view.meshes(*sim.focus(), headless::ViewKind::External);
    ASSERT_EQ(outside.size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(outside[i].groups.empty(), i >= 2) << "mesh " << i;

    const headless::ViewSpec seat; // position 0, straight ahead, 40 degrees
    Surface image(kWidth, kHeight);
    ASSERT_TRUE(view.render(*sim.focus(), seat, image, &error)) << error;
    // What the module draws next is shown: four colours on each screen, one
    // on each label panel, all glowing, so they reach the picture as they are.
    const DWORD quarters[3][4] = {{0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF},
                                  {0xFF00FF, 0xFFFF00, 0x0080FF, 0x00FF80},
                                  {0x8000FF, 0xFF0080, 0x80FF00, 0xFF8000}};
    const headless::VirtualCockpit &cockpit = headless::VirtualCockpit::instance();
    for (int i = 0; i < 3; ++i)
        FillQuarters(*cockpit.area(i), quarters[i]);
    const DWORD panels[2][4] = {{0x5500FF, 0x5500FF, 0x5500FF, 0x5500FF}, {0xFF5500, 0xFF5500, 0xFF5500, 0xFF5500}};
    FillQuarters(*cockpit.area(300), panels[0]);
    FillQuarters(*cockpit.area(303), panels[1]);
    ASSERT_TRUE(view.render(*sim.focus(), seat, image, &error)) << error;
    KeepPicture(image, "room_from_the_seat");

    // Each 3.9 m screen 16.28 m ahead faces the eye: 3.9 / 16.28 / 0.72794
    // x 1080 = 355.42 pixels a side, its centre 2.0 m above the eye (540 -
    // 2.0 / 16.28 / 0.36397 x 540 = 357.73), the screens 4 m apart (960 -/+
    // 4 / 16.28 / 0.64706 x 960 = 960 -/+ 364.53): 1 left, 0 middle, 2 right.
    const double side = 355.42, centreX[3] = {960.0, 595.47, 1324.53}, centreY = 357.73;
    const int third[3] = {1, 0, 2};
    for (int i = 0; i < 3; ++i) {
        double x = 0;
        for (int q = 0; q < 4; ++q) {
            SCOPED_TRACE("screen " + std::to_string(i) + " quarter " + std::to_string(q));
            Region r = RegionOfColour(image, quarters[i][q]);
            // Whole (only its antialiased rim lost), neither mirrored nor upside down.
            EXPECT_GT(r.count, 0.95 * side * side / 4);
            EXPECT_LT(r.count, 1.01 * side * side / 4);
            EXPECT_NEAR(r.x, centreX[i] + (q % 2 ? side : -side) / 4, 1.5);
            EXPECT_NEAR(r.y, centreY + (q < 2 ? -side : side) / 4, 1.5);
            x += r.x / 4;
        }
        EXPECT_EQ(static_cast<int>(x / (kWidth / 3)), third[i]) << "screen " << i;
    }
    // The label panels below the screens' bottom edge (357.73 + 177.71), in
    // the left and right thirds, not cut by the picture's edge, and every
    // button's click zone on its panel as the picture shows it.
    for (int k = 0; k < 2; ++k) {
        Region r = RegionOfColour(image, panels[k][0]);
        EXPECT_GT(r.top, 535.44) << k;
        EXPECT_TRUE(r.left > 1 && r.right < kWidth - 2 && r.bottom < kHeight - 2) << k;
        EXPECT_EQ(static_cast<int>(r.x / (kWidth / 3)), 2 * k) << k;
    }
    const headless::ViewCamera camera = view.camera(*sim.focus(), seat);
    int zones = 0;
    for (const headless::VcArea &a : cockpit.areas()) {
        double x = 0, y = 0;
        if (a.zone == headless::VcArea::Zone::None ||
            !camera.Project(headless::VirtualCockpit::zoneCentre(a), kWidth, kHeight, &x, &y))
            continue;
        const DWORD panel = panels[a.id >= 200 ? 0 : 1][0], seen = image.Pixel(static_cast<int>(x), static_cast<int>(y));
        EXPECT_TRUE(std::abs(Red(seen) - Red(panel)) <= 3 && std::abs(Blue(seen) - Blue(panel)) <= 3) << a.id;
        ++zones;
    }
    EXPECT_EQ(zones, 30);
    // Inboard of the panels the MFD displays show their lines: their centres
    // (panel coordinates (0.59, 0.19) left, (-0.21, 0.19) right) lie at
    // (-0.30946, -0.25553, 1.76245) and (0.20934, -0.25553, 1.76237) from the
    // eye, at pixels (699.5, 755.1) and (1136.2, 755.1).
    EXPECT_GT(GreenTextPixels(image, 700, 755, 160), 200) << "MFD 0";
    EXPECT_GT(GreenTextPixels(image, 1136, 755, 160), 200) << "MFD 1";
    sim.closeVisuals();
    headless::MfdDisplays::instance().reset();
}

} // namespace
