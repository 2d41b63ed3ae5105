// The building's lifecycle: fields and drawing resources at construction,
// class capabilities, the visual callbacks, and the release of everything.

#include <cstdint>
#include <cstring>

#include "headless/meshes.h"
#include "headless/resources.h"
#include "headless/surfaces.h"
#include "test_support.h"

DLLCLBK VESSEL *ovcInit(OBJHANDLE hvessel, int flightmodel);
DLLCLBK void ovcExit(VESSEL *vessel);

namespace {

using testsupport::ModuleTest;

class KorvaneTest : public ModuleTest {};

uint64_t Bits(double d)
{
    uint64_t u;
    std::memcpy(&u, &d, sizeof(u));
    return u;
}

struct PenSpec {
    oapi::Pen *Korvane::*field;
    int style;
    int width;
    DWORD colour;
};

TEST_F(KorvaneTest, ConstructorStoresDefaultsAndCreatesResourcesInTableOrder)
{
    headless::ResourceCounts before = headless::LiveResources();
    Korvane *k = addBuilding("Houston", false);
    headless::ResourceCounts during = headless::LiveResources();
    EXPECT_EQ(during.pens - before.pens, 24);
    EXPECT_EQ(during.brushes - before.brushes, 8);
    EXPECT_EQ(during.fonts - before.fonts, 4);

    EXPECT_EQ(k->network, nullptr);
    EXPECT_FALSE(k->coastLoaded);
    EXPECT_FALSE(k->coastAvailable);
    EXPECT_EQ(k->coastLineCount, 0u);
    EXPECT_EQ(k->coordScale, 1000.0);
    EXPECT_EQ(k->linkNode, nullptr);
    EXPECT_EQ(k->linkType, 0);
    EXPECT_FALSE(k->linkUp);
    EXPECT_EQ(k->mapScaleX, 1.0);
    EXPECT_EQ(k->mapScaleY, 1.0);
    EXPECT_TRUE(k->coastSource.empty());
    EXPECT_TRUE(k->coastProjected.empty());
    for (double t : k->screenTimer)
        EXPECT_EQ(t, 10.0);
    EXPECT_EQ(k->targetHandle, nullptr);
    EXPECT_TRUE(k->targetName.empty());
    EXPECT_FALSE(k->targetValid);
    EXPECT_EQ(k->sampleTimer, 0.0);
    EXPECT_EQ(k->history.count(), 0);
    EXPECT_EQ(k->history.capacity(), 600u);
    EXPECT_EQ(k->screenRefreshInterval, 1.5);

    const PenSpec pens[] = {
        {&Korvane::penGreen, 1, 1, 0x00FF00},     {&Korvane::penGreenWide, 1, 2, 0x00FF00},
        {&Korvane::penWhite, 1, 1, 0xFFFFFF},     {&Korvane::penGreyDashed, 2, 1, 0x9C9C9C},
        {&Korvane::penGrey, 1, 1, 0x9C9C9C},      {&Korvane::penWhiteWide, 1, 2, 0xFFFFFF},
        {&Korvane::penWhiteDashed, 2, 1, 0xFFFFFF}, {&Korvane::penDarkGreen, 1, 1, 0x336633},
        {&Korvane::penYellow, 1, 1, 0x00FFFF},    {&Korvane::penYellowWide, 1, 2, 0x00FFFF},
        {&Korvane::penOlive, 1, 1, 0x005252},     {&Korvane::penBlue, 1, 1, 0xFF0000},
        {&Korvane::penBlueWide, 1, 2, 0xFF0000},  {&Korvane::penNavy, 1, 1, 0x290000},
        {&Korvane::penRed, 1, 1, 0x0000FF},       {&Korvane::penRedWide, 1, 2, 0x0000FF},
        {&Korvane::penDarkRed, 1, 1, 0x000066},   {&Korvane::penMagenta, 1, 1, 0xFF00FF},
        {&Korvane::penMagentaWide, 1, 2, 0xFF00FF}, {&Korvane::penPurple, 1, 1, 0x660066},
        {&Korvane::penCyan, 1, 1, 0xFFFF00},      {&Korvane::penCyanWide, 1, 2, 0xFFFF00},
        {&Korvane::penTeal, 1, 1, 0x666600},      {&Korvane::penBlack, 1, 1, 0x000000},
    };
    for (const PenSpec &spec : pens) {
        const headless::HeadlessPen *pen = headless::PenInfo(k->*spec.field);
        ASSERT_NE(pen, nullptr);
        EXPECT_EQ(pen->style(), spec.style);
        EXPECT_EQ(pen->width(), spec.width);
        EXPECT_EQ(pen->colour(), spec.colour);
    }

    struct BrushSpec {
        oapi::Brush *Korvane::*field;
        DWORD colour;
    } const brushes[] = {
        {&Korvane::brushBlack, 0x000000}, {&Korvane::brushGreen, 0x00FF00},  {&Korvane::brushDarkGreen, 0x336633},
        {&Korvane::brushNavy, 0x800000},  {&Korvane::brushYellow, 0x00FFFF}, {&Korvane::brushShade, 0x660000AA},
        // 128 + 128*256 + 128*65536 and 46 + 68*256 + 46*65536
        {&Korvane::brushGrey, 0x808080},  {&Korvane::brushDarkOlive, 0x2E442E},
    };
    for (const BrushSpec &spec : brushes) {
        const headless::HeadlessBrush *brush = headless::BrushInfo(k->*spec.field);
        ASSERT_NE(brush, nullptr);
        EXPECT_EQ(brush->colour(), spec.colour);
    }

    struct FontSpec {
        oapi::Font *Korvane::*field;
        int height;
        bool prop;
    } const fonts[] = {{&Korvane::fontLarge, 32, false},
                       {&Korvane::fontSmall, 16, true},
                       {&Korvane::fontTiny, 12, true},
                       {&Korvane::fontMedium, 24, false}};
    for (const FontSpec &spec : fonts) {
        const headless::HeadlessFont *font = headless::FontInfo(k->*spec.field);
        ASSERT_NE(font, nullptr);
        EXPECT_EQ(font->face()->height(), spec.height);
        EXPECT_EQ(font->face()->prop(), spec.prop);
        EXPECT_EQ(font->face()->face(), "Courier");
        EXPECT_EQ(font->face()->style(), FONT_NORMAL);
    }

    // Pens were made first, then brushes, then fonts: creation order shows
    // in the created totals only as counts, so check that nothing else was
    // made and that destruction gives everything back exactly once.
    int invalidBefore = headless::LiveResources().invalidReleases;
    destroyBuilding(k);
    headless::ResourceCounts after = headless::LiveResources();
    EXPECT_EQ(after.pens, before.pens);
    EXPECT_EQ(after.brushes, before.brushes);
    EXPECT_EQ(after.fonts, before.fonts);
    EXPECT_EQ(after.surfaces, before.surfaces); // no class caps: no surface made or released
    EXPECT_EQ(after.invalidReleases, invalidBefore);
}

TEST_F(KorvaneTest, ClassCapsSetMassMeshesCameraAndSurface)
{
    // The meshes' textures belong to the host's mesh store, which keeps them
    // for the session once loaded: only the drawing surface is the building's.
    for (const char *name : {"Korvane\\Korvane", "Korvane\\building", "Korvane\\ScreenUpd0", "Korvane\\ScreenUpd1",
                             "Korvane\\ScreenUpd2", "Korvane\\Flight_Dir_Screen"})
        ASSERT_NE(oapiLoadMeshGlobal(name), nullptr) << name;
    int surfacesBefore = headless::LiveResources().surfaces;
    Korvane *k = addBuilding("Houston");
    Vessel *v = headless::World::instance().vesselByName("Houston");
    EXPECT_EQ(v->emptyMassKg, 1000.0);
    EXPECT_EQ(v->clipRadiusMetres, 0.01);

    ASSERT_EQ(v->touchdownPoints.size(), 4u);
    const double expected[4][3] = {{8.660254037844387, -5.0, -4.999999999999999},
                                   {0.0, -5.0, 10.0},
                                   {-8.660254037844387, -5.0, -4.999999999999999},
                                   {0.0, 50.0, 0.0}};
    for (int i = 0; i < 4; ++i) {
        const TOUCHDOWNVTX &p = v->touchdownPoints[static_cast<size_t>(i)];
        EXPECT_EQ(p.pos.x, expected[i][0]);
        EXPECT_EQ(p.pos.y, expected[i][1]);
        EXPECT_EQ(p.pos.z, expected[i][2]);
        EXPECT_EQ(p.stiffness, 300000.0);
        EXPECT_EQ(p.damping, 300000.0);
        EXPECT_EQ(p.mu, 3.0);
        EXPECT_EQ(p.mu_lng, 3.0);
    }
    // The rear feet sit one unit in the last place above -5.
    EXPECT_EQ(Bits(v->touchdownPoints[0].pos.z), 0xC013FFFFFFFFFFFFull);
    EXPECT_EQ(Bits(v->touchdownPoints[2].pos.z), 0xC013FFFFFFFFFFFFull);

    ASSERT_EQ(v->meshes.size(), 6u);
    auto &store = headless::MeshStore::instance();
    const char *names[6] = {"Korvane/Korvane",    "Korvane/building",   "Korvane/ScreenUpd0",
                            "Korvane/ScreenUpd1", "Korvane/ScreenUpd2", "Korvane/Flight_Dir_Screen"};
    const double offsets[6][3] = {{0, 0, 0},           {0, 0, 0},           {-1.25, -0.1, 9.28},
                                  {-5.25, -0.1, 9.28}, {2.75, -0.1, 9.28}, {0, 0, -0.001}};
    const WORD modes[6] = {MESHVIS_ALWAYS, MESHVIS_ALWAYS, MESHVIS_VC, MESHVIS_VC, MESHVIS_VC, MESHVIS_VC};
    for (size_t i = 0; i < 6; ++i) {
        ASSERT_NE(store.fromHandle(v->meshes[i].mesh), nullptr);
        EXPECT_EQ(store.fromHandle(v->meshes[i].mesh)->name(), names[i]);
        EXPECT_EQ(v->meshes[i].offset.x, offsets[i][0]);
        EXPECT_EQ(v->meshes[i].offset.y, offsets[i][1]);
        EXPECT_EQ(v->meshes[i].offset.z, offsets[i][2]);
        EXPECT_EQ(v->meshes[i].visibility, modes[i]);
    }
    EXPECT_EQ(k->meshMain, v->meshes[0].mesh);
    EXPECT_EQ(k->meshIdxMain, 0u);
    EXPECT_EQ(k->meshIdxBuilding, 1u);
    EXPECT_EQ(k->meshIdxScreen[0], 2u);
    EXPECT_EQ(k->meshIdxScreen[2], 4u);
    EXPECT_EQ(k->meshIdxFlightDir, 5u);

    EXPECT_EQ(v->cameraOffset.x, 0.0);
    EXPECT_EQ(v->cameraOffset.y, -1.0);
    EXPECT_EQ(v->cameraOffset.z, -8.0);

    headless::Surface *surface = headless::SurfaceFromHandle(k->drawSurface);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 1024);
    EXPECT_EQ(surface->height(), 1024);
    EXPECT_EQ(headless::LiveResources().surfaces, surfacesBefore + 1);

