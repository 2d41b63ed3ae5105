#include "headless/mfd.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace headless {
namespace {

constexpr int kLeft = 0;
constexpr int kRight = 1;

class MfdTest : public ::testing::Test {
protected:
    void SetUp() override { MfdModel::instance().reset(); }
    void TearDown() override { MfdModel::instance().reset(); }

    const MfdModel::Display &Show(int mfd) { return *MfdModel::instance().display(mfd); }

    // The twelve labels, "-" for an unlabelled button.
    static std::vector<std::string> Labels(int mfd)
    {
        std::vector<std::string> labels;
        for (int bt = 0; bt < MfdModel::kButtonCount; ++bt) {
            const char *label = oapiMFDButtonLabel(mfd, bt);
            labels.push_back(label ? label : "-");
        }
        return labels;
    }

    static bool Press(int mfd, int bt) { return oapiProcessMFDButton(mfd, bt, PANEL_MOUSE_LBDOWN); }

    // Chooses a mode through the selection page; button i selects mode i.
    static void Choose(int mfd, MfdModel::Mode mode)
    {
        ASSERT_EQ(1, oapiSendMFDKey(mfd, OAPI_KEY_F1));
        ASSERT_TRUE(Press(mfd, static_cast<int>(mode)));
    }

    static bool HasLine(int mfd, const std::string &text)
    {
        std::vector<std::string> lines = MfdModel::instance().displayLines(mfd);
        return std::any_of(lines.begin(), lines.end(),
                           [&](const std::string &l) { return l.find(text) != std::string::npos; });
    }
};

TEST_F(MfdTest, StartsOnWithOrbitLeftAndSurfaceRight)
{
    for (int mfd : {kLeft, kRight}) {
        EXPECT_TRUE(Show(mfd).on);
        EXPECT_EQ(MfdModel::Page::Mode, Show(mfd).page);
    }
    EXPECT_EQ(MfdModel::Mode::Orbit, Show(kLeft).mode);
    EXPECT_EQ(MfdModel::Mode::Surface, Show(kRight).mode);
    EXPECT_EQ("Orbit", MfdModel::instance().title(kLeft));
    EXPECT_EQ("Surface", MfdModel::instance().title(kRight));
    EXPECT_STREQ("REF", oapiMFDButtonLabel(kLeft, 0));
    EXPECT_STREQ("ALT", oapiMFDButtonLabel(kRight, 0));
}

TEST_F(MfdTest, EachModeHasItsOwnShortUppercaseLabels)
{
    using Mode = MfdModel::Mode;
    const struct {
        Mode mode;
        std::vector<std::string> labels;
    } expected[] = {
        {Mode::Orbit, {"REF", "FRM", "-", "-", "-", "-", "MOD", "DST", "-", "-", "-", "-"}},
        {Mode::Surface, {"ALT", "SPD", "-", "-", "-", "-", "UNT", "-", "-", "-", "-", "-"}},
        {Mode::Map, {"REF", "TRK", "-", "-", "-", "-", "ZM+", "ZM-", "-", "-", "-", "-"}},
        {Mode::Comms, {"NAV", "-", "-", "-", "-", "-", "F+", "F-", "-", "-", "-", "-"}},
    };
    for (const auto &e : expected) {
        SCOPED_TRACE(MfdModel::ModeName(e.mode));
        Choose(kLeft, e.mode);
        EXPECT_EQ(e.mode, Show(kLeft).mode);
        EXPECT_EQ(MfdModel::ModeName(e.mode), MfdModel::instance().title(kLeft));
        EXPECT_EQ(e.labels, Labels(kLeft));
        for (int bt = 0; bt < MfdModel::kButtonCount; ++bt) {
            const char *label = oapiMFDButtonLabel(kLeft, bt);
            if (!label)
                continue;
            size_t n = std::strlen(label);
            EXPECT_GE(n, 1u);
            EXPECT_LE(n, 4u);
            for (size_t i = 0; i < n; ++i)
                EXPECT_FALSE(std::islower(static_cast<unsigned char>(label[i]))) << label;
        }
    }
    // The right MFD was not touched.
    EXPECT_EQ(MfdModel::Mode::Surface, Show(kRight).mode);
}

TEST_F(MfdTest, SelectionPageChoosesAModeOrReturnsUnchanged)
{
    EXPECT_EQ(1, oapiSendMFDKey(kRight, OAPI_KEY_F1));
    EXPECT_EQ(MfdModel::Page::Select, Show(kRight).page);
    EXPECT_EQ("Mode selection", MfdModel::instance().title(kRight));
    EXPECT_EQ((std::vector<std::string>{"ORB", "SRF", "MAP", "COM", "-", "-", "-", "-", "-", "-", "-", "-"}),
              Labels(kRight));
    EXPECT_EQ(4u, MfdModel::instance().displayLines(kRight).size());

    // Unlabelled buttons and button-up events do nothing here.
    EXPECT_FALSE(Press(kRight, 4));
    EXPECT_FALSE(Press(kRight, 11));
    EXPECT_FALSE(oapiProcessMFDButton(kRight, 2, PANEL_MOUSE_LBUP));
    EXPECT_EQ(MfdModel::Page::Select, Show(kRight).page);
    EXPECT_EQ(MfdModel::Mode::Surface, Show(kRight).mode);

    EXPECT_TRUE(Press(kRight, 2));
    EXPECT_EQ(MfdModel::Mode::Map, Show(kRight).mode);
    EXPECT_EQ(MfdModel::Page::Mode, Show(kRight).page);
    EXPECT_STREQ("ZM+", oapiMFDButtonLabel(kRight, 6));

    // Select key twice: back on the mode's page, mode and settings as they were.
    ASSERT_TRUE(Press(kRight, 6));
    EXPECT_EQ(1, oapiSendMFDKey(kRight, OAPI_KEY_F1));
    EXPECT_EQ(1, oapiSendMFDKey(kRight, OAPI_KEY_F1));
    EXPECT_EQ(MfdModel::Page::Mode, Show(kRight).page);
    EXPECT_EQ(MfdModel::Mode::Map, Show(kRight).mode);
    EXPECT_EQ(2, Show(kRight).mapZoom);

    // A mode keeps its settings while another is shown.
    Choose(kRight, MfdModel::Mode::Comms);
    Choose(kRight, MfdModel::Mode::Map);
    EXPECT_EQ(2, Show(kRight).mapZoom);
}

TEST_F(MfdTest, ButtonsChangeTheModesSettings)
{
    // Orbit: MOD and the other toggles flip on the press, not on the release.
    EXPECT_TRUE(HasLine(kLeft, "Orbit"));
    EXPECT_FALSE(oapiProcessMFDButton(kLeft, 6, PANEL_MOUSE_LBUP));
    EXPECT_FALSE(Show(kLeft).orbitListView);
    EXPECT_TRUE(Press(kLeft, 6));
    EXPECT_TRUE(Show(kLeft).orbitListView);
    EXPECT_TRUE(HasLine(kLeft, "Elements"));
    EXPECT_TRUE(Press(kLeft, 6));
    EXPECT_FALSE(Show(kLeft).orbitListView);
    EXPECT_TRUE(Press(kLeft, 0));
    EXPECT_EQ(1, Show(kLeft).orbitReference);
    EXPECT_TRUE(HasLine(kLeft, "Moon"));
    EXPECT_TRUE(Press(kLeft, 0));
    EXPECT_EQ(0, Show(kLeft).orbitReference);
    EXPECT_FALSE(Press(kLeft, 3)); // unlabelled

    // Surface: SPD runs through its three speeds and round again.
    EXPECT_TRUE(Press(kRight, 1));
    EXPECT_TRUE(Press(kRight, 1));
    EXPECT_EQ(2, Show(kRight).surfaceSpeed);
    EXPECT_TRUE(Press(kRight, 1));
    EXPECT_EQ(0, Show(kRight).surfaceSpeed);

    // Map: zoom from 1 up to 8 and no further, then back down to 1.
    Choose(kLeft, MfdModel::Mode::Map);
    EXPECT_EQ(1, Show(kLeft).mapZoom);
    EXPECT_FALSE(Press(kLeft, 7));
    for (int zoom = 2; zoom <= 8; ++zoom) {
        EXPECT_TRUE(Press(kLeft, 6));
        EXPECT_EQ(zoom, Show(kLeft).mapZoom);
    }
    EXPECT_FALSE(Press(kLeft, 6));
    EXPECT_EQ(8, Show(kLeft).mapZoom);
    EXPECT_TRUE(HasLine(kLeft, "8"));
    for (int zoom = 7; zoom >= 1; --zoom) {
        EXPECT_TRUE(Press(kLeft, 7));
        EXPECT_EQ(zoom, Show(kLeft).mapZoom);
    }
    EXPECT_FALSE(Press(kLeft, 7));

    // Comms: 108.00 MHz less one 50 kHz step wraps to the top of the band,
    // 117.95 MHz, and one step up wraps back. Each receiver has its own.
    Choose(kLeft, MfdModel::Mode::Comms);
    EXPECT_TRUE(Press(kLeft, 7));
    EXPECT_EQ(117950, Show(kLeft).commsFrequencyKhz[0]);
    EXPECT_TRUE(HasLine(kLeft, "117.95 MHz"));
    EXPECT_TRUE(Press(kLeft, 6));
    EXPECT_EQ(108000, Show(kLeft).commsFrequencyKhz[0]);
    EXPECT_TRUE(Press(kLeft, 6));
    EXPECT_TRUE(HasLine(kLeft, "108.05 MHz"));
    EXPECT_TRUE(Press(kLeft, 0)); // NAV2
    EXPECT_EQ(1, Show(kLeft).commsReceiver);
    EXPECT_TRUE(Press(kLeft, 7));
    EXPECT_EQ(108050, Show(kLeft).commsFrequencyKhz[0]);
    EXPECT_EQ(117950, Show(kLeft).commsFrequencyKhz[1]);

    // Nothing of this reached the other MFD.
    EXPECT_EQ(MfdModel::Mode::Surface, Show(kRight).mode);
    EXPECT_EQ(1, Show(kRight).mapZoom);
}

TEST_F(MfdTest, MenuKeyTogglesButtonDescriptions)
{
    std::vector<std::string> modeLabels = Labels(kLeft);
    EXPECT_EQ(nullptr, MfdModel::instance().buttonDescription(kLeft, 2));
    ASSERT_NE(nullptr, MfdModel::instance().buttonDescription(kLeft, 0));

    EXPECT_EQ(1, oapiSendMFDKey(kLeft, OAPI_KEY_GRAVE));
    EXPECT_EQ(MfdModel::Page::Menu, Show(kLeft).page);
    EXPECT_EQ(modeLabels, Labels(kLeft));
    EXPECT_NE("Orbit", MfdModel::instance().title(kLeft));
    // One line per labelled button (Orbit has four), each with its description.
    std::vector<std::string> lines = MfdModel::instance().displayLines(kLeft);
    ASSERT_EQ(4u, lines.size());
    for (int bt = 0; bt < MfdModel::kButtonCount; ++bt) {
        const char *label = oapiMFDButtonLabel(kLeft, bt);
        const char *description = MfdModel::instance().buttonDescription(kLeft, bt);
        EXPECT_EQ(label == nullptr, description == nullptr) << bt;
        if (description) {
            EXPECT_TRUE(HasLine(kLeft, description)) << description;
        }
    }

    // The buttons still work while their descriptions are shown.
    EXPECT_TRUE(Press(kLeft, 1));
    EXPECT_TRUE(Show(kLeft).orbitEquatorialFrame);
    EXPECT_EQ(MfdModel::Page::Menu, Show(kLeft).page);

    EXPECT_EQ(1, oapiSendMFDKey(kLeft, OAPI_KEY_GRAVE));
    EXPECT_EQ(MfdModel::Page::Mode, Show(kLeft).page);
    EXPECT_EQ("Orbit", MfdModel::instance().title(kLeft));

    // Other keys are not the MFD's.
    EXPECT_EQ(0, oapiSendMFDKey(kLeft, OAPI_KEY_T));
    EXPECT_EQ(MfdModel::Page::Mode, Show(kLeft).page);
}

TEST_F(MfdTest, SwitchedOffShowsNothingAndIgnoresInput)
{
    ASSERT_EQ(1, oapiSendMFDKey(kLeft, OAPI_KEY_F1));
    oapiToggleMFD_on(kLeft);
    EXPECT_FALSE(Show(kLeft).on);
    EXPECT_EQ(std::vector<std::string>(MfdModel::kButtonCount, "-"), Labels(kLeft));
    EXPECT_EQ(nullptr, MfdModel::instance().buttonDescription(kLeft, 0));
    EXPECT_FALSE(Press(kLeft, 0));
    EXPECT_EQ(0, oapiSendMFDKey(kLeft, OAPI_KEY_F1));
    EXPECT_EQ(0, oapiSendMFDKey(kLeft, OAPI_KEY_GRAVE));
    EXPECT_EQ("", MfdModel::instance().title(kLeft));
    EXPECT_TRUE(MfdModel::instance().displayLines(kLeft).empty());
    EXPECT_EQ(MfdModel::Mode::Orbit, Show(kLeft).mode);

    // The other MFD goes on as before.
    EXPECT_STREQ("ALT", oapiMFDButtonLabel(kRight, 0));
    EXPECT_TRUE(Press(kRight, 0));

    // On again: the mode's own page, as it was.
    oapiToggleMFD_on(kLeft);
    EXPECT_TRUE(Show(kLeft).on);
    EXPECT_EQ(MfdModel::Page::Mode, Show(kLeft).page);
    EXPECT_STREQ("REF", oapiMFDButtonLabel(kLeft, 0));
    EXPECT_TRUE(Press(kLeft, 0));
}

TEST_F(MfdTest, ArgumentsOutOfRange)
{
    for (int mfd : {-1, 2, 100}) {
        EXPECT_EQ(nullptr, MfdModel::instance().display(mfd));
        EXPECT_EQ(nullptr, oapiMFDButtonLabel(mfd, 0));
        EXPECT_FALSE(Press(mfd, 0));
        EXPECT_EQ(0, oapiSendMFDKey(mfd, OAPI_KEY_F1));
        oapiToggleMFD_on(mfd);
        EXPECT_EQ("", MfdModel::instance().title(mfd));
        EXPECT_TRUE(MfdModel::instance().displayLines(mfd).empty());
    }
    for (int bt : {-1, 12, 1000}) {
        EXPECT_EQ(nullptr, oapiMFDButtonLabel(kLeft, bt));
        EXPECT_EQ(nullptr, MfdModel::instance().buttonDescription(kLeft, bt));
        EXPECT_FALSE(Press(kLeft, bt));
    }
    ASSERT_EQ(1, oapiSendMFDKey(kLeft, OAPI_KEY_F1));
    EXPECT_FALSE(Press(kLeft, 12));
    EXPECT_FALSE(Press(kLeft, -1));
    EXPECT_EQ(MfdModel::Mode::Orbit, Show(kLeft).mode);
    // Nothing above switched anything off.
    EXPECT_TRUE(Show(kLeft).on);
    EXPECT_TRUE(Show(kRight).on);
}

TEST_F(MfdTest, ResetRestoresTheStart)
{
    Choose(kLeft, MfdModel::Mode::Map);
    ASSERT_TRUE(Press(kLeft, 6));
    oapiToggleMFD_on(kRight);
    ASSERT_EQ(1, oapiSendMFDKey(kLeft, OAPI_KEY_GRAVE));
    MfdModel::instance().reset();
    EXPECT_EQ(MfdModel::Mode::Orbit, Show(kLeft).mode);
    EXPECT_EQ(MfdModel::Page::Mode, Show(kLeft).page);
    EXPECT_EQ(1, Show(kLeft).mapZoom);
    EXPECT_TRUE(Show(kRight).on);
    EXPECT_EQ(MfdModel::Mode::Surface, Show(kRight).mode);
}

} // namespace
} // namespace headless
