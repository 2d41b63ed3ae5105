// The virtual cockpit's registrations: areas, modes, rectangles, textures,
// button click zones and the camera positions.

#include <cmath>
#include <vector>

#include "cockpit/area_ids.h"
#include "cockpit/cockpit_layout.h"
#include "headless/vc.h"
#include "test_support.h"

namespace {

using headless::VcArea;
using headless::VirtualCockpit;

class CockpitLayoutTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        VirtualCockpit::instance().reset();
        building = addBuilding("Houston");
    }
    void load(int position)
    {
        VirtualCockpit::instance().beginLoad(position);
        EXPECT_TRUE(building->clbkLoadVC(position));
    }
    Korvane *building = nullptr;
};

TEST_F(CockpitLayoutTest, AreasAreRegisteredInOrderWithTheirModes)
{
    load(0);
    std::vector<int> expectedOrder = {0, 1, 2, 300, 303};
    for (int id = 200; id <= 212; ++id)
        expectedOrder.push_back(id);
    expectedOrder.push_back(214);
    expectedOrder.push_back(213);
    for (int id = 100; id <= 112; ++id)
        expectedOrder.push_back(id);
    expectedOrder.push_back(114);
    expectedOrder.push_back(113);

    const std::vector<VcArea> &areas = VirtualCockpit::instance().areas();
    std::vector<int> order;
    for (const VcArea &a : areas)
        order.push_back(a.id);
    EXPECT_EQ(order, expectedOrder);

    for (int i = 0; i < 3; ++i) {
        const VcArea *a = VirtualCockpit::instance().area(i);
        ASSERT_NE(a, nullptr);
        EXPECT_TRUE(a->hasTexture);
        EXPECT_EQ(a->texture, oapiGetTextureHandle(building->meshScreen[i], 1));
        EXPECT_EQ(building->screenTex[i], a->texture);
        EXPECT_NE(a->texture, nullptr);
        EXPECT_EQ(a->rect.left, 0);
        EXPECT_EQ(a->rect.top, 0);
        EXPECT_EQ(a->rect.right, 1024);
        EXPECT_EQ(a->rect.bottom, 1024);
        EXPECT_EQ(a->redrawMode, 1);
        EXPECT_EQ(a->mouseMode, 0);
        EXPECT_EQ(a->backgroundMode, 0);
    }
    for (int id : {300, 303}) {
        const VcArea *a = VirtualCockpit::instance().area(id);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->texture, oapiGetTextureHandle(building->meshFlightDir, id == 300 ? 1 : 2));
        EXPECT_EQ(a->rect.right, 256);
        EXPECT_EQ(a->rect.bottom, 256);
        EXPECT_EQ(a->redrawMode, 2);
        EXPECT_EQ(a->mouseMode, 0x55);
        EXPECT_EQ(a->backgroundMode, 0);
    }
    for (const VcArea &a : areas) {
        if (a.id < 100 || a.id > 214)
            continue;
        EXPECT_FALSE(a.hasTexture) << a.id;
        EXPECT_EQ(a.redrawMode, 0) << a.id;
        EXPECT_EQ(a.mouseMode, 0x55) << a.id;
        bool rightSideButton = a.id >= 100 && a.id <= 111;
        EXPECT_EQ(a.zone, rightSideButton ? VcArea::Zone::Quad : VcArea::Zone::Sphere) << a.id;
        if (!rightSideButton)
            EXPECT_EQ(a.radius, 0.0234375) << a.id;
    }

    const std::vector<headless::VcMfd> &mfds = VirtualCockpit::instance().mfds();
    ASSERT_EQ(mfds.size(), 2u);
    EXPECT_EQ(mfds[0].mfd, 0);
    EXPECT_EQ(mfds[0].nmesh, building->meshIdxFlightDir);
    EXPECT_EQ(mfds[0].ngroup, 1u);
    EXPECT_EQ(mfds[1].mfd, 1);
    EXPECT_EQ(mfds[1].ngroup, 2u);
}