    destroyBuilding(k);
    EXPECT_EQ(headless::LiveResources().surfaces, surfacesBefore);
}

TEST_F(KorvaneTest, VisualCallbacksKeepTheFirstVisualsDeviceMeshes)
{
    Korvane *k = addBuilding("Houston");
    headless::Visual first(6), second(6);

    k->clbkVisualCreated(first.handle(), 1);
    EXPECT_EQ(k->visualHandle, first.handle());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(k->screenDevMesh[i], first.devMesh(static_cast<UINT>(2 + i)));

    // A second visual while the first lives changes nothing.
    k->clbkVisualCreated(second.handle(), 2);
    EXPECT_EQ(k->visualHandle, first.handle());
    EXPECT_EQ(k->screenDevMesh[0], first.devMesh(2));

    // Destroying another visual keeps the stored one but drops the meshes.
    k->clbkVisualDestroyed(second.handle(), 1);
    EXPECT_EQ(k->visualHandle, first.handle());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(k->screenDevMesh[i], nullptr);

    k->clbkVisualCreated(first.handle(), 1);
    k->clbkVisualDestroyed(first.handle(), 1);
    EXPECT_EQ(k->visualHandle, nullptr);
    EXPECT_EQ(k->screenDevMesh[1], nullptr);
}

} // namespace

namespace {

TEST_F(KorvaneTest, EntryPointsMakeAndDestroyBuildingsAndIgnoreNull)
{
    headless::ResourceCounts before = headless::LiveResources();
    ovcExit(nullptr); // nothing to destroy
    auto *v = headless::World::instance().addVessel(std::make_unique<Vessel>("Made", "Korvane"));
    VESSEL *made = ovcInit(v->handle(), 1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetHandle(), v->handle());
    EXPECT_EQ(headless::LiveResources().pens, before.pens + 24);
    ovcExit(made);
    EXPECT_EQ(headless::LiveResources().pens, before.pens);
    EXPECT_EQ(headless::LiveResources().invalidReleases, before.invalidReleases);
}

} // namespace
