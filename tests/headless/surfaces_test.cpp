#include "headless/surfaces.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "headless/resources.h"
#include "headless/sketchpad_recorder.h"

namespace headless {
namespace {

constexpr DWORD kBlack = 0x00000000;
constexpr DWORD kRed = 0x000000FF;
constexpr DWORD kGreen = 0x0000FF00;
constexpr DWORD kBlue = 0x00FF0000;

// A host colour that differs for every pixel of a small surface.
DWORD PatternColour(int x, int y) { return 0x00102030u + static_cast<DWORD>(x) * 0x000007u + y * 0x000900u; }

void Paint(SURFHANDLE s)
{
    Surface *surface = SurfaceFromHandle(s);
    for (int y = 0; y < surface->height(); ++y)
        for (int x = 0; x < surface->width(); ++x)
            surface->SetPixel(x, y, PatternColour(x, y));
}

std::string TempPath(const char *name) { return ::testing::TempDir() + "korvane_surfaces_" + name; }

std::vector<unsigned char> ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t BigEndian32(const std::vector<unsigned char> &bytes, size_t at)
{
    return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) | (uint32_t(bytes[at + 2]) << 8) |
           bytes[at + 3];
}

TEST(SurfaceTest, PixelsRegistryAndDestruction)
{
    ResourceCounts before = LiveResources();
    SURFHANDLE s = CreateSurface(4, 3);
    Surface *surface = SurfaceFromHandle(s);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 4);
    EXPECT_EQ(surface->height(), 3);
    EXPECT_EQ(surface->stride(), 16);
    EXPECT_EQ(LiveResources().surfaces, before.surfaces + 1);

    // New surfaces are opaque black.
    EXPECT_EQ(surface->Pixel(3, 2), kBlack);
    EXPECT_EQ(surface->data()[11], 0xFF000000u);

    // Host 0x00BBGGRR with R=0x56, G=0x34, B=0x12 is the opaque Cairo word
    // 0xAARRGGBB = 0xFF563412 at index y * width + x.
    surface->SetPixel(1, 2, 0x00123456);
    EXPECT_EQ(surface->data()[2 * 4 + 1], 0xFF563412u);
    EXPECT_EQ(surface->Pixel(1, 2), 0x00123456u);
    surface->SetPixel(0, 0, 0x7F123456);
    EXPECT_EQ(surface->Pixel(0, 0), 0x00123456u);

    // Outside: reads 0, writes nothing.
    surface->SetPixel(4, 0, kRed);
    surface->SetPixel(-1, 0, kRed);
    EXPECT_EQ(surface->Pixel(4, 0), 0u);
    EXPECT_EQ(surface->Pixel(0, -1), 0u);
    EXPECT_EQ(surface->Pixel(3, 0), kBlack);
    EXPECT_EQ(surface->data()[4], 0xFF000000u);

    surface->Fill(kGreen);
    EXPECT_EQ(surface->Pixel(0, 0), kGreen);
    EXPECT_EQ(surface->Pixel(3, 2), kGreen);

    // Sizes outside 1..32767 make no surface.
    EXPECT_EQ(CreateSurface(0, 5), nullptr);
    EXPECT_EQ(CreateSurface(5, -1), nullptr);
    EXPECT_EQ(CreateSurface(32768, 1), nullptr);
    EXPECT_EQ(LiveResources().surfaces, before.surfaces + 1);

    // Unknown and destroyed handles are never taken for surfaces.
    int local = 0;
    EXPECT_EQ(SurfaceFromHandle(&local), nullptr);
    EXPECT_EQ(SurfaceFromHandle(nullptr), nullptr);
    DestroySurface(s);
    EXPECT_EQ(SurfaceFromHandle(s), nullptr);
    EXPECT_EQ(LiveResources().surfaces, before.surfaces);

    // Destroying again, or something that never was a surface, is counted
    // and harmless; null is ignored.
    DestroySurface(s);
    DestroySurface(&local);
    DestroySurface(nullptr);
    EXPECT_EQ(local, 0);
    EXPECT_EQ(LiveResources().invalidReleases, before.invalidReleases + 2);
}

