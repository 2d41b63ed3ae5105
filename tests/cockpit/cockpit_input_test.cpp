// Clicks on the MFD buttons: which host MFD operation each area makes, and
// which label panel it asks to redraw.

#include <string>
#include <vector>

#include "headless/mfd.h"
#include "headless/vc.h"
#include "test_support.h"

namespace {

using headless::MfdModel;
using headless::VirtualCockpit;

class CockpitInputTest : public testsupport::ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        VirtualCockpit::instance().reset();
        MfdModel::instance().reset();
        building = addBuilding("Houston");
        VirtualCockpit::instance().beginLoad(0);
        building->clbkLoadVC(0);
    }
    bool release(int id)
    {
        VECTOR3 p = _V(0, 0, 0);
        return building->clbkVCMouseEvent(id, PANEL_MOUSE_LBUP, p);
    }
    static std::vector<std::string> labels(int mfd)
    {
        std::vector<std::string> out;
        for (int bt = 0; bt < 12; ++bt) {
            const char *l = oapiMFDButtonLabel(mfd, bt);
            out.push_back(l ? l : "");
        }
        return out;
    }
    Korvane *building = nullptr;
};

TEST_F(CockpitInputTest, PressesDoNothingAndReleasesAct)
{
    VECTOR3 p = _V(0, 0, 0);
    for (int flags : {PANEL_MOUSE_LBDOWN, PANEL_MOUSE_LBPRESSED, PANEL_MOUSE_LBDOWN | PANEL_MOUSE_ONREPLAY, 0}) {
        EXPECT_FALSE(building->clbkVCMouseEvent(112, flags, p));
        EXPECT_FALSE(building->clbkVCMouseEvent(212, flags, p));
    }
    EXPECT_TRUE(MfdModel::instance().display(0)->on);
    EXPECT_TRUE(MfdModel::instance().display(1)->on);
    EXPECT_TRUE(VirtualCockpit::instance().takeTriggeredAreas().empty());

    EXPECT_FALSE(release(112)); // right power
    EXPECT_FALSE(MfdModel::instance().display(1)->on);
    EXPECT_TRUE(MfdModel::instance().display(0)->on);
    EXPECT_EQ(VirtualCockpit::instance().takeTriggeredAreas(), std::vector<int>{303});

    EXPECT_FALSE(release(212)); // left power
    EXPECT_FALSE(MfdModel::instance().display(0)->on);
    EXPECT_EQ(VirtualCockpit::instance().takeTriggeredAreas(), std::vector<int>{300});
}

TEST_F(CockpitInputTest, SelectMenuAndSideButtonsReachTheirMfd)
{
    std::vector<std::string> before = labels(0);
    EXPECT_FALSE(release(214)); // left select: the mode selection page
    EXPECT_EQ(MfdModel::instance().display(0)->page, MfdModel::Page::Select);
    EXPECT_EQ(MfdModel::instance().display(1)->page, MfdModel::Page::Mode);
    EXPECT_NE(labels(0), before);
    EXPECT_EQ(VirtualCockpit::instance().takeTriggeredAreas(), std::vector<int>{300});

    EXPECT_FALSE(release(202)); // side button 2 of the left MFD: the third mode
    EXPECT_EQ(MfdModel::instance().display(0)->mode, MfdModel::Mode::Map);
    EXPECT_EQ(MfdModel::instance().display(0)->page, MfdModel::Page::Mode);
    EXPECT_EQ(VirtualCockpit::instance().takeTriggeredAreas(), std::vector<int>{300});

    EXPECT_FALSE(release(113)); // right menu
    EXPECT_EQ(MfdModel::instance().display(1)->page, MfdModel::Page::Menu);
    EXPECT_FALSE(release(114)); // right select
    EXPECT_EQ(MfdModel::instance().display(1)->page, MfdModel::Page::Select);
    EXPECT_FALSE(release(100 + 3)); // the fourth mode on the right
    EXPECT_EQ(MfdModel::instance().display(1)->mode, MfdModel::Mode::Comms);
    EXPECT_EQ(VirtualCockpit::instance().takeTriggeredAreas(), std::vector<int>{303});
}

TEST_F(CockpitInputTest, OtherAreasDoNothing)
{
    std::vector<std::string> left = labels(0), right = labels(1);
    for (int id : {0, 1, 2, 99, 115, 150, 199, 215, 300, 303, 1000, -1})
        EXPECT_FALSE(release(id)) << id;
    EXPECT_TRUE(VirtualCockpit::instance().takeTriggeredAreas().empty());
    EXPECT_EQ(labels(0), left);
    EXPECT_EQ(labels(1), right);
    EXPECT_TRUE(MfdModel::instance().display(0)->on);
}

} // namespace
