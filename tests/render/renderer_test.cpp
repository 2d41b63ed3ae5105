#include "headless/renderer.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>

#include "headless/surfaces.h"
#include "headless/vecmath.h"
#include "render_scenes.h"

namespace {

using namespace rendertest;
using headless::RenderGroup;
using headless::RenderTexture;
using headless::Surface;

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// A square of side 1 m, 2 m ahead: its half side subtends 0.5 / 2 = 0.25
// against tan 20 deg = 0.36397 for half the picture's height, so it covers
// 0.6869 x 120 = 82.4 pixels either side of the centre (160, 120),
// sideways too (the aspect ratio stretches both the same).
constexpr double kSquareZ = 2.0;
constexpr double kSquareSide = 1.0;
constexpr int kQuarter = 41; // the middle of each quarter of that square

void ExpectColour(const Surface &image, int x, int y, int r, int g, int b, int tolerance = 1)
{
    DWORD c = image.Pixel(x, y);
    EXPECT_NEAR(Red(c), r, tolerance) << "at (" << x << ", " << y << ")";
    EXPECT_NEAR(Green(c), g, tolerance) << "at (" << x << ", " << y << ")";
    EXPECT_NEAR(Blue(c), b, tolerance) << "at (" << x << ", " << y << ")";
}

// An 8 x 8 texture in four colours: red top-left, green top-right, blue
// bottom-left, white bottom-right.
std::vector<uint32_t> QuarteredTexture()
{
    std::vector<uint32_t> pixels(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels[y * 8 + x] = y < 4 ? (x < 4 ? 0xFFFF0000u : 0xFF00FF00u) : (x < 4 ? 0xFF0000FFu : 0xFFFFFFFFu);
    return pixels;
}

TEST(RendererTest, PictureIsNeitherMirroredNorUpsideDownAndUvOriginIsTheTopLeft)
{
    std::vector<uint32_t> pixels = QuarteredTexture();
    std::vector<RenderTexture> textures = {{8, 8, pixels.data()}};
    Surface image(kWidth, kHeight);
    RenderGroups(FrontView(), {FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(1, 1, 1), 0)}, textures, image);
    KeepPicture(image, "quartered");
    ExpectColour(image, 160 - kQuarter, 120 - kQuarter, 255, 0, 0);
    ExpectColour(image, 160 + kQuarter, 120 - kQuarter, 0, 255, 0);
    ExpectColour(image, 160 - kQuarter, 120 + kQuarter, 0, 0, 255);
    ExpectColour(image, 160 + kQuarter, 120 + kQuarter, 255, 255, 255);
    ExpectColour(image, 160, 120 - 100, 0, 0, 0); // above the square: background

    // Texture coordinates 0..0.5 on both axes show the top-left quarter
    // alone: (0, 0) is the texture's top-left corner.
    RenderGroup quarter = FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(1, 1, 1), 0);
    for (headless::RenderVertex &v : quarter.vertices) {
        v.u *= 0.5;
        v.v *= 0.5;
    }
    RenderGroups(FrontView(), {quarter}, textures, image);
    ExpectColour(image, 160 - kQuarter, 120 - kQuarter, 255, 0, 0);
    ExpectColour(image, 160 + kQuarter, 120 + kQuarter, 255, 0, 0);
}

