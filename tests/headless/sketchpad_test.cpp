#include "headless/sketchpad_raster.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <gtest/gtest.h>

#include "DrawAPI.h"
#include "OrbiterAPI.h"
#include "headless/resources.h"
#include "headless/sketchpad_recorder.h"
#include "headless/surfaces.h"

// Every allocation through operator new in this test program is counted, so
// that a test can show that a stretch of code allocates nothing.
namespace {
std::atomic<long> allocationCount{0};
} // namespace

void *operator new(std::size_t size)
{
    ++allocationCount;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
// The forms that do not throw too, so that no allocation of the program
// (a plug-in's, say) comes from elsewhere and is freed here.
void *operator new(std::size_t size, const std::nothrow_t &) noexcept
{
    ++allocationCount;
    return std::malloc(size ? size : 1);
}
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }

namespace headless {
namespace {

constexpr DWORD kBlack = 0x00000000;
constexpr DWORD kGrey = 0x00404040;
constexpr DWORD kWhite = 0x00FFFFFF;
constexpr DWORD kRed = 0x000000FF;
constexpr DWORD kGreen = 0x0000FF00;
constexpr DWORD kBlue = 0x00FF0000;

int Red(DWORD c) { return c & 0xFF; }
int Green(DWORD c) { return (c >> 8) & 0xFF; }
int Blue(DWORD c) { return (c >> 16) & 0xFF; }

char kCourier[] = "Courier";

// Inclusive bounds of the pixels that differ clearly from the background.
struct Box {
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -1;
    int bottom = -1;
    bool empty() const { return right < 0; }
    bool operator==(const Box &o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

std::ostream &operator<<(std::ostream &os, const Box &b)
{
    return os << "[" << b.left << "," << b.top << " .. " << b.right << "," << b.bottom << "]";
}

Box Ink(SURFHANDLE s, DWORD background)
{
    Surface *surface = SurfaceFromHandle(s);
    Box box;
    for (int y = 0; y < surface->height(); ++y) {
        for (int x = 0; x < surface->width(); ++x) {
            DWORD c = surface->Pixel(x, y);
            if (std::abs(Red(c) - Red(background)) > 64 || std::abs(Green(c) - Green(background)) > 64 ||
                std::abs(Blue(c) - Blue(background)) > 64) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

class SketchpadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetSketchpadMode(SketchpadMode::RasterAndRecord);
        ClearRecordings();
        before_ = LiveResources();
    }

    void TearDown() override
    {
        for (oapi::Pen *pen : pens_)
            oapiReleasePen(pen);
        for (oapi::Brush *brush : brushes_)
            oapiReleaseBrush(brush);
        for (oapi::Font *font : fonts_)
            oapiReleaseFont(font);
        for (SURFHANDLE s : surfaces_)
            oapiDestroySurface(s);
        SetSketchpadMode(SketchpadMode::RasterAndRecord);
        ClearRecordings();
        ResourceCounts after = LiveResources();
        EXPECT_EQ(after.pens, before_.pens);
        EXPECT_EQ(after.brushes, before_.brushes);
        EXPECT_EQ(after.fonts, before_.fonts);
        EXPECT_EQ(after.surfaces, before_.surfaces);
        EXPECT_EQ(after.sketchpads, before_.sketchpads);
        EXPECT_EQ(after.invalidReleases, before_.invalidReleases + expectedInvalidReleases_);
    }

    SURFHANDLE NewSurface(int w, int h, DWORD fill = kBlack)
    {
        SURFHANDLE s = oapiCreateSurface(w, h);
        SurfaceFromHandle(s)->Fill(fill);
        surfaces_.push_back(s);
        return s;
    }
    oapi::Pen *NewPen(int style, int width, DWORD colour)
    {
        pens_.push_back(oapiCreatePen(style, width, colour));
        return pens_.back();
    }
    oapi::Brush *NewBrush(DWORD colour)
    {
        brushes_.push_back(oapiCreateBrush(colour));
        return brushes_.back();
    }
    oapi::Font *NewFont(int height)
    {
        fonts_.push_back(oapiCreateFont(height, false, kCourier));
        return fonts_.back();
    }

    static DWORD At(SURFHANDLE s, int x, int y) { return SurfaceFromHandle(s)->Pixel(x, y); }

    int expectedInvalidReleases_ = 0;

private:
    ResourceCounts before_;
    std::vector<oapi::Pen *> pens_;
    std::vector<oapi::Brush *> brushes_;
    std::vector<oapi::Font *> fonts_;
    std::vector<SURFHANDLE> surfaces_;
};

TEST_F(SketchpadTest, LinesCoverTheirPixels)
{
    SURFHANDLE s = NewSurface(64, 48);
    oapi::Pen *red = NewPen(1, 1, kRed);
    oapi::Pen *thick = NewPen(1, 3, kGreen);
    oapi::Pen *even = NewPen(1, 2, kBlue);
    oapi::Pen *invisible = NewPen(0, 1, kWhite);

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    ASSERT_NE(skp, nullptr);
    EXPECT_EQ(skp->GetSurface(), s);
    EXPECT_EQ(skp->SetPen(red), nullptr);
    skp->Line(5, 10, 20, 10);
    skp->Line(30, 2, 30, 8);
    skp->Line(50, 20, 40, 20);
    skp->MoveTo(40, 30);
    skp->LineTo(50, 30);
    skp->LineTo(50, 40);
    EXPECT_EQ(skp->SetPen(thick), red);
    skp->Line(5, 30, 20, 30);
    EXPECT_EQ(skp->SetPen(even), thick);
    skp->Line(5, 40, 20, 40);
    skp->SetPen(invisible);
    skp->Line(0, 45, 63, 45);
    skp->SetPen(nullptr);
    skp->Line(0, 46, 63, 46);
    skp->Pixel(60, 2, kWhite);
    oapiReleaseSketchpad(skp);

    // Horizontal, both end pixels included, one row only.
    for (int x = 5; x <= 20; ++x)
        EXPECT_EQ(At(s, x, 10), kRed) << x;
    EXPECT_EQ(At(s, 4, 10), kBlack);
    EXPECT_EQ(At(s, 21, 10), kBlack);
    EXPECT_EQ(At(s, 12, 9), kBlack);
    EXPECT_EQ(At(s, 12, 11), kBlack);
    // Vertical.
    for (int y = 2; y <= 8; ++y)
        EXPECT_EQ(At(s, 30, y), kRed) << y;
    EXPECT_EQ(At(s, 30, 1), kBlack);
    EXPECT_EQ(At(s, 30, 9), kBlack);
    EXPECT_EQ(At(s, 29, 5), kBlack);
    EXPECT_EQ(At(s, 31, 5), kBlack);
    // Drawn right to left.
    EXPECT_EQ(At(s, 40, 20), kRed);
    EXPECT_EQ(At(s, 50, 20), kRed);
    EXPECT_EQ(At(s, 39, 20), kBlack);
    EXPECT_EQ(At(s, 51, 20), kBlack);
    // MoveTo and two LineTo: an L through (40,30), (50,30), (50,40).
    EXPECT_EQ(At(s, 40, 30), kRed);
    EXPECT_EQ(At(s, 45, 30), kRed);
    EXPECT_EQ(At(s, 50, 35), kRed);
    EXPECT_EQ(At(s, 50, 40), kRed);
    EXPECT_EQ(At(s, 39, 30), kBlack);
    EXPECT_EQ(At(s, 45, 35), kBlack);
    // Width 3 about row 30: rows 29..31, and the square end reaches one
    // pixel past each end point (centre 5.5 - 1.5 = 4.0).
    EXPECT_EQ(At(s, 10, 29), kGreen);
    EXPECT_EQ(At(s, 10, 30), kGreen);
    EXPECT_EQ(At(s, 10, 31), kGreen);
    EXPECT_EQ(At(s, 10, 28), kBlack);
    EXPECT_EQ(At(s, 10, 32), kBlack);
    EXPECT_EQ(At(s, 4, 30), kGreen);
    EXPECT_EQ(At(s, 3, 30), kBlack);
    // Width 2 about the edge between rows 39 and 40.
    EXPECT_EQ(At(s, 10, 39), kBlue);
    EXPECT_EQ(At(s, 10, 40), kBlue);
    EXPECT_EQ(At(s, 10, 38), kBlack);
    EXPECT_EQ(At(s, 10, 41), kBlack);
    // Invisible and null pens draw nothing; Pixel needs no pen.
    for (int x = 0; x < 64; ++x) {
        EXPECT_EQ(At(s, x, 45), kBlack) << x;
        EXPECT_EQ(At(s, x, 46), kBlack) << x;
    }
    EXPECT_EQ(At(s, 60, 2), kWhite);
    EXPECT_EQ(At(s, 61, 2), kBlack);
    EXPECT_EQ(At(s, 60, 3), kBlack);
}

TEST_F(SketchpadTest, RectanglesFillWithTheBrushAndOutlineWithThePen)
{
    SURFHANDLE s = NewSurface(480, 1000, kGrey);
    oapi::Pen *green = NewPen(1, 1, kGreen);
    oapi::Pen *wide = NewPen(1, 4, kRed);
    oapi::Brush *blue = NewBrush(kBlue);
    oapi::Brush *translucent = NewBrush(0x660000AA);

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetPen(green);
    EXPECT_EQ(skp->SetBrush(blue), nullptr);
    skp->Rectangle(228, 978, 416, 558); // corners in any order
    skp->SetPen(wide);
    skp->Rectangle(10, 10, 50, 40);
    skp->SetPen(green);
    EXPECT_EQ(skp->SetBrush(nullptr), blue);
    skp->Rectangle(60, 10, 100, 40);
    skp->SetPen(nullptr);
    skp->SetBrush(blue);
    skp->Rectangle(130, 20, 120, 10);
    skp->SetBrush(translucent);
    skp->Rectangle(140, 10, 150, 20);
    oapiReleaseSketchpad(skp);

    // The box is x 228..415, y 558..977: outline on its edge pixels, brush
    // inside, nothing outside.
    EXPECT_EQ(At(s, 300, 700), kBlue);
    EXPECT_EQ(At(s, 229, 700), kBlue);
    EXPECT_EQ(At(s, 414, 976), kBlue);
    EXPECT_EQ(At(s, 228, 700), kGreen);
    EXPECT_EQ(At(s, 415, 700), kGreen);
    EXPECT_EQ(At(s, 300, 558), kGreen);
    EXPECT_EQ(At(s, 300, 977), kGreen);
    EXPECT_EQ(At(s, 228, 558), kGreen);
    EXPECT_EQ(At(s, 415, 977), kGreen);
    EXPECT_EQ(At(s, 227, 700), kGrey);
    EXPECT_EQ(At(s, 416, 700), kGrey);
    EXPECT_EQ(At(s, 300, 557), kGrey);
    EXPECT_EQ(At(s, 300, 978), kGrey);

    // A 4-pixel pen fills the 4 edge pixels inside the box x 10..49,
    // y 10..39.
    EXPECT_EQ(At(s, 10, 25), kRed);
    EXPECT_EQ(At(s, 13, 25), kRed);
    EXPECT_EQ(At(s, 14, 25), kBlue);
    EXPECT_EQ(At(s, 45, 25), kBlue);
    EXPECT_EQ(At(s, 46, 25), kRed);
    EXPECT_EQ(At(s, 49, 25), kRed);
    EXPECT_EQ(At(s, 50, 25), kGrey);
    EXPECT_EQ(At(s, 30, 13), kRed);
    EXPECT_EQ(At(s, 30, 14), kBlue);
    EXPECT_EQ(At(s, 30, 36), kRed);
    EXPECT_EQ(At(s, 30, 39), kRed);
    EXPECT_EQ(At(s, 30, 40), kGrey);

    // No brush: the inside keeps what was there.
    EXPECT_EQ(At(s, 60, 25), kGreen);
    EXPECT_EQ(At(s, 99, 25), kGreen);
    EXPECT_EQ(At(s, 80, 25), kGrey);
    EXPECT_EQ(At(s, 61, 11), kGrey);

    // No pen: the brush alone, on x 120..129, y 10..19.
    EXPECT_EQ(At(s, 120, 10), kBlue);
    EXPECT_EQ(At(s, 129, 19), kBlue);
    EXPECT_EQ(At(s, 119, 15), kGrey);
    EXPECT_EQ(At(s, 130, 15), kGrey);
    EXPECT_EQ(At(s, 125, 20), kGrey);

    // Opacity 0x66 = 0.4: red 0.4 * 0xAA + 0.6 * 0x40 = 68 + 38.4, and
    // 0.6 * 0x40 = 38.4 for green and blue.
    DWORD mixed = At(s, 145, 15);
    EXPECT_NEAR(Red(mixed), 106, 1);
    EXPECT_NEAR(Green(mixed), 38, 1);
    EXPECT_NEAR(Blue(mixed), 38, 1);
}

TEST_F(SketchpadTest, OriginShiftsDrawing)
{
    SURFHANDLE s = NewSurface(40, 40);
    oapi::Pen *red = NewPen(1, 1, kRed);
    oapi::Brush *green = NewBrush(kGreen);

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetOrigin(10, 20);
    int x = 0, y = 0;
    skp->GetOrigin(&x, &y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    skp->GetOrigin(nullptr, nullptr);
    skp->SetBrush(green);
    skp->Rectangle(0, 0, 3, 3);
    skp->Pixel(5, 5, kWhite);
    skp->SetPen(red);
    skp->Line(0, -5, 5, -5);
    skp->SetOrigin(0, 0);
    skp->Pixel(0, 0, kWhite);
    oapiReleaseSketchpad(skp);

    EXPECT_EQ(At(s, 10, 20), kGreen);
    EXPECT_EQ(At(s, 12, 22), kGreen);
    EXPECT_EQ(At(s, 13, 22), kBlack);
    EXPECT_EQ(At(s, 0, 0), kWhite);
    EXPECT_EQ(At(s, 5, 5), kBlack);
    EXPECT_EQ(At(s, 15, 25), kWhite);
    EXPECT_EQ(At(s, 10, 15), kRed);
    EXPECT_EQ(At(s, 15, 15), kRed);
    EXPECT_EQ(At(s, 16, 15), kBlack);
    EXPECT_EQ(At(s, 5, 15), kBlack);
}

TEST_F(SketchpadTest, DashedPensLeaveGaps)
{
    SURFHANDLE s = NewSurface(64, 12);
    oapi::Pen *dashed = NewPen(2, 1, kRed);
    oapi::Pen *dashedWide = NewPen(2, 2, kGreen);
    oapi::Pen *solid = NewPen(1, 1, kRed);

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetPen(dashed);
    skp->Line(0, 2, 62, 2);
    skp->SetPen(dashedWide);
    skp->Line(0, 6, 62, 6);
    skp->SetPen(solid);
    skp->Line(0, 10, 62, 10);
    oapiReleaseSketchpad(skp);

    // Dashes of 6 pixels and gaps of 3 from the start of the line: pixel x
    // is drawn where x mod 9 < 6.
    for (int x = 0; x <= 62; ++x)
        EXPECT_EQ(At(s, x, 2), x % 9 < 6 ? kRed : kBlack) << x;
    // Twice as wide, twice as long: 12 on, 6 off, starting one pixel before
    // the start (the square end of an even pen at the pixel corner 0), on
    // rows 5 and 6.
    for (int x = 0; x <= 62; ++x) {
        DWORD expected = (x + 1) % 18 < 12 ? kGreen : kBlack;
        EXPECT_EQ(At(s, x, 5), expected) << x;
        EXPECT_EQ(At(s, x, 6), expected) << x;
    }
    for (int x = 0; x <= 62; ++x)
        EXPECT_EQ(At(s, x, 10), kRed) << x;
}

TEST_F(SketchpadTest, EllipsesPolygonsAndPolylines)
{
    SURFHANDLE s = NewSurface(80, 64, kGrey);
    oapi::Pen *red = NewPen(1, 1, kRed);
    oapi::Pen *green = NewPen(1, 1, kGreen);
    oapi::Brush *redFill = NewBrush(kRed);
    oapi::Brush *blue = NewBrush(kBlue);

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetBrush(redFill);
    skp->Ellipse(10, 10, 30, 20);
    skp->SetBrush(nullptr);
    skp->SetPen(green);
    skp->Ellipse(60, 20, 40, 10);
    oapi::IVECTOR2 square[4];
    const int corners[4][2] = {{10, 40}, {20, 40}, {20, 50}, {10, 50}};
    for (int i = 0; i < 4; ++i) {
        square[i].x = corners[i][0];
        square[i].y = corners[i][1];
    }
    skp->SetPen(red);
    skp->SetBrush(blue);
    skp->Polygon(square, 4);
    for (oapi::IVECTOR2 &p : square)
        p.x += 30;
    skp->Polyline(square, 4);
    // Degenerate shapes draw nothing and must not stop later drawing.
    skp->Polygon(nullptr, 3);
    skp->Polygon(square, 1);
    skp->Polyline(square, -2);
    skp->Ellipse(70, 50, 70, 60);
    skp->Ellipse(70, 50, 71, 50);
    skp->Rectangle(70, 50, 70, 60);
    skp->Pixel(75, 60, kWhite);
    oapiReleaseSketchpad(skp);

    // Filled ellipse inscribed in x 10..29, y 10..19.
    EXPECT_EQ(At(s, 20, 15), kRed);
    EXPECT_EQ(At(s, 12, 15), kRed);
    EXPECT_EQ(At(s, 10, 10), kGrey);
    EXPECT_EQ(At(s, 29, 19), kGrey);
    EXPECT_EQ(At(s, 9, 15), kGrey);
    EXPECT_EQ(At(s, 30, 15), kGrey);
    EXPECT_EQ(At(s, 20, 9), kGrey);
    EXPECT_EQ(At(s, 20, 20), kGrey);

    // Outlined ellipse in x 40..59, y 10..19: the outline runs along the
    // box's edge pixels (anti-aliased), the inside is untouched.
    for (auto p : {std::make_pair(50, 10), std::make_pair(50, 19), std::make_pair(40, 15), std::make_pair(59, 15)}) {
        DWORD c = At(s, p.first, p.second);
        EXPECT_GT(Green(c), 200) << p.first << "," << p.second;
        EXPECT_LT(Red(c), 0x40 + 8) << p.first << "," << p.second;
    }
    EXPECT_EQ(At(s, 50, 15), kGrey);
    for (auto p : {std::make_pair(50, 9), std::make_pair(50, 20), std::make_pair(39, 15), std::make_pair(60, 15)})
        EXPECT_NEAR(Green(At(s, p.first, p.second)), 0x40, 8) << p.first << "," << p.second;

    // The polygon is closed (its left side is the closing edge) and filled.
    EXPECT_EQ(At(s, 15, 45), kBlue);
    EXPECT_EQ(At(s, 11, 45), kBlue);
    EXPECT_EQ(At(s, 15, 40), kRed);
    EXPECT_EQ(At(s, 20, 45), kRed);
    EXPECT_EQ(At(s, 15, 50), kRed);
    EXPECT_EQ(At(s, 10, 45), kRed);
    EXPECT_EQ(At(s, 9, 45), kGrey);
    EXPECT_EQ(At(s, 21, 45), kGrey);

    // The polyline is open and never filled.
    EXPECT_EQ(At(s, 45, 40), kRed);
    EXPECT_EQ(At(s, 50, 45), kRed);
    EXPECT_EQ(At(s, 45, 50), kRed);
    EXPECT_EQ(At(s, 40, 40), kRed);
    EXPECT_EQ(At(s, 40, 50), kRed);
    EXPECT_EQ(At(s, 40, 45), kGrey);
    EXPECT_EQ(At(s, 45, 45), kGrey);

    EXPECT_EQ(At(s, 70, 55), kGrey);
    EXPECT_EQ(At(s, 75, 60), kWhite);
}

// Draws str with the given alignment at (x, y) on a black surface and returns
// where the ink is.
Box TextInk(SURFHANDLE s, oapi::Font *font, oapi::Sketchpad::TAlign_horizontal h, oapi::Sketchpad::TAlign_vertical v,
            int x, int y, const char *str, int len, DWORD colour = kRed)
{
    SurfaceFromHandle(s)->Fill(kBlack);
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetFont(font);
    skp->SetTextColor(colour);
    skp->SetTextAlign(h, v);
    EXPECT_TRUE(skp->Text(x, y, str, len));
    oapiReleaseSketchpad(skp);
    return Ink(s, kBlack);
}

TEST_F(SketchpadTest, TextIsPlacedByItsAlignment)
{
    using Skp = oapi::Sketchpad;
    SURFHANDLE s = NewSurface(200, 140);
    oapi::Font *font = NewFont(20);
    oapi::Sketchpad *probe = oapiGetSketchpad(s);
    probe->SetFont(font);
    DWORD size = probe->GetCharSize();
    oapiReleaseSketchpad(probe);
    int h = static_cast<int>(size & 0xFFFF);
    int w = static_cast<int>(size >> 16);
    ASSERT_GT(w, 0);

    // LEFT, TOP: inside the cells of the two characters.
    Box leftTop = TextInk(s, font, Skp::LEFT, Skp::TOP, 50, 30, "HH", 2);
    ASSERT_FALSE(leftTop.empty());
    EXPECT_GE(leftTop.left, 50);
    EXPECT_LT(leftTop.right, 50 + 2 * w);
    EXPECT_GE(leftTop.top, 30);
    EXPECT_LT(leftTop.bottom, 30 + h);
    // In the text colour only, fully covered somewhere.
    Surface *surface = SurfaceFromHandle(s);
    int brightest = 0;
    for (int y = leftTop.top; y <= leftTop.bottom; ++y) {
        for (int x = leftTop.left; x <= leftTop.right; ++x) {
            DWORD c = surface->Pixel(x, y);
            EXPECT_EQ(Green(c), 0);
            EXPECT_EQ(Blue(c), 0);
            brightest = std::max(brightest, Red(c));
        }
    }
    EXPECT_EQ(brightest, 255);

    // The same text placed by its centre or its right edge, or by the bottom
    // of its cell, lands on exactly the same pixels.
    EXPECT_EQ(TextInk(s, font, Skp::CENTER, Skp::TOP, 50 + w, 30, "HH", 2), leftTop);
    EXPECT_EQ(TextInk(s, font, Skp::RIGHT, Skp::TOP, 50 + 2 * w, 30, "HH", 2), leftTop);
    EXPECT_EQ(TextInk(s, font, Skp::LEFT, Skp::BOTTOM, 50, 30 + h, "HH", 2), leftTop);
    EXPECT_EQ(TextInk(s, font, Skp::RIGHT, Skp::BOTTOM, 50 + 2 * w, 30 + h, "HH", 2), leftTop);

    // On the baseline, H stands on y: its ink ends on the row above. The
    // baseline lies in the lower part of the cell: ascent between 0.7 and
    // 0.9 of the cell in common faces.
    Box baseline = TextInk(s, font, Skp::LEFT, Skp::BASELINE, 50, 100, "HH", 2);
    EXPECT_GE(baseline.bottom, 100 - 2);
    EXPECT_LE(baseline.bottom, 100);
    int ascent = (leftTop.bottom - 30) - (baseline.bottom - 100);
    EXPECT_GE(ascent, 0.7 * h);
    EXPECT_LE(ascent, 0.9 * h);

    // The cell above a capital is empty: no background is painted.
    EXPECT_GT(leftTop.top, 30);

    // Only len characters, however long the string; len 0 draws nothing.
    Box one = TextInk(s, font, Skp::LEFT, Skp::TOP, 50, 30, "HHHH", 1);
    EXPECT_EQ(one.left, leftTop.left);
    EXPECT_LT(one.right, 50 + w);
    EXPECT_TRUE(TextInk(s, font, Skp::LEFT, Skp::TOP, 50, 30, "HHHH", 0).empty());

    // Text colour and the origin apply.
    Box green = TextInk(s, font, Skp::LEFT, Skp::TOP, 50, 30, "HH", 2, kGreen);
    EXPECT_EQ(green, leftTop);
    EXPECT_EQ(Red(surface->Pixel(green.left, green.bottom)), 0);
    surface->Fill(kBlack);
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetFont(font);
    skp->SetTextColor(kRed);
    skp->SetOrigin(20, 10);
    EXPECT_FALSE(skp->Text(30, 20, nullptr, 2));
    EXPECT_FALSE(skp->Text(30, 20, "HH", -1));
    EXPECT_TRUE(skp->Text(30, 20, "HH", 2));
    oapiReleaseSketchpad(skp);
    EXPECT_EQ(Ink(s, kBlack), leftTop);

    // Without a font the default one writes, in a 16-pixel cell.
    Box byDefault = TextInk(s, nullptr, Skp::LEFT, Skp::TOP, 10, 10, "HH", 2);
    ASSERT_FALSE(byDefault.empty());
    EXPECT_GE(byDefault.top, 10);
    EXPECT_LE(byDefault.bottom, 10 + 16);
}

TEST_F(SketchpadTest, RecordsEveryCallWithTheStateInForce)
{
    SURFHANDLE s = NewSurface(32, 32);
    oapi::Pen *pen = oapiCreatePen(2, 3, 0x00112233);
    oapi::Brush *brush = NewBrush(0x660000AA);
    oapi::Font *font = NewFont(18);
    oapi::IVECTOR2 pts[3];
    for (int i = 0; i < 3; ++i) {
        pts[i].x = i;
        pts[i].y = 10 * i;
    }

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    EXPECT_EQ(skp->SetPen(pen), nullptr);
    EXPECT_EQ(skp->SetBrush(brush), nullptr);
    skp->SetOrigin(5, 6);
    skp->Line(1, 2, 3, 4);
    EXPECT_EQ(skp->SetTextColor(0x00ABCDEF), 0u);
    skp->SetTextAlign(oapi::Sketchpad::CENTER, oapi::Sketchpad::BASELINE);
    const char text[] = "ABCDEFG";
    skp->Text(7, 8, text, 3);
    EXPECT_EQ(skp->SetPen(nullptr), pen);
    skp->Rectangle(228, 978, 416, 558);
    skp->MoveTo(1, 1);
    skp->LineTo(2, 2);
    skp->Polygon(pts, 3);
    skp->Pixel(9, 9, 0x00010203);
    EXPECT_EQ(skp->SetFont(font), nullptr);
    skp->Ellipse(0, 1, 2, 3);
    skp->Polyline(pts, 2);
    EXPECT_EQ(skp->SetBackgroundColor(0x00000042), kWhite);
    skp->GetCharSize();
    skp->GetTextWidth("abc");
    EXPECT_EQ(skp->SetFont(nullptr), font);
    oapiReleaseSketchpad(skp);
    // The values were taken when drawing: releasing the pen changes nothing.
    oapiReleasePen(pen);

    const std::vector<SketchpadRecord> &records = Recordings();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].surface, s);
    const std::vector<DrawCall> &calls = records[0].calls;
    const DrawOp expected[] = {DrawOp::SetPen,
                               DrawOp::SetBrush,
                               DrawOp::SetOrigin,
                               DrawOp::Line,
                               DrawOp::SetTextColor,
                               DrawOp::SetTextAlign,
                               DrawOp::Text,
                               DrawOp::SetPen,
                               DrawOp::Rectangle,
                               DrawOp::MoveTo,
                               DrawOp::LineTo,
                               DrawOp::Polygon,
                               DrawOp::Pixel,
                               DrawOp::SetFont,
                               DrawOp::Ellipse,
                               DrawOp::Polyline,
                               DrawOp::SetBackgroundColor,
                               DrawOp::SetFont};
    ASSERT_EQ(calls.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < calls.size(); ++i)
        EXPECT_EQ(calls[i].op, expected[i]) << i;

    // Before anything is selected.
    EXPECT_EQ(calls[0].pen.tool, pen);
    EXPECT_EQ(calls[0].brush.tool, nullptr);
    EXPECT_FALSE(calls[0].brush.set);
    EXPECT_EQ(calls[0].textColour, 0u);
    EXPECT_EQ(calls[0].backgroundColour, kWhite);
    EXPECT_EQ(calls[0].alignH, oapi::Sketchpad::LEFT);
    EXPECT_EQ(calls[0].alignV, oapi::Sketchpad::TOP);

    const DrawCall &line = calls[3];
    EXPECT_EQ(line.x0, 1);
    EXPECT_EQ(line.y0, 2);
    EXPECT_EQ(line.x1, 3);
    EXPECT_EQ(line.y1, 4);
    EXPECT_EQ(line.pen.tool, pen);
    EXPECT_TRUE(line.pen.set);
    EXPECT_EQ(line.pen.style, 2);
    EXPECT_EQ(line.pen.width, 3);
    EXPECT_EQ(line.pen.colour, 0x00112233u);
    EXPECT_EQ(line.brush.tool, brush);
    EXPECT_TRUE(line.brush.set);
    EXPECT_EQ(line.brush.colour, 0x660000AAu);
    EXPECT_EQ(line.originX, 5);
    EXPECT_EQ(line.originY, 6);
    EXPECT_FALSE(line.font.set);

    EXPECT_EQ(calls[2].x0, 5);
    EXPECT_EQ(calls[2].y0, 6);
    EXPECT_EQ(calls[4].colour, 0x00ABCDEFu);
    EXPECT_EQ(calls[5].alignH, oapi::Sketchpad::CENTER);
    EXPECT_EQ(calls[5].alignV, oapi::Sketchpad::BASELINE);

    const DrawCall &t = calls[6];
    EXPECT_EQ(t.text, "ABC");
    EXPECT_EQ(t.x0, 7);
    EXPECT_EQ(t.y0, 8);
    EXPECT_EQ(t.textColour, 0x00ABCDEFu);
    EXPECT_EQ(t.alignH, oapi::Sketchpad::CENTER);
    EXPECT_EQ(t.alignV, oapi::Sketchpad::BASELINE);

    const DrawCall &rect = calls[8];
    EXPECT_EQ(rect.pen.tool, nullptr);
    EXPECT_FALSE(rect.pen.set);
    EXPECT_EQ(rect.brush.tool, brush);
    EXPECT_EQ(rect.x0, 228);
    EXPECT_EQ(rect.y0, 978);
    EXPECT_EQ(rect.x1, 416);
    EXPECT_EQ(rect.y1, 558);

    EXPECT_EQ(calls[9].x0, 1);
    EXPECT_EQ(calls[9].y0, 1);
    const DrawCall &lineTo = calls[10];
    EXPECT_EQ(lineTo.x0, 2);
    EXPECT_EQ(lineTo.y0, 2);
    EXPECT_EQ(lineTo.currentX, 1);
    EXPECT_EQ(lineTo.currentY, 1);
    EXPECT_EQ(calls[11].currentX, 2);

    ASSERT_EQ(calls[11].points.size(), 3u);
    EXPECT_EQ(calls[11].points[2].x, 2);
    EXPECT_EQ(calls[11].points[2].y, 20);
    EXPECT_EQ(calls[12].x0, 9);
    EXPECT_EQ(calls[12].y0, 9);
    EXPECT_EQ(calls[12].colour, 0x00010203u);

    const DrawCall &ellipse = calls[14];
    EXPECT_EQ(ellipse.font.tool, font);
    EXPECT_TRUE(ellipse.font.set);
    EXPECT_EQ(ellipse.font.height, 18);
    EXPECT_FALSE(ellipse.font.prop);
    EXPECT_EQ(ellipse.font.face, "Courier");
    EXPECT_EQ(ellipse.font.style, FONT_NORMAL);
    EXPECT_EQ(calls[15].points.size(), 2u);
    EXPECT_EQ(calls[16].colour, 0x00000042u);
    EXPECT_EQ(calls[16].backgroundColour, 0x00000042u);
    EXPECT_EQ(calls[17].font.tool, nullptr);
    EXPECT_FALSE(calls[17].font.set);
}

TEST_F(SketchpadTest, OneRecordPerSketchpad)
{
    SURFHANDLE a = NewSurface(8, 8);
    SURFHANDLE b = NewSurface(8, 8);
    oapi::Sketchpad *first = oapiGetSketchpad(a);
    oapi::Sketchpad *second = oapiGetSketchpad(b);
    second->Pixel(1, 1, kRed);
    first->Pixel(2, 2, kRed);
    first->MoveTo(3, 3);
    oapiReleaseSketchpad(second);
    oapiReleaseSketchpad(first);

    // In the order obtained, each with its own calls.
    const std::vector<SketchpadRecord> &records = Recordings();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].surface, a);
    EXPECT_EQ(records[0].calls.size(), 2u);
    EXPECT_EQ(records[1].surface, b);
    ASSERT_EQ(records[1].calls.size(), 1u);
    EXPECT_EQ(records[1].calls[0].x0, 1);