TEST(SurfaceTest, EveryWayOfWritingChangesTheVersionAndNoTwoSurfacesShareOne)
{
    SetSketchpadMode(SketchpadMode::RasterAndRecord); // sketchpads and blits that paint
    SURFHANDLE a = CreateSurface(8, 8), b = CreateSurface(8, 8);
    Surface *sa = SurfaceFromHandle(a), *sb = SurfaceFromHandle(b);
    std::vector<uint64_t> seen = {sa->version(), sb->version()};
    EXPECT_EQ(static_cast<const Surface *>(sa)->data()[0], 0xFF000000u); // reading changes nothing
    EXPECT_EQ(sa->version(), seen[0]);
    auto changed = [&](const char *how) {
        EXPECT_EQ(std::count(seen.begin(), seen.end(), sa->version()), 0) << how;
        seen.push_back(sa->version());
    };
    sa->data()[0] = 0xFFFFFFFFu;
    changed("data()");
    sa->SetPixel(1, 1, kRed);
    changed("SetPixel");
    sa->Fill(kGreen);
    changed("Fill");
    oapi::Sketchpad *skp = oapiGetSketchpad(a);
    skp->Line(0, 0, 7, 7);
    oapiReleaseSketchpad(skp);
    changed("a sketchpad");
    oapiBlt(a, b, 0, 0, 0, 0, 4, 4);
    changed("a blit onto it");
    EXPECT_EQ(sb->version(), seen[1]) << "the blit's source is only read";
    ClearRecordings();
    DestroySurface(a);
    DestroySurface(b);
}

TEST(SurfaceTest, PinnedSurfaceOutlivesDestroy)
{
    ResourceCounts before = LiveResources();
    SURFHANDLE s = CreateSurface(2, 2);
    Surface *pinned = PinSurface(s);
    ASSERT_EQ(pinned, SurfaceFromHandle(s));
    DestroySurface(s);
    EXPECT_EQ(SurfaceFromHandle(s), nullptr);
    EXPECT_EQ(PinSurface(s), nullptr);
    EXPECT_EQ(LiveResources().surfaces, before.surfaces);
    // Still writable until unpinned (a freed surface would trip the address
    // sanitizer here).
    pinned->SetPixel(1, 1, kBlue);
    EXPECT_EQ(pinned->Pixel(1, 1), kBlue);
    UnpinSurface(pinned);
    EXPECT_EQ(LiveResources().invalidReleases, before.invalidReleases);
}

TEST(BlitTest, CopiesClippedRectangles)
{
    SURFHANDLE src = CreateSurface(4, 4);
    SURFHANDLE tgt = CreateSurface(6, 6);
    Paint(src);
    Surface *out = SurfaceFromHandle(tgt);

    // Source (1..3, 1..3) onto target (3..5, 4..6): row 6 is off the target.
    oapiBlt(tgt, src, 3, 4, 1, 1, 3, 3);
    EXPECT_EQ(out->Pixel(3, 4), PatternColour(1, 1));
    EXPECT_EQ(out->Pixel(5, 4), PatternColour(3, 1));
    EXPECT_EQ(out->Pixel(4, 5), PatternColour(2, 2));
    EXPECT_EQ(out->Pixel(5, 5), PatternColour(3, 2));
    EXPECT_EQ(out->Pixel(2, 4), kBlack);
    EXPECT_EQ(out->Pixel(3, 3), kBlack);

    // Off the left and top of the target, and beyond the source's right
    // edge: target (-1, -1) takes source (2, 2), so target (0, 0) gets
    // source (3, 3) and nothing else is in both surfaces.
    out->Fill(kBlack);
    oapiBlt(tgt, src, -1, -1, 2, 2, 5, 5);
    EXPECT_EQ(out->Pixel(0, 0), PatternColour(3, 3));
    EXPECT_EQ(out->Pixel(1, 0), kBlack);
    EXPECT_EQ(out->Pixel(0, 1), kBlack);

    // A source origin left of the source: target column 0 would come from
    // source column -2, so copying starts at target column 2.
    out->Fill(kBlack);
    oapiBlt(tgt, src, 0, 0, -2, 0, 4, 1);
    EXPECT_EQ(out->Pixel(0, 0), kBlack);
    EXPECT_EQ(out->Pixel(1, 0), kBlack);
    EXPECT_EQ(out->Pixel(2, 0), PatternColour(0, 0));
    EXPECT_EQ(out->Pixel(3, 0), PatternColour(1, 0));
    EXPECT_EQ(out->Pixel(4, 0), kBlack);

    // Unknown handles and empty sizes do nothing.
    out->Fill(kBlack);
    int local = 0;
    oapiBlt(tgt, &local, 0, 0, 0, 0, 2, 2);
    oapiBlt(&local, src, 0, 0, 0, 0, 2, 2);
    oapiBlt(tgt, src, 0, 0, 0, 0, 0, 2);
    oapiBlt(tgt, src, 0, 0, 0, 0, 2, -1);
    EXPECT_EQ(out->Pixel(0, 0), kBlack);
    EXPECT_EQ(out->Pixel(1, 1), kBlack);

    DestroySurface(src);
    DestroySurface(tgt);
}