TEST(RendererTest, ClockwiseFacesAreDrawnAndCounterClockwiseOnesCulled)
{
    // Two triangles seen from the eye: on the left top, bottom-right,
    // bottom-left (clockwise); on the right top, bottom-left, bottom-right
    // (counter-clockwise).
    RenderGroup cw, ccw;
    cw.vertices = {{-0.5, 0.3, 2, 0, 0, -1, 0, 0}, {-0.1, -0.3, 2, 0, 0, -1, 0, 0}, {-0.9, -0.3, 2, 0, 0, -1, 0, 0}};
    cw.indices = {0, 1, 2};
    cw.material = Glowing(1, 0, 0);
    ccw.vertices = {{0.5, 0.3, 2, 0, 0, -1, 0, 0}, {0.1, -0.3, 2, 0, 0, -1, 0, 0}, {0.9, -0.3, 2, 0, 0, -1, 0, 0}};
    ccw.indices = {0, 1, 2};
    ccw.material = Glowing(0, 1, 0);
    Surface image(kWidth, kHeight);
    RenderGroups(FrontView(), {cw, ccw}, {}, image);
    KeepPicture(image, "winding");
    // Centroids (-0.5, -0.1, 2) and (0.5, -0.1, 2): x = 160 -/+ 0.25 / 0.48530 x 160
    // = 160 -/+ 82.4, y = 120 + 0.05 / 0.36397 x 120 = 136.5.
    ExpectColour(image, 78, 136, 255, 0, 0);
    ExpectColour(image, 242, 136, 0, 0, 0);

    // A square seen from behind is not drawn: its corners run clockwise as
    // seen from beyond it, not from the eye.
    RenderGroup away = FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(1, 1, 1));
    away.indices = {0, 3, 1, 0, 2, 3};
    RenderGroups(FrontView(), {away}, {}, image);
    ExpectColour(image, 160, 120, 0, 0, 0);
}

TEST(RendererTest, NearerSurfacesHideFartherOnesWhateverTheDrawingOrder)
{
    RenderGroup nearRed = FacingSquare(0, 0, 2.0, 0.5, Glowing(1, 0, 0));
    RenderGroup farGreen = FacingSquare(0, 0, 4.0, 2.0, Glowing(0, 1, 0));
    Surface image(kWidth, kHeight);
    for (int order = 0; order < 2; ++order) {
        std::vector<RenderGroup> groups = order == 0 ? std::vector<RenderGroup>{nearRed, farGreen}
                                                     : std::vector<RenderGroup>{farGreen, nearRed};
        RenderGroups(FrontView(), groups, {}, image);
        ExpectColour(image, 160, 120, 255, 0, 0);
        // The near square covers 0.125 / 0.36397 x 120 = 41.2 pixels each
        // side, the far one 0.25 / 0.36397 x 120 = 82.4.
        ExpectColour(image, 160 + 60, 120, 0, 255, 0);
    }

    // A half-transparent square is blended over what lies behind it, even
    // when it comes first: 0.5 x red + 0.5 x green.
    RenderGroup veil = nearRed;
    veil.material.diffuse.a = 0.5;
    RenderGroups(FrontView(), {veil, farGreen}, {}, image);
    ExpectColour(image, 160, 120, 128, 128, 0);
}

TEST(RendererTest, EmissiveColourShowsInAnyLightAndLitColourFollowsTheLight)
{
    headless::RenderView view = FrontView();
    view.light.colour = {1, 1, 1, 1};
    view.light.ambient = {0.2, 0.2, 0.2, 1};
    headless::RenderMaterial lit;
    lit.diffuse = {0.8, 0.8, 0.8, 1};
    lit.ambient = {0.5, 0.5, 0.5, 1};
    headless::RenderMaterial glowing = Glowing(0, 0.6, 0);
    RenderGroup litSquare = FacingSquare(-0.5, 0, kSquareZ, 0.6, lit);
    RenderGroup glowingSquare = FacingSquare(0.5, 0, kSquareZ, 0.6, glowing);
    // The squares face the eye, normal (0, 0, -1); their centres are at
    // x = 160 -/+ 0.25 / 0.48530 x 160 = 160 -/+ 82.
    Surface image(kWidth, kHeight);

    // Light 60 degrees off the normal: 0.8 x cos 60 + 0.2 x 0.5 = 0.5.
    view.light.towardsLight = _V(0, std::sin(headless::DegreesToRadians(60)), -0.5);
    RenderGroups(view, {litSquare, glowingSquare}, {}, image);
    ExpectColour(image, 78, 120, 128, 128, 128);
    ExpectColour(image, 242, 120, 0, 153, 0); // 0.6 x 255

    // Light from behind the squares: ambient alone, 0.2 x 0.5 = 0.1.
    view.light.towardsLight = _V(0, 0, 1);
    RenderGroups(view, {litSquare, glowingSquare}, {}, image);
    ExpectColour(image, 78, 120, 26, 26, 26);
    ExpectColour(image, 242, 120, 0, 153, 0);

    // A texture is shown as it is on a white emissive material.
    std::vector<uint32_t> brown(16, 0xFFC86432u); // (200, 100, 50)
    RenderGroups(view, {FacingSquare(0, 0, kSquareZ, 0.6, Glowing(1, 1, 1), 0)}, {{4, 4, brown.data()}}, image);
    ExpectColour(image, 160, 120, 200, 100, 50);
}

