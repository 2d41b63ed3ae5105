// The renderer behind the cockpit and external cameras, on synthetic
// stand-ins for the building's meshes: screens at the screen meshes'
// offsets, a desk whose groups show the MFD displays, a box of the
// building's footprint on the ground.

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "headless/cockpit_camera.h"
#include "headless/mfd_display.h"
#include "headless/renderer.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"
#include "headless/vecmath.h"
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

// The weighted centre of the pixels close to colour (host 0x00BBGGRR); false
// if there are none.
bool CentreOfColour(const Surface &image, DWORD colour, double *x, double *y, int *count)
{
    double sx = 0, sy = 0;
    int n = 0;
    for (int j = 0; j < image.height(); ++j)
        for (int i = 0; i < image.width(); ++i) {
            DWORD c = image.Pixel(i, j);
            if (std::abs(Red(c) - Red(colour)) <= 3 && std::abs(Green(c) - Green(colour)) <= 3 &&
                std::abs(Blue(c) - Blue(colour)) <= 3) {
                sx += i + 0.5;
                sy += j + 0.5;
                ++n;
            }
        }
    *count = n;
    if (n == 0)
        return false;
    *x = sx / n;
    *y = sy / n;
    return true;
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
        double x = 0, y = 0, px = 0, py = 0;
        int n = 0;
        ASSERT_TRUE(CentreOfColour(image, colours[i], &x, &y, &n)) << "screen " << i;
        ASSERT_TRUE(camera.Project(offsets[i], kWidth, kHeight, &px, &py));
        // 3.6 m at 16.28 m: 0.2211 / 0.72794 x 1080 = 328 pixels a side.
        EXPECT_NEAR(n, 328 * 328, 328 * 4) << "screen " << i << " is whole";
        EXPECT_NEAR(x, px, 1.0) << "screen " << i;
        EXPECT_NEAR(y, py, 1.0) << "screen " << i;
        xs[i] = x;
    }
    EXPECT_LT(xs[1], xs[0]);
    EXPECT_LT(xs[0], xs[2]);

    // The displays' green text, where each display projects: 0.3 m at 1.7 m
    // is 0.1765 / 0.72794 x 1080 = 262 pixels a side about
    // (960 -/+ 0.55 / 1.7 / 0.64706 x 960, 540 + 0.25 / 1.7 / 0.36397 x 540)
    // = (960 -/+ 480, 758).
    for (int side = 0; side < 2; ++side) {
        int cx = side == 0 ? 480 : 1440, green = 0;
        for (int y = 758 - 120; y < 758 + 120; ++y)
            for (int x = cx - 120; x < cx + 120; ++x) {
                DWORD c = image.Pixel(x, y);
                green += Green(c) > 100 && Red(c) < 60 && Blue(c) < 60;
            }
        EXPECT_GT(green, 200) << "MFD " << side;
    }
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

} // namespace