TEST_F(CockpitLayoutTest, ButtonCentresAndClickZones)
{
    load(0);
    struct Row {
        int leftId;
        double left[3];
        int rightId;
        double right[3];
    } const table[] = {
        {200, {-0.770604, -1.657845, -5.320146}, 100, {0.541427, -1.657845, -5.285644}},
        {205, {-0.753203, -1.908759, -5.385087}, 105, {0.524026, -1.908759, -5.350585}},
        {206, {-0.641562, -1.657845, -5.285569}, 106, {0.670468, -1.657845, -5.320220}},
        {211, {-0.624161, -1.908759, -5.350511}, 111, {0.653067, -1.908759, -5.385162}},
        {212, {-0.771229, -1.958942, -5.403838}, 112, {0.499038, -1.958942, -5.357811}},
        {214, {-0.685202, -1.958942, -5.380787}, 114, {0.585066, -1.958942, -5.380862}},
        {213, {-0.599174, -1.958942, -5.357736}, 113, {0.671094, -1.958942, -5.403913}},
    };
    const double d = 0.0234375;
    for (const Row &row : table) {
        const VcArea *left = VirtualCockpit::instance().area(row.leftId);
        ASSERT_NE(left, nullptr);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(left->centre.data[k], row.left[k], 5e-7) << row.leftId;

        const VcArea *right = VirtualCockpit::instance().area(row.rightId);
        ASSERT_NE(right, nullptr);
        if (right->zone == VcArea::Zone::Sphere) {
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(right->centre.data[k], row.right[k], 5e-7) << row.rightId;
            continue;
        }
        // Corners: top left, top right, bottom left, bottom right.
        const double dx[4] = {-d, d, -d, d}, dy[4] = {d, d, -d, -d};
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(right->corners[c].x, row.right[0] + dx[c], 5e-7) << row.rightId << " corner " << c;
            EXPECT_NEAR(right->corners[c].y, row.right[1] + dy[c], 5e-7) << row.rightId << " corner " << c;
            EXPECT_NEAR(right->corners[c].z, row.right[2], 5e-7) << row.rightId << " corner " << c;
        }
    }
    // Each button's centre routes a click to that button.
    for (const VcArea &a : VirtualCockpit::instance().areas())
        if (a.zone != VcArea::Zone::None)
            EXPECT_EQ(VirtualCockpit::instance().areaAt(VirtualCockpit::zoneCentre(a))->id, a.id);
}

TEST_F(CockpitLayoutTest, CameraPositionsAndNeighbours)
{
    const double pi = 3.14159265358979323846;
    struct Position {
        double offset[3], forward[3], left[3], right[3];
        int neighbours[4];
    } const table[3] = {
        {{0, -1.55, -7}, {0, 0, 12}, {-3.5, 0, 0}, {3.5, 0, 0}, {-1, -1, 1, 2}},
        {{0, -1, 4}, {0, 0, 1}, {-3.5, 0, 0}, {3.5, 0, 0}, {-1, -1, -1, 0}},
        {{0, 1.7, -8.5}, {0, 0, 1}, {-1.5, 0, 0}, {1.5, 0, 0}, {-1, -1, 0, -1}},
    };
    Vessel *self = headless::World::instance().vesselByName("Houston");
    for (int p = 0; p < 3; ++p) {
        load(p);
        const headless::VcCamera &cam = VirtualCockpit::instance().camera();
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(self->cameraOffset.data[k], table[p].offset[k]) << p;
            EXPECT_EQ(cam.shiftForward.data[k], table[p].forward[k]) << p;
            EXPECT_EQ(cam.shiftLeft.data[k], table[p].left[k]) << p;
            EXPECT_EQ(cam.shiftRight.data[k], table[p].right[k]) << p;
        }
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(cam.neighbours[k], table[p].neighbours[k]) << p;
        EXPECT_DOUBLE_EQ(cam.rotLeft, pi);
        EXPECT_DOUBLE_EQ(cam.rotRight, pi);
        EXPECT_DOUBLE_EQ(cam.rotUp, pi);
        EXPECT_DOUBLE_EQ(cam.rotDown, pi);
        EXPECT_DOUBLE_EQ(cam.catchAngleRad, 0.5 * pi / 180.0);
    }

    // Another position registers everything but keeps the camera of the last.
    building->screenTex[0] = building->screenTex[1] = building->screenTex[2] = nullptr;
    for (int odd : {3, -1, 99}) {
        load(odd);
        EXPECT_EQ(VirtualCockpit::instance().areas().size(), 35u);
        EXPECT_EQ(self->cameraOffset.y, 1.7);
        EXPECT_EQ(VirtualCockpit::instance().camera().neighbours[2], 0);
        EXPECT_NE(building->screenTex[0], nullptr); // taken afresh on every load
    }
}

} // namespace
