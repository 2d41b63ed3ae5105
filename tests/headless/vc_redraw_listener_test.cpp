#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "headless/vc.h"

namespace headless {
namespace {

// A vessel whose redraws draw only for the ids it is told to.
class Drawer final : public VESSEL3 {
public:
    Drawer() : VESSEL3(nullptr) {}

    bool clbkVCRedrawEvent(int id, int event, SURFHANDLE surf) override
    {
        (void)event;
        (void)surf;
        for (int drawn : drawing)
            if (drawn == id)
                return true;
        return false;
    }

    std::vector<int> drawing;
};

class RedrawListenerTest : public ::testing::Test {
protected:
    void SetUp() override { VirtualCockpit::instance().reset(); }
    void TearDown() override
    {
        VirtualCockpit::instance().setRedrawListener(nullptr);
        VirtualCockpit::instance().reset();
    }

    VirtualCockpit &vc() { return VirtualCockpit::instance(); }

    int textureA_ = 0, textureB_ = 0, textureC_ = 0;
    SURFHANDLE texA() { return &textureA_; }
    SURFHANDLE texB() { return &textureB_; }
    SURFHANDLE texC() { return &textureC_; }
};

TEST_F(RedrawListenerTest, HearsOnlyRedrawsThatDrewWithTheirTextureInCallOrder)
{
    std::vector<std::pair<int, SURFHANDLE>> heard;
    vc().setRedrawListener([&heard](int id, SURFHANDLE texture) { heard.emplace_back(id, texture); });
    // The listener belongs to the front end: a new load and a reset keep it.
    vc().reset();
    vc().beginLoad(0);
    oapiVCRegisterArea(0, _R(0, 0, 1024, 1024), PANEL_REDRAW_ALWAYS, 0, PANEL_MAP_NONE, texA());
    oapiVCRegisterArea(1, _R(0, 0, 1024, 1024), PANEL_REDRAW_ALWAYS, 0, PANEL_MAP_NONE, texB());
    oapiVCRegisterArea(303, _R(0, 0, 256, 256), PANEL_REDRAW_MOUSE, 0x55, PANEL_MAP_NONE, texC());

    Drawer vessel;
    vessel.drawing = {1, 303};
    oapiVCTriggerRedrawArea(-1, 303);
    vc().RunCockpitRedraws(&vessel);
    // Area 0 declined (its interval had not elapsed): nothing to show.
    ASSERT_EQ(2u, heard.size());
    EXPECT_EQ(1, heard[0].first);
    EXPECT_EQ(texB(), heard[0].second);
    EXPECT_EQ(303, heard[1].first);
    EXPECT_EQ(texC(), heard[1].second);

    // An area drawn every frame is heard once a frame, even when also queued.
    heard.clear();
    vessel.drawing = {0, 1};
    oapiVCTriggerRedrawArea(-1, 1);
    vc().RunCockpitRedraws(&vessel);
    ASSERT_EQ(2u, heard.size());
    EXPECT_EQ(0, heard[0].first);
    EXPECT_EQ(1, heard[1].first);

    // Removed: redraws go on unheard.
    heard.clear();
    vc().setRedrawListener(nullptr);
    vc().RunCockpitRedraws(&vessel);
    EXPECT_TRUE(heard.empty());
}

} // namespace
} // namespace headless