TEST(BlitTest, ColourKeyAndOverlap)
{
    SURFHANDLE src = CreateSurface(3, 1);
    SURFHANDLE tgt = CreateSurface(3, 1);
    Surface *in = SurfaceFromHandle(src);
    Surface *out = SurfaceFromHandle(tgt);
    in->SetPixel(0, 0, kRed);
    in->SetPixel(1, 0, 0x00FF00FF); // magenta, the key
    in->SetPixel(2, 0, kBlue);
    out->Fill(kGreen);

    oapiBlt(tgt, src, 0, 0, 0, 0, 3, 1, 0x00FF00FF);
    EXPECT_EQ(out->Pixel(0, 0), kRed);
    EXPECT_EQ(out->Pixel(1, 0), kGreen);
    EXPECT_EQ(out->Pixel(2, 0), kBlue);

    // Red as a key: the byte order of the key matters (blue is not skipped).
    out->Fill(kGreen);
    oapiBlt(tgt, src, 0, 0, 0, 0, 3, 1, kRed);
    EXPECT_EQ(out->Pixel(0, 0), kGreen);
    EXPECT_EQ(out->Pixel(1, 0), 0x00FF00FFu);
    EXPECT_EQ(out->Pixel(2, 0), kBlue);

    // Without a key everything is copied.
    out->Fill(kGreen);
    oapiBlt(tgt, src, 0, 0, 0, 0, 3, 1);
    EXPECT_EQ(out->Pixel(1, 0), 0x00FF00FFu);

    // Within one surface, overlapping: the row 1 2 3 4 5 shifted right by
    // one becomes 1 1 2 3 4, as if copied through a buffer.
    SURFHANDLE row = CreateSurface(5, 1);
    Surface *r = SurfaceFromHandle(row);
    for (int x = 0; x < 5; ++x)
        r->SetPixel(x, 0, static_cast<DWORD>(x + 1));
    oapiBlt(row, row, 1, 0, 0, 0, 4, 1);
    const DWORD shiftedRight[5] = {1, 1, 2, 3, 4};
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(r->Pixel(x, 0), shiftedRight[x]) << "x=" << x;
    // The same with a colour key that matches none of the pixels.
    for (int x = 0; x < 5; ++x)
        r->SetPixel(x, 0, static_cast<DWORD>(x + 1));
    oapiBlt(row, row, 1, 0, 0, 0, 4, 1, 0x00FFFFFF);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(r->Pixel(x, 0), shiftedRight[x]) << "keyed x=" << x;
    // And downwards: the column 1 2 3 4 shifted down by one is 1 1 2 3.
    SURFHANDLE column = CreateSurface(1, 4);
    Surface *c = SurfaceFromHandle(column);
    for (int y = 0; y < 4; ++y)
        c->SetPixel(0, y, static_cast<DWORD>(y + 1));
    oapiBlt(column, column, 0, 1, 0, 0, 1, 3);
    const DWORD shiftedDown[4] = {1, 1, 2, 3};
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(c->Pixel(0, y), shiftedDown[y]) << "y=" << y;

    DestroySurface(src);
    DestroySurface(tgt);
    DestroySurface(row);
    DestroySurface(column);
}

