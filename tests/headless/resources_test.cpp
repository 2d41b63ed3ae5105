#include "headless/resources.h"

#include <gtest/gtest.h>

#include "DrawAPI.h"
#include "OrbiterAPI.h"

namespace headless {
namespace {

char kCourier[] = "Courier";

ResourceCounts Difference(const ResourceCounts &a, const ResourceCounts &b)
{
    ResourceCounts d;
    d.pens = a.pens - b.pens;
    d.brushes = a.brushes - b.brushes;
    d.fonts = a.fonts - b.fonts;
    d.surfaces = a.surfaces - b.surfaces;
    d.sketchpads = a.sketchpads - b.sketchpads;
    d.invalidReleases = a.invalidReleases - b.invalidReleases;
    return d;
}

void ExpectCounts(const ResourceCounts &c, int pens, int brushes, int fonts, int surfaces, int sketchpads,
                  int invalidReleases)
{
    EXPECT_EQ(c.pens, pens);
    EXPECT_EQ(c.brushes, brushes);
    EXPECT_EQ(c.fonts, fonts);
    EXPECT_EQ(c.surfaces, surfaces);
    EXPECT_EQ(c.sketchpads, sketchpads);
    EXPECT_EQ(c.invalidReleases, invalidReleases);
}

TEST(ResourcesTest, CountsRiseAndFallBackToZero)
{
    ResourceCounts live0 = LiveResources();
    ResourceCounts created0 = CreatedResources();
    ResourceCounts released0 = ReleasedResources();

    oapi::Pen *pen1 = oapiCreatePen(1, 1, 0x000000FF);
    oapi::Pen *pen2 = oapiCreatePen(2, 3, 0x0000FF00);
    oapi::Brush *brush = oapiCreateBrush(0x00FF0000);
    oapi::Font *font = oapiCreateFont(14, false, kCourier);
    SURFHANDLE surface = oapiCreateSurface(8, 8);
    oapi::Sketchpad *skp = oapiGetSketchpad(surface);
    ASSERT_NE(skp, nullptr);
    EXPECT_NE(pen1, pen2);

    ExpectCounts(Difference(LiveResources(), live0), 2, 1, 1, 1, 1, 0);
    ExpectCounts(Difference(CreatedResources(), created0), 2, 1, 1, 1, 1, 0);
    ExpectCounts(Difference(ReleasedResources(), released0), 0, 0, 0, 0, 0, 0);

    oapiReleaseSketchpad(skp);
    oapiDestroySurface(surface);
    oapiReleaseFont(font);
    oapiReleaseBrush(brush);
    oapiReleasePen(pen2);
    oapiReleasePen(pen1);

    ExpectCounts(Difference(LiveResources(), live0), 0, 0, 0, 0, 0, 0);
    ExpectCounts(Difference(ReleasedResources(), released0), 2, 1, 1, 1, 1, 0);
}

TEST(ResourcesTest, InvalidReleasesAreCountedAndHarmless)
{
    ResourceCounts live0 = LiveResources();

    // Second releases.
    oapi::Pen *pen = oapiCreatePen(1, 1, 0);
    oapi::Brush *brush = oapiCreateBrush(0);
    oapi::Font *font = oapiCreateFont(12, true, kCourier);
    SURFHANDLE surface = oapiCreateSurface(4, 4);
    oapi::Sketchpad *skp = oapiGetSketchpad(surface);
    oapiReleasePen(pen);
    oapiReleasePen(pen);
    oapiReleaseBrush(brush);
    oapiReleaseBrush(brush);
    oapiReleaseFont(font);
    oapiReleaseFont(font);
    oapiReleaseSketchpad(skp);
    oapiReleaseSketchpad(skp);
    oapiDestroySurface(surface);
    oapiDestroySurface(surface);
    ExpectCounts(Difference(LiveResources(), live0), 0, 0, 0, 0, 0, 5);
    EXPECT_EQ(PenInfo(pen), nullptr);
    EXPECT_EQ(BrushInfo(brush), nullptr);
    EXPECT_EQ(FontInfo(font), nullptr);

    // Objects that never came from the registry stay untouched (deleting
    // them would be a double free when they go out of scope).
    HeadlessPen foreignPen(1, 2, 3);
    HeadlessBrush foreignBrush(4);
    HeadlessFont foreignFont(10, false, "Courier", FONT_NORMAL);
    oapiReleasePen(&foreignPen);
    oapiReleaseBrush(&foreignBrush);
    oapiReleaseFont(&foreignFont);
    EXPECT_EQ(foreignPen.width(), 2);
    EXPECT_EQ(foreignBrush.colour(), 4u);
    EXPECT_EQ(PenInfo(&foreignPen), nullptr);
    EXPECT_EQ(LiveResources().invalidReleases, live0.invalidReleases + 8);

    // A live pen released as a pen is fine; the same address is no brush.
    oapi::Pen *again = oapiCreatePen(1, 1, 0);
    EXPECT_EQ(BrushInfo(reinterpret_cast<oapi::Brush *>(again)), nullptr);
    oapiReleasePen(again);

    // Null releases are ignored and not counted.
    oapiReleasePen(nullptr);
    oapiReleaseBrush(nullptr);
    oapiReleaseFont(nullptr);
    oapiReleaseSketchpad(nullptr);
    oapiDestroySurface(nullptr);
    ExpectCounts(Difference(LiveResources(), live0), 0, 0, 0, 0, 0, 8);
}

TEST(ResourcesTest, ToolsKeepTheirParameters)
{
    oapi::Pen *pen = oapiCreatePen(2, 3, 0x00112233);
    const HeadlessPen *penInfo = PenInfo(pen);
    ASSERT_NE(penInfo, nullptr);
    EXPECT_EQ(penInfo->style(), 2);
    EXPECT_EQ(penInfo->width(), 3);
    EXPECT_EQ(penInfo->colour(), 0x00112233u);

    // All 32 bits of a brush colour, the opacity byte included.
    oapi::Brush *brush = oapiCreateBrush(0x660000AA);
    const HeadlessBrush *brushInfo = BrushInfo(brush);
    ASSERT_NE(brushInfo, nullptr);
    EXPECT_EQ(brushInfo->colour(), 0x660000AAu);

    oapi::Font *font = oapiCreateFont(20, true, kCourier, static_cast<FontStyle>(FONT_BOLD | FONT_ITALIC));
    const HeadlessFont *fontInfo = FontInfo(font);
    ASSERT_NE(fontInfo, nullptr);
    EXPECT_EQ(fontInfo->face()->height(), 20);
    EXPECT_TRUE(fontInfo->face()->prop());
    EXPECT_EQ(fontInfo->face()->face(), "Courier");
    EXPECT_EQ(fontInfo->face()->style(), FONT_BOLD | FONT_ITALIC);

    EXPECT_EQ(PenInfo(nullptr), nullptr);
    EXPECT_EQ(BrushInfo(nullptr), nullptr);
    EXPECT_EQ(FontInfo(nullptr), nullptr);

    oapiReleasePen(pen);
    oapiReleaseBrush(brush);
    oapiReleaseFont(font);
}

// Measures a face through a sketchpad, as a module does.
struct Measured {
    int cellHeight;
    int averageWidth;
};

Measured CharSize(oapi::Sketchpad *skp)
{
    DWORD size = skp->GetCharSize();
    return Measured{static_cast<int>(size & 0xFFFF), static_cast<int>(size >> 16)};
}

TEST(FontTest, MetricsComeFromTheRealFace)
{
    SURFHANDLE surface = oapiCreateSurface(4, 4);
    oapi::Sketchpad *skp = oapiGetSketchpad(surface);
    ASSERT_NE(skp, nullptr);

    // Without a font: Courier of 16 pixels.
    Measured byDefault = CharSize(skp);
    EXPECT_NEAR(byDefault.cellHeight, 16, 1);

    for (int height : {10, 16, 24, 40}) {
        oapi::Font *font = oapiCreateFont(height, false, kCourier);
        skp->SetFont(font);
        Measured m = CharSize(skp);
        // The cell is the height asked for. Monospaced faces have advances
        // of about 0.5 to 0.6 em, and the cell of common ones is 1.13 to
        // 1.18 em, so the width is between 0.42 and 0.54 of the height;
        // allow for rounding to whole pixels.
        EXPECT_NEAR(m.cellHeight, height, 1) << height;
        EXPECT_GE(m.averageWidth, 0.42 * height - 1) << height;
        EXPECT_LE(m.averageWidth, 0.54 * height + 1) << height;

        // Every character of a monospaced face advances the same width.
        int w = m.averageWidth;
        EXPECT_EQ(skp->GetTextWidth("iiii", 4), DWORD(4 * w)) << height;
        EXPECT_EQ(skp->GetTextWidth("WWWW", 4), DWORD(4 * w)) << height;
        // len 0 means all of it; a shorter len only that many characters.
        EXPECT_EQ(skp->GetTextWidth("abcdef"), DWORD(6 * w)) << height;
        EXPECT_EQ(skp->GetTextWidth("abcdef", 3), DWORD(3 * w)) << height;
        skp->SetFont(nullptr);
        oapiReleaseFont(font);
    }
    EXPECT_EQ(skp->GetTextWidth(nullptr, 3), 0u);
    EXPECT_EQ(skp->GetTextWidth("abc", -1), 0u);

    // A proportional face: narrow letters are narrower than wide ones.
    char sans[] = "Sans";
    oapi::Font *prop = oapiCreateFont(20, true, sans);
    skp->SetFont(prop);
    EXPECT_NEAR(CharSize(skp).cellHeight, 20, 1);
    EXPECT_LT(skp->GetTextWidth("iiii", 4), skp->GetTextWidth("WWWW", 4));
    skp->SetFont(nullptr);
    oapiReleaseFont(prop);

    // Back to the default once the font is deselected.
    EXPECT_EQ(CharSize(skp).cellHeight, byDefault.cellHeight);
    EXPECT_EQ(CharSize(skp).averageWidth, byDefault.averageWidth);

    oapiReleaseSketchpad(skp);
    oapiDestroySurface(surface);
}

} // namespace
} // namespace headless