TEST(RendererTest, ChangedTexturePixelsShowInTheNextPictureUnlessDeclaredUnchanging)
{
    std::vector<uint32_t> pixels(16 * 16, 0xFFFF0000u);
    Surface image(kWidth, kHeight);
    RenderGroup square = FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(1, 1, 1), 0);

    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data()}}, image);
    ExpectColour(image, 160, 120, 255, 0, 0);
    std::fill(pixels.begin(), pixels.end(), 0xFF0000FFu);
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data()}}, image);
    ExpectColour(image, 160, 120, 0, 0, 255);

    // Unchanging pixels are read once for their id.
    uint64_t id = headless::NewStaticTextureId();
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data(), id}}, image);
    ExpectColour(image, 160, 120, 0, 0, 255);
    std::fill(pixels.begin(), pixels.end(), 0xFF00FF00u);
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data(), id}}, image);
    ExpectColour(image, 160, 120, 0, 0, 255);
    uint64_t next = headless::NewStaticTextureId();
    EXPECT_NE(next, id);
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data(), next}}, image);
    ExpectColour(image, 160, 120, 0, 255, 0);

    // Changing pixels with a version are read again only when it changes
    // (or they lie elsewhere).
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data(), 0, 7}}, image);
    ExpectColour(image, 160, 120, 0, 255, 0);
    std::fill(pixels.begin(), pixels.end(), 0xFFFF0000u);
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data(), 0, 7}}, image);
    ExpectColour(image, 160, 120, 0, 255, 0);
    RenderGroups(FrontView(), {square}, {{16, 16, pixels.data(), 0, 8}}, image);
    ExpectColour(image, 160, 120, 255, 0, 0);
    std::vector<uint32_t> elsewhere(16 * 16, 0xFF0000FFu);
    RenderGroups(FrontView(), {square}, {{16, 16, elsewhere.data(), 0, 8}}, image);
    ExpectColour(image, 160, 120, 0, 0, 255);
}

TEST(RendererTest, TexturesSeenFromAfarAreAveragedNotAliased)
{
    // A 256 x 256 checker of single red and blue pixels on a square of
    // 0.2244 m at 2 m, 0.2244 x 120 / (2 x 0.36397) = 37 pixels a side: 6.9
    // texels a pixel. Averaged (mipmaps), it is an even purple; sampled
    // without averaging, pixels would fall on red or blue.
    std::vector<uint32_t> checker(256 * 256);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            checker[y * 256 + x] = (x + y) % 2 ? 0xFFFF0000u : 0xFF0000FFu;
    Surface image(kWidth, kHeight);
    RenderGroups(FrontView(), {FacingSquare(0, 0, 2.0, 0.2244, Glowing(1, 1, 1), 0)}, {{256, 256, checker.data()}},
                 image);
    for (int y = 120 - 12; y <= 120 + 12; ++y)
        for (int x = 160 - 12; x <= 160 + 12; ++x) {
            DWORD c = image.Pixel(x, y);
            ASSERT_NEAR(Red(c), 128, 2) << x << ", " << y;
            ASSERT_NEAR(Green(c), 0, 2) << x << ", " << y;
            ASSERT_NEAR(Blue(c), 128, 2) << x << ", " << y;
        }
}

TEST(RendererTest, EdgesAreAntialiased)
{
    // A white triangle whose long edge runs at a slant across black.
    RenderGroup tri;
    tri.vertices = {{-0.6, 0.5, 2, 0, 0, -1, 0, 0}, {0.6, 0.4, 2, 0, 0, -1, 0, 0}, {-0.6, -0.5, 2, 0, 0, -1, 0, 0}};
    tri.indices = {0, 1, 2};
    tri.material = Glowing(1, 1, 1);
    Surface image(kWidth, kHeight);
    RenderGroups(FrontView(), {tri}, {}, image);
    KeepPicture(image, "antialiased");
    int partial = 0, levels[256] = {};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            int v = Red(image.Pixel(x, y));
            levels[v] = 1;
            if (v > 0 && v < 255)
                ++partial;
        }
    // The slanted edge crosses about 150 rows, each with a pixel or two
    // only partly covered; without antialiasing there would be none.
    EXPECT_GT(partial, 100);
    int distinct = 0;
    for (int v = 1; v < 255; ++v)
        distinct += levels[v];
    EXPECT_GE(distinct, 3) << "at least 1/4, 2/4 and 3/4 coverage";
}