TEST(BlitTest, ScaledBlitFillsTheTargetRectangle)
{
    // 2 x 2 source scaled to 4 x 4 at (2, 2) of an 8 x 8 target. Each corner
    // pixel of the target rectangle is nearer its source pixel's centre than
    // anything else, and edge padding keeps it that pixel's colour exactly.
    SURFHANDLE src = CreateSurface(2, 2);
    SURFHANDLE tgt = CreateSurface(8, 8);
    Surface *in = SurfaceFromHandle(src);
    Surface *out = SurfaceFromHandle(tgt);
    in->SetPixel(0, 0, kRed);
    in->SetPixel(1, 0, kGreen);
    in->SetPixel(0, 1, kBlue);
    in->SetPixel(1, 1, 0x00FFFFFF);
    BlitScaled(tgt, 2, 2, 4, 4, src, _R(0, 0, 2, 2));
    EXPECT_EQ(out->Pixel(2, 2), kRed);
    EXPECT_EQ(out->Pixel(5, 2), kGreen);
    EXPECT_EQ(out->Pixel(2, 5), kBlue);
    EXPECT_EQ(out->Pixel(5, 5), 0x00FFFFFFu);
    EXPECT_EQ(out->Pixel(1, 1), kBlack);
    EXPECT_EQ(out->Pixel(6, 6), kBlack);
    EXPECT_EQ(out->Pixel(6, 2), kBlack);

    // Only the chosen part of the source shows, with nothing of its
    // neighbours bleeding in: the right (blue) half of a red|blue source,
    // shrunk from 2 x 4 to 1 x 2 and stretched to 3 x 3.
    SURFHANDLE halves = CreateSurface(4, 4);
    Surface *h = SurfaceFromHandle(halves);
    h->Fill(kRed);
    for (int y = 0; y < 4; ++y)
        for (int x = 2; x < 4; ++x)
            h->SetPixel(x, y, kBlue);
    out->Fill(kBlack);
    BlitScaled(tgt, 0, 0, 1, 2, halves, _R(2, 0, 4, 4));
    BlitScaled(tgt, 4, 4, 3, 3, halves, _R(2, 0, 9, 9));
    EXPECT_EQ(out->Pixel(0, 0), kBlue);
    EXPECT_EQ(out->Pixel(0, 1), kBlue);
    EXPECT_EQ(out->Pixel(1, 0), kBlack);
    for (int y = 4; y < 7; ++y)
        for (int x = 4; x < 7; ++x)
            EXPECT_EQ(out->Pixel(x, y), kBlue) << x << "," << y;
    EXPECT_EQ(out->Pixel(7, 7), kBlack);

    // A source rectangle entirely outside the source draws nothing.
    BlitScaled(tgt, 0, 0, 8, 8, src, _R(5, 5, 9, 9));
    EXPECT_EQ(out->Pixel(3, 3), kBlack);

    DestroySurface(src);
    DestroySurface(tgt);
    DestroySurface(halves);
}

TEST(PngTest, WrittenImagesReadBackWithTheSamePixels)
{
    SURFHANDLE s = CreateSurface(7, 5);
    Paint(s);

    std::string whole = TempPath("whole.png");
    ASSERT_TRUE(WritePng(s, whole));
    SURFHANDLE back = LoadPng(whole);
    Surface *b = SurfaceFromHandle(back);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->width(), 7);
    ASSERT_EQ(b->height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(b->Pixel(x, y), PatternColour(x, y)) << x << "," << y;

    // A part: columns 2..4, rows 1..3. The file itself says 3 x 3, RGB: the
    // PNG signature, then the IHDR chunk with width and height big-endian
    // at bytes 16 and 20 and the colour type (2 = RGB) at byte 25.
    std::string part = TempPath("part.png");
    RECT rect = _R(2, 1, 5, 4);
    ASSERT_TRUE(WritePng(*SurfaceFromHandle(s), part, &rect));
    std::vector<unsigned char> bytes = ReadFile(part);
    ASSERT_GT(bytes.size(), 26u);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, bytes.begin()));
    EXPECT_EQ(BigEndian32(bytes, 16), 3u);
    EXPECT_EQ(BigEndian32(bytes, 20), 3u);
    EXPECT_EQ(bytes[25], 2);
    SURFHANDLE partBack = LoadPng(part);
    Surface *p = SurfaceFromHandle(partBack);
    ASSERT_NE(p, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(p->Pixel(x, y), PatternColour(x + 2, y + 1)) << x << "," << y;

    // A rectangle reaching past the surface is clipped to it.
    RECT over = _R(5, 3, 100, 100);
    ASSERT_TRUE(WritePng(s, part, &over));
    bytes = ReadFile(part);
    ASSERT_GT(bytes.size(), 26u);
    EXPECT_EQ(BigEndian32(bytes, 16), 2u);
    EXPECT_EQ(BigEndian32(bytes, 20), 2u);

    // Nothing to write, nowhere to write, nothing to read.
    RECT outside = _R(7, 0, 9, 5);
    RECT empty = _R(3, 3, 3, 4);
    int local = 0;
    EXPECT_FALSE(WritePng(s, part, &outside));
    EXPECT_FALSE(WritePng(s, part, &empty));
    EXPECT_FALSE(WritePng(&local, part));
    EXPECT_FALSE(WritePng(s, TempPath("no/such/dir.png")));
    EXPECT_EQ(LoadPng(TempPath("missing.png")), nullptr);

    std::remove(whole.c_str());
    std::remove(part.c_str());
    DestroySurface(s);
    DestroySurface(back);
    DestroySurface(partBack);
}

} // namespace
} // namespace headless
