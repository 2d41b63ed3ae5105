// korvane-preview's command line.

#include <gtest/gtest.h>

#include "apps/preview_options.h"

namespace {

bool Parse(std::vector<std::string> args, preview::Options &out, std::string *error)
{
    std::vector<char *> argv;
    args.insert(args.begin(), "korvane-preview");
    for (std::string &a : args)
        argv.push_back(&a[0]);
    return preview::ParseOptions(static_cast<int>(argv.size()), argv.data(), out, error);
}

TEST(PreviewOptionsTest, DefaultsAndEveryOption)
{
    preview::Options o;
    std::string error;
    ASSERT_TRUE(Parse({}, o, &error));
    EXPECT_EQ(o.scenario, "Scenarios/Korvane/Default.scn");
    EXPECT_EQ(o.durationSeconds, 1800.0);
    EXPECT_EQ(o.stepSeconds, 1.0);
    EXPECT_TRUE(o.network);
    EXPECT_TRUE(o.pictures3d);
    EXPECT_FALSE(o.exterior);
    EXPECT_TRUE(o.viewPositions.empty());

    ASSERT_TRUE(Parse({"--root", "r", "--scenario", "s.scn", "--duration", "60", "--step", "0.5", "--out", "o",
                       "--save", "x.scn", "--report", "r.json", "--cockpit", "2", "--click", "212@10", "--key", "ctrl+t@60.5", "--input",
                       "Station@61", "--no-network", "--render-all", "--click-at", "1919,0@70", "--view", "1", "--view",
                       "2", "--look", "-30.5,12", "--external", "--no-3d"},
                      o, &error))
        << error;
    EXPECT_EQ(o.root, "r");
    EXPECT_EQ(o.reportPath, "r.json");
    EXPECT_EQ(o.durationSeconds, 60.0);
    EXPECT_EQ(o.stepSeconds, 0.5);
    EXPECT_EQ(o.cockpitPosition, 2);
    EXPECT_FALSE(o.network);
    EXPECT_TRUE(o.renderAll);
    ASSERT_EQ(o.actions.size(), 4u);
    EXPECT_EQ(o.actions[0].kind, preview::TimedAction::Kind::Click);
    EXPECT_EQ(o.actions[0].what, "212");
    EXPECT_EQ(o.actions[1].timeSeconds, 60.5);
    EXPECT_EQ(o.actions[2].what, "Station");
    EXPECT_EQ(o.actions[3].kind, preview::TimedAction::Kind::ClickAt);
    EXPECT_EQ(o.actions[3].pixelX, 1919);
    EXPECT_EQ(o.actions[3].pixelY, 0);
    EXPECT_EQ(o.actions[3].timeSeconds, 70.0);
    EXPECT_EQ(o.viewPositions, (std::vector<int>{1, 2}));
    EXPECT_EQ(o.lookYawDeg, -30.5);
    EXPECT_EQ(o.lookPitchDeg, 12.0);
    EXPECT_TRUE(o.exterior);
    EXPECT_FALSE(o.pictures3d);
}

TEST(PreviewOptionsTest, BadArgumentsAreRefusedWithAReason)
{
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--step", "0"}, {"--step", "-1"}, {"--duration", "abc"}, {"--duration"}, {"--report"}, {"--cockpit", "1.5"},
             {"--click", "212"}, {"--key", "ctrl+t@soon"}, {"--input", "x@-3"}, {"--frobnicate"},
             // Pixels outside the 1920 x 1080 view, or not whole; no time.
             {"--click-at", "1920,5@1"}, {"--click-at", "5,1080@1"}, {"--click-at", "-1,5@1"},
             {"--click-at", "5.5,5@1"}, {"--click-at", "5,5"}, {"--click-at", "5@1"}, {"--click-at", "a,b@1"},
             {"--view"}, {"--view", "x"}, {"--view", "1.5"}, {"--look", "10"}, {"--look", "10,nan"},
             {"--look", "inf,0"}}) {
        preview::Options o;
        std::string error;
        EXPECT_FALSE(Parse(bad, o, &error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
    // The text may hold '@' itself: the time is after the last one.
    preview::Options o;
    std::string error;
    ASSERT_TRUE(Parse({"--input", "a@b@12"}, o, &error));
    EXPECT_EQ(o.actions[0].what, "a@b");
    EXPECT_EQ(o.actions[0].timeSeconds, 12.0);
}

TEST(PreviewOptionsTest, KeyCombinations)
{
    unsigned char k[256];
    unsigned int key = 0;
    ASSERT_TRUE(preview::ParseKeyCombination("Ctrl+T", k, &key));
    EXPECT_EQ(key, 0x14u);
    EXPECT_EQ(k[0x14], 0x80);
    EXPECT_EQ(k[0x1D], 0x80);
    EXPECT_EQ(k[0x2A], 0);
    ASSERT_TRUE(preview::ParseKeyCombination("rctrl+shift+s", k, &key));
    EXPECT_EQ(key, 0x1Fu);
    EXPECT_EQ(k[0x9D], 0x80);
    EXPECT_EQ(k[0x2A], 0x80);
    EXPECT_FALSE(preview::ParseKeyCombination("ctrl+", k, &key));
    EXPECT_FALSE(preview::ParseKeyCombination("hyper+t", k, &key));
    EXPECT_FALSE(preview::ParseKeyCombination("", k, &key));
}

} // namespace