    // A sketchpad obtained but not used leaves an empty record; one still
    // open when the recordings are cleared starts a new record.
    oapi::Sketchpad *idle = oapiGetSketchpad(a);
    oapiReleaseSketchpad(idle);
    ASSERT_EQ(Recordings().size(), 3u);
    EXPECT_TRUE(Recordings()[2].calls.empty());
    oapi::Sketchpad *open = oapiGetSketchpad(b);
    open->Pixel(0, 0, kRed);
    ClearRecordings();
    EXPECT_TRUE(Recordings().empty());
    open->Pixel(4, 4, kRed);
    oapiReleaseSketchpad(open);
    ASSERT_EQ(Recordings().size(), 1u);
    EXPECT_EQ(Recordings()[0].surface, b);
    ASSERT_EQ(Recordings()[0].calls.size(), 1u);
    EXPECT_EQ(Recordings()[0].calls[0].x0, 4);
}

TEST_F(SketchpadTest, ModeDecidesWhatIsDrawnAndRecorded)
{
    SURFHANDLE s = NewSurface(16, 16);
    oapi::Font *font = NewFont(24);

    SetSketchpadMode(SketchpadMode::RecordOnly);
    EXPECT_EQ(CurrentSketchpadMode(), SketchpadMode::RecordOnly);
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->Pixel(1, 1, kRed);
    skp->SetFont(font);
    DWORD recordOnlySize = skp->GetCharSize();
    oapiReleaseSketchpad(skp);
    EXPECT_EQ(At(s, 1, 1), kBlack);
    ASSERT_EQ(Recordings().size(), 1u);
    EXPECT_EQ(Recordings()[0].calls.size(), 2u);

    // Null: no pixels, no records, but the state and the queries still work.
    SetSketchpadMode(SketchpadMode::Null);
    skp = oapiGetSketchpad(s);
    skp->Pixel(1, 1, kRed);
    EXPECT_TRUE(skp->Text(0, 0, "HH", 2));
    EXPECT_EQ(skp->SetFont(font), nullptr);
    EXPECT_EQ(skp->SetFont(nullptr), font);
    skp->SetFont(font);
    EXPECT_EQ(skp->GetCharSize(), recordOnlySize);
    EXPECT_EQ(skp->SetTextColor(kGreen), 0u);
    EXPECT_EQ(skp->SetTextColor(kBlue), kGreen);
    skp->SetOrigin(3, 4);
    int x = 0, y = 0;
    skp->GetOrigin(&x, &y);
    EXPECT_EQ(x, 3);
    EXPECT_EQ(y, 4);
    oapiReleaseSketchpad(skp);
    EXPECT_EQ(At(s, 1, 1), kBlack);
    EXPECT_EQ(Recordings().size(), 1u);

    // A sketchpad keeps the mode it was obtained in.
    SetSketchpadMode(SketchpadMode::RasterAndRecord);
    skp = oapiGetSketchpad(s);
    SetSketchpadMode(SketchpadMode::Null);
    skp->Pixel(2, 2, kRed);
    oapiReleaseSketchpad(skp);
    EXPECT_EQ(At(s, 2, 2), kRed);
    ASSERT_EQ(Recordings().size(), 2u);
    EXPECT_EQ(Recordings()[1].calls.size(), 1u);
}

TEST_F(SketchpadTest, NullModeAllocatesNothingPerCall)
{
    SURFHANDLE s = NewSurface(16, 16);
    oapi::Font *font = NewFont(14);
    oapi::Pen *pen = NewPen(2, 1, kRed);
    oapi::Brush *brush = NewBrush(kBlue);
    oapi::IVECTOR2 pts[3] = {};
    const char longText[] = "a string far longer than any small-string buffer";
    int len = static_cast<int>(std::strlen(longText));

    auto drawFrame = [&](oapi::Sketchpad *skp) {
        skp->SetFont(font);
        skp->SetPen(pen);
        skp->SetBrush(brush);
        skp->SetTextColor(kGreen);
        skp->SetBackgroundColor(kBlack);
        skp->SetTextAlign(oapi::Sketchpad::RIGHT, oapi::Sketchpad::BOTTOM);
        skp->SetOrigin(1, 2);
        skp->GetCharSize();
        skp->GetTextWidth(longText, len);
        skp->Text(1, 1, longText, len);
        skp->Pixel(1, 1, kRed);
        skp->MoveTo(0, 0);
        skp->LineTo(5, 5);
        skp->Line(0, 5, 5, 0);
        skp->Rectangle(1, 1, 9, 9);
        skp->Ellipse(1, 1, 9, 9);
        skp->Polygon(pts, 3);
        skp->Polyline(pts, 3);
        skp->SetFont(nullptr);
        skp->SetPen(nullptr);
        skp->SetBrush(nullptr);
    };

    SetSketchpadMode(SketchpadMode::Null);
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    drawFrame(skp); // the default font is made on first use
    long before = allocationCount;
    for (int i = 0; i < 10; ++i)
        drawFrame(skp);
    EXPECT_EQ(allocationCount - before, 0);
    oapiReleaseSketchpad(skp);

    // The counter does see allocations: recording the long text makes some.
    SetSketchpadMode(SketchpadMode::RecordOnly);
    skp = oapiGetSketchpad(s);
    before = allocationCount;
    drawFrame(skp);
    EXPECT_GT(allocationCount - before, 0);
    oapiReleaseSketchpad(skp);
}

TEST_F(SketchpadTest, SketchpadsOnlyOnLiveSurfaces)
{
    int local = 0;
    EXPECT_EQ(oapiGetSketchpad(nullptr), nullptr);
    EXPECT_EQ(oapiGetSketchpad(&local), nullptr);
    SURFHANDLE gone = oapiCreateSurface(4, 4);
    oapiDestroySurface(gone);
    EXPECT_EQ(oapiGetSketchpad(gone), nullptr);
    EXPECT_TRUE(Recordings().empty());

    // A surface destroyed under an open sketchpad goes at once from the
    // registry; drawing on and releasing the sketchpad stay safe.
    ResourceCounts before = LiveResources();
    SURFHANDLE s = oapiCreateSurface(8, 8);
    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    oapiDestroySurface(s);
    EXPECT_EQ(SurfaceFromHandle(s), nullptr);
    EXPECT_EQ(LiveResources().surfaces, before.surfaces);
    skp->Pixel(1, 1, kRed);
    oapi::Pen *pen = NewPen(1, 1, kRed);
    skp->SetPen(pen);
    skp->Line(0, 0, 7, 7);
    oapiReleaseSketchpad(skp);

    // Releasing something that is not an open sketchpad is counted and
    // leaves it alone.
    SURFHANDLE t = NewSurface(4, 4);
    HeadlessSketchpad foreign(t, PinSurface(t), SketchpadMode::Null);
    oapiReleaseSketchpad(&foreign);
    foreign.SetOrigin(1, 1);
    expectedInvalidReleases_ = 1;
}

TEST_F(SketchpadTest, ToolsThatAreNotLiveCountAsNone)
{
    SURFHANDLE s = NewSurface(16, 16);
    oapi::Pen *gone = oapiCreatePen(1, 1, kRed);
    oapi::Brush *goneBrush = oapiCreateBrush(kRed);
    oapiReleasePen(gone);
    oapiReleaseBrush(goneBrush);
    HeadlessPen foreign(1, 1, kGreen);

    oapi::Sketchpad *skp = oapiGetSketchpad(s);
    skp->SetPen(gone);
    skp->SetBrush(goneBrush);
    skp->Rectangle(2, 2, 10, 10);
    EXPECT_EQ(skp->SetPen(&foreign), gone);
    skp->Line(0, 12, 15, 12);
    EXPECT_EQ(skp->SetBrush(nullptr), goneBrush);
    oapiReleaseSketchpad(skp);

    EXPECT_EQ(Ink(s, kBlack), Box());
    const std::vector<DrawCall> &calls = Recordings().at(0).calls;
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[2].pen.tool, gone);
    EXPECT_FALSE(calls[2].pen.set);
    EXPECT_EQ(calls[2].brush.tool, goneBrush);
    EXPECT_FALSE(calls[2].brush.set);
    EXPECT_EQ(calls[4].pen.tool, &foreign);
    EXPECT_FALSE(calls[4].pen.set);
}

} // namespace
} // namespace headless