// A square parallel to the picture centred on p, side 0.2 m: seen from
// 3 m, with 50 degrees of view, it is 0.1 / 3 / tan 25 deg x 150 = 10.7
// pixels either side of its centre in a picture 300 pixels high.
RenderGroup MarkerAt(const headless::ViewCamera &camera, const VECTOR3 &p)
{
    const double h = 0.1;
    VECTOR3 r = camera.right() * h, u = camera.up * h;
    return Quad(p - r + u, p + r + u, p - r - u, p + r - u, Glowing(1, 0, 0));
}

TEST(RendererTest, ProjectionAndRayMeetWhereTheMarkerIsDrawn)
{
    headless::RenderView view = FrontView();
    // An eye somewhere, turned 30 degrees right and 10 degrees down.
    const double yaw = headless::DegreesToRadians(30), pitch = headless::DegreesToRadians(-10);
    view.camera.position = _V(1.0, 2.0, -3.0);
    view.camera.forward = _V(std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch));
    view.camera.up = _V(-std::sin(yaw) * std::sin(pitch), std::cos(pitch), -std::cos(yaw) * std::sin(pitch));
    view.camera.fovYDeg = 50.0;
    const int sizes[2][2] = {{400, 300}, {300, 500}};
    for (const auto &size : sizes) {
        const int w = size[0], h = size[1];
        Surface image(w, h);
        // Points near the centre and towards three corners of the picture.
        const double picks[4][2] = {{0.5, 0.5}, {0.1, 0.15}, {0.85, 0.2}, {0.2, 0.9}};
        for (const auto &pick : picks) {
            headless::Ray ray = view.camera.RayThrough(pick[0] * w, pick[1] * h, w, h);
            VECTOR3 p = ray.origin + ray.direction * 3.0;
            double px = 0, py = 0;
            ASSERT_TRUE(view.camera.Project(p, w, h, &px, &py));
            EXPECT_NEAR(px, pick[0] * w, 1e-9);
            EXPECT_NEAR(py, pick[1] * h, 1e-9);

            RenderGroups(view, {MarkerAt(view.camera, p)}, {}, image);
            double sum = 0, sx = 0, sy = 0;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    double weight = Red(image.Pixel(x, y)) / 255.0;
                    sum += weight;
                    sx += weight * (x + 0.5);
                    sy += weight * (y + 0.5);
                }
            ASSERT_GT(sum, 100.0) << "the marker is drawn";
            EXPECT_NEAR(sx / sum, px, 0.25) << w << " x " << h;
            EXPECT_NEAR(sy / sum, py, 0.25) << w << " x " << h;
        }
    }
}

TEST(RendererTest, GroundPlaneBelowTheSkyAtTheHorizon)
{
    headless::RenderView view = FrontView();
    view.background = {0.5, 0.7, 0.9, 1};
    view.ground.shown = true;
    view.ground.y = -5.0;
    view.ground.colour = {0.3, 0.4, 0.2, 1};
    view.light.towardsLight = _V(0, 1, 0);
    view.light.ambient = {0.2, 0.2, 0.2, 1};
    view.camera.farMetres = 1000.0;
    Surface image(kWidth, kHeight);
    RenderGroups(view, {}, {}, image);
    KeepPicture(image, "ground");
    ExpectColour(image, 160, 0, 128, 179, 230); // (0.5, 0.7, 0.9) x 255
    // Lit from straight above: 1.2 x (0.3, 0.4, 0.2) = (0.36, 0.48, 0.24).
    ExpectColour(image, 160, kHeight - 1, 92, 122, 61);
    // The ground ends at the far plane, 5 m below the eye at 1000 m:
    // 0.005 / 0.36397 x 120 = 1.6 pixels below the middle row.
    ExpectColour(image, 160, 118, 128, 179, 230);
    ExpectColour(image, 160, 124, 92, 122, 61);
}

