#include "apps/serve/serve_options.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace serve {
namespace {

bool Parse(std::vector<std::string> args, ServeOptions *out, std::string *error)
{
    args.insert(args.begin(), "korvane-serve");
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    return ParseServeOptions(static_cast<int>(argv.size()), argv.data(), *out, error);
}

TEST(ServeOptionsTest, DefaultsServeTheDefaultScenarioOnLoopbackPort8730)
{
    ServeOptions o;
    std::string error;
    ASSERT_TRUE(Parse({}, &o, &error));
    EXPECT_EQ("127.0.0.1", o.listenAddress);
    EXPECT_EQ(8730, o.port);
    EXPECT_EQ("Scenarios/Korvane/Default.scn", o.scenario);
    EXPECT_DOUBLE_EQ(1.0, o.warp);
    EXPECT_TRUE(o.network);
    EXPECT_EQ(960, o.viewWidth);
    EXPECT_EQ(540, o.viewHeight);
    EXPECT_DOUBLE_EQ(5.0, o.viewRate);
    EXPECT_FALSE(o.help);
}

TEST(ServeOptionsTest, EveryOptionAndItsLimits)
{
    ServeOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"--port", "0", "--listen", "0.0.0.0", "--warp", "100000", "--fps", "120", "--max-pages", "1",
                       "--root", "r", "--scenario", "s.scn", "--cockpit", "2", "--no-network", "--view-size",
                       "3840x2160", "--view-rate", "0"},
                      &o, &error))
        << error;
    EXPECT_EQ(0, o.port);
    EXPECT_EQ("0.0.0.0", o.listenAddress);
    EXPECT_DOUBLE_EQ(100000.0, o.warp);
    EXPECT_EQ(120, o.framesPerSecond);
    EXPECT_EQ(1, o.maxPages);
    EXPECT_EQ("r", o.root);
    EXPECT_EQ("s.scn", o.scenario);
    EXPECT_EQ(2, o.cockpitPosition);
    EXPECT_FALSE(o.network);
    EXPECT_EQ(3840, o.viewWidth);
    EXPECT_EQ(2160, o.viewHeight);
    EXPECT_DOUBLE_EQ(0.0, o.viewRate);

    const std::vector<std::vector<std::string>> bad = {
        {"--port", "65536"}, {"--port", "-1"},      {"--port", "80.5"},     {"--port"},
        {"--warp", "0.09"},  {"--warp", "100001"},  {"--warp", "nan"},      {"--warp", "1e999"},
        {"--fps", "0"},      {"--fps", "121"},      {"--max-pages", "0"},   {"--listen", ""},
        {"--frobnicate"},    {"--warp", "10x"},
        {"--view-size", "15x540"}, {"--view-size", "960x2161"}, {"--view-size", "3841x10"}, {"--view-size", "960"},
        {"--view-size", "960x"}, {"--view-size", "x540"}, {"--view-size", "960.5x540"}, {"--view-rate", "-1"},
        {"--view-rate", "31"}, {"--view-rate", "nan"},
    };
    for (const auto &args : bad) {
        ServeOptions b;
        error.clear();
        EXPECT_FALSE(Parse(args, &b, &error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
    ASSERT_TRUE(Parse({"--help"}, &o, &error));
    EXPECT_TRUE(o.help);
    EXPECT_NE(std::string::npos, ServeUsageText().find("--listen ADDR"));
}

} // namespace
} // namespace serve