TEST(RendererTest, BadMeshDataIsDrawnAsFarAsItGoes)
{
    Surface image(kWidth, kHeight);
    RenderGroup square = FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(0, 0, 1));
    // A second triangle naming a vertex that does not exist, and two
    // indices left over after the last whole triangle.
    RenderGroup broken = square;
    broken.indices = {0, 1, 3, 0, 3, 99, 0, 3};
    RenderGroups(FrontView(), {broken}, {}, image);
    ExpectColour(image, 160 + kQuarter, 120 - kQuarter, 0, 0, 255); // in triangle 0-1-3
    ExpectColour(image, 160 - kQuarter, 120 + kQuarter, 0, 0, 0);   // in the dropped 0-3-2

    // Textures that cannot be used draw the group untextured: an index
    // beyond the list, no pixels, no size, a size beyond any rasteriser.
    uint32_t onePixel = 0xFFFF0000u;
    const RenderTexture unusable[] = {{1, 1, nullptr}, {0, 1, &onePixel}, {1, -1, &onePixel}, {1 << 20, 1, &onePixel}};
    for (int texture = 0; texture < 5; ++texture) {
        RenderGroup textured = FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(1, 1, 1), texture);
        RenderGroups(FrontView(), {textured}, {unusable, unusable + 4}, image);
        ExpectColour(image, 160, 120, 255, 255, 255);
    }

    // A group without vertices, one with only indices, none at all.
    RenderGroup empty, indicesOnly;
    indicesOnly.indices = {0, 1, 2};
    RenderGroups(FrontView(), {empty, indicesOnly}, {}, image);
    ExpectColour(image, 160, 120, 0, 0, 0);
    std::string error;
    EXPECT_TRUE(headless::Render(FrontView(), {}, {}, image, &error)) << error;
}

TEST(RendererTest, PictureLargerThanTheRasteriserTakesIsRefused)
{
    Surface huge(30000, 2);
    huge.Fill(0x123456);
    std::string error;
    EXPECT_FALSE(headless::Render(FrontView(), {}, {}, huge, &error));
    EXPECT_NE(error.find("30000 x 2"), std::string::npos) << error;
    EXPECT_EQ(huge.Pixel(29999, 1), 0x123456u);
    // The renderer still works afterwards.
    Surface image(kWidth, kHeight);
    RenderGroups(FrontView(), {FacingSquare(0, 0, kSquareZ, kSquareSide, Glowing(1, 0, 0))}, {}, image);
    ExpectColour(image, 160, 120, 255, 0, 0);
}

// What a process without Mesa gets: no context, the same reason from every
// call, naming the missing package, and the picture left as it was. Exits
// 0 if so. Without Mesa's EGL library, glvnd's libEGL finds no vendor;
// without Mesa's drivers, EGL cannot start on the surfaceless platform.
void RenderWithout(const char *variable, const char *value, const char *package)
{
    setenv(variable, value, 1);
    Surface image(8, 8);
    image.Fill(0x00FF00);
    std::string first, second;
    bool available = headless::RendererAvailable(&first);
    bool rendered = headless::Render(FrontView(), {}, {}, image, &second);
    bool untouched = image.Pixel(4, 4) == 0x00FF00u;
    std::fprintf(stderr, "[%s]\n", second.c_str());
    bool named = first.find(package) != std::string::npos;
    std::exit(!available && !rendered && untouched && named && first == second ? 0 : 1);
}

// Each in a process of its own, as the context is made once per process.
TEST(RendererDeathTest, NoMesaGivesAClearMessageAndNoPicture)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RenderWithout("__EGL_VENDOR_LIBRARY_FILENAMES", "/nonexistent/egl_vendor.json", "libegl-mesa0"),
                ::testing::ExitedWithCode(0), "EGL");
    EXPECT_EXIT(RenderWithout("LIBGL_DRIVERS_PATH", "/nonexistent", "libgl1-mesa-dri"), ::testing::ExitedWithCode(0),
                "EGL");
}

} // namespace
