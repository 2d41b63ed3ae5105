// The control room on the simulation thread, with the building's real
// module: what a page's input does to it, and what it publishes.

#include "apps/serve/control_room.h"

#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "apps/serve/key_codes.h"
#include "headless/mfd.h"
#include "headless/simulator.h"
#include "headless/surfaces.h"
#include "headless/vc.h"
#include "headless/world.h"

namespace serve {
namespace {

using nlohmann::json;

// The scenario of these tests: a station and a relay, and the building
// following the station.
const char kScenario[] = "BEGIN_ENVIRONMENT\n"
                         "  Date MJD 60650.5\n"
                         "END_ENVIRONMENT\n"
                         "BEGIN_FOCUS\n"
                         "  Ship Houston\n"
                         "END_FOCUS\n"
                         "BEGIN_SHIPS\n"
                         "Station:Generic\n"
                         "  STATUS Orbiting Earth\n"
                         "  ELEMENTS 6776000 0.0015 51.6 120 160 25 60650.5\n"
                         "END\n"
                         "Relay:Generic\n"
                         "  STATUS Orbiting Earth\n"
                         "  ELEMENTS 12500000 0.35 28.5 40 100 300 60650.5\n"
                         "END\n"
                         "Houston:Korvane\n"
                         "  STATUS Landed Earth\n"
                         "  POS -95.09 29.5593\n"
                         "  TARGET Station\n"
                         "END\n"
                         "END_SHIPS\n";

// The centre of the right MFD's power button in the building's frame (m).
const VECTOR3 kRightPowerButton = {{0.499038, -1.958942, -5.357811}};

class Page : public Peer {
public:
    void deliver(const std::string &stream, const OutMessagePtr &msg) override
    {
        if (msg->binary) {
            std::string_view header, image;
            if (SplitFrameMessage(msg->bytes, &header, &image))
                frames[stream].push_back(json::parse(header));
        } else {
            newest[stream] = json::parse(msg->bytes);
        }
    }
    std::map<std::string, json> newest;
    std::map<std::string, std::vector<json>> frames;
};

class ControlRoomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One file per test and process: CTest runs the tests side by side.
        scenarioPath_ = testing::TempDir() + "control_room_" +
                        testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                        std::to_string(getpid()) + ".scn";
        std::ofstream(scenarioPath_) << kScenario;
        room_ = std::make_unique<ControlRoom>(hub_, encoder_, inputs_, stats_);
        ControlRoomOptions options;
        options.root = KORVANE_ROOT_DIR;
        options.scenario = scenarioPath_;
        options.network = false;
        std::string error;
        ASSERT_TRUE(room_->load(options, &error)) << error;
        page_ = std::make_shared<Page>();
        hub_.attach(page_);
    }

    void TearDown() override
    {
        hub_.detachAll();
        room_.reset();
        std::remove(scenarioPath_.c_str());
    }

    // Pushes page input as the network side would, then runs one step.
    void send(std::vector<PageInput> inputs, double wallSeconds = 1.0 / 30.0)
    {
        for (PageInput &in : inputs)
            ASSERT_TRUE(inputs_.tryPush({1, std::move(in)}, nullptr));
        step(wallSeconds);
    }

    void step(double wallSeconds = 1.0 / 30.0)
    {
        room_->step(wallSeconds);
        encoder_.encodeWaiting();
    }

    // Runs steps until a new frame of the area arrives; its header.
    json nextFrame(int area)
    {
        std::vector<json> &frames = page_->frames[AreaStream(area)];
        size_t before = frames.size();
        for (int i = 0; i < 20 && frames.size() == before; ++i)
            step(0.2);
        return frames.size() > before ? frames.back() : json();
    }

    static std::vector<std::string> Texts(const json &frame) { return frame["texts"].get<std::vector<std::string>>(); }

    static KeyMessage CtrlT() { return KeyMessage{"KeyT", KeyCodeOf("KeyT"), true, false, false}; }

    double simTime() const { return headless::World::instance().simTime(); }

    Hub hub_;
    ServerStats stats_;
    InputQueue inputs_{64};
    FrameEncoder encoder_{hub_, stats_};
    std::unique_ptr<ControlRoom> room_;
    std::shared_ptr<Page> page_;
    std::string scenarioPath_;
};

TEST_F(ControlRoomTest, APageGetsTheCockpitThenEveryAreaAsItIsFirstDrawn)
{
    ASSERT_TRUE(page_->newest.count("hello"));
    const json &hello = page_->newest["hello"];
    std::vector<int> ids;
    for (const json &a : hello["areas"])
        ids.push_back(a["id"]);
    // The screens and the two MFD label panels, as registered by the building.
    EXPECT_EQ((std::vector<int>{0, 1, 2, 300, 303}), ids);
    EXPECT_EQ(1024, hello["areas"][0]["width"]);
    EXPECT_FALSE(hello["areas"][0]["clickable"].get<bool>());
    EXPECT_EQ(256, hello["areas"][4]["width"]);
    EXPECT_EQ(256, hello["areas"][4]["height"]);
    EXPECT_TRUE(hello["areas"][4]["clickable"].get<bool>());
    EXPECT_EQ((std::vector<int>{0, 1}), hello["mfds"].get<std::vector<int>>());
    EXPECT_EQ("Houston", page_->newest["state"]["focus"]);
    EXPECT_EQ((std::vector<std::string>{"Station", "Relay", "Houston"}), page_->newest["vessels"]["names"]);
    EXPECT_FALSE(page_->newest["inputbox"]["open"].get<bool>());

    step();
    for (int area : {0, 1, 2, 300, 303})
        ASSERT_EQ(1u, page_->frames[AreaStream(area)].size()) << area;
    const json &screen0 = page_->frames["area/0"][0];
    EXPECT_EQ(1024, screen0["width"]);
    std::vector<std::string> texts = Texts(screen0);
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Target: Station"));
    // Frames are numbered over all streams.
    std::vector<std::uint64_t> seqs;
    for (int area : {0, 1, 2, 300, 303})
        seqs.push_back(page_->frames[AreaStream(area)][0]["seq"]);
    std::sort(seqs.begin(), seqs.end());
    EXPECT_EQ((std::vector<std::uint64_t>{1, 2, 3, 4, 5}), seqs);

    // A redraw that paints the same picture is not sent again.
    std::uint64_t unchanged = stats_.framesUnchanged.load();
    oapiVCTriggerRedrawArea(-1, 303);
    step();
    EXPECT_EQ(1u, page_->frames["area/303"].size());
    EXPECT_EQ(unchanged + 1, stats_.framesUnchanged.load());
}

TEST_F(ControlRoomTest, CtrlTOpensTheBoxAndTheTypedNameBecomesScreen0sTarget)
{
    send({CtrlT()});
    json box = page_->newest["inputbox"];
    ASSERT_TRUE(box["open"].get<bool>());
    EXPECT_EQ("Input Target Vessel", box["title"]);
    EXPECT_EQ(20, box["visibleLength"]);
    EXPECT_EQ("", box["rejected"]);

    // The box is modal: keys meanwhile do not reach the building.
    std::uint64_t ignored = stats_.inputsIgnored.load();
    send({KeyMessage{"KeyS", KeyCodeOf("KeyS"), false, false, false}});
    EXPECT_EQ(ignored + 1, stats_.inputsIgnored.load());

    send({TextMessage{"Nowhere"}});
    box = page_->newest["inputbox"];
    EXPECT_TRUE(box["open"].get<bool>());
    EXPECT_EQ("Nowhere", box["rejected"]);

    send({TextMessage{"Relay"}});
    EXPECT_FALSE(page_->newest["inputbox"]["open"].get<bool>());
    std::vector<std::string> texts = Texts(nextFrame(0));
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Target: Relay"));

    // Escape closes the box without a target change.
    send({CtrlT()});
    ASSERT_TRUE(page_->newest["inputbox"]["open"].get<bool>());
    EXPECT_EQ("", page_->newest["inputbox"]["rejected"]); // a new box starts clean
    send({CancelMessage{}});
    EXPECT_FALSE(page_->newest["inputbox"]["open"].get<bool>());
    texts = Texts(nextFrame(0));
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Target: Relay"));
}

TEST_F(ControlRoomTest, APanelClickIsTheCockpitClickAtThatPointOfTheTexture)
{
    step();
    const headless::VcArea *panel = headless::VirtualCockpit::instance().area(303);
    ASSERT_NE(nullptr, panel);
    const headless::Surface *texture = headless::SurfaceFromHandle(panel->texture);
    ASSERT_NE(nullptr, texture);
    struct Asked {
        SURFHANDLE texture;
        double u, v;
    };
    std::vector<Asked> asked;
    room_->setTexturePoint([&](const Vessel &, SURFHANDLE t, double u, double v, VECTOR3 *p) {
        asked.push_back({t, u, v});
        *p = kRightPowerButton;
        return true;
    });
    EXPECT_TRUE(page_->newest["mfd/1"]["on"].get<bool>());
    EXPECT_GT(Texts(page_->frames["area/303"].back()).size(), 3u);

    send({ClickMessage{303, 0.25, 0.5}});
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ(panel->texture, asked[0].texture);
    // A quarter across and half down the 256-pixel panel, on its texture.
    EXPECT_DOUBLE_EQ((panel->rect.left + 64.0) / texture->width(), asked[0].u);
    EXPECT_DOUBLE_EQ((panel->rect.top + 128.0) / texture->height(), asked[0].v);
    step();
    EXPECT_FALSE(page_->newest["mfd/1"]["on"].get<bool>());
    // A switched-off MFD's panel shows only its frames and SEL, MNU, PWR.
    EXPECT_EQ((std::vector<std::string>{"SEL", "MNU", "PWR"}), Texts(page_->frames["area/303"].back()));

    // A point the mapping does not find is no click at all.
    room_->setTexturePoint([](const Vessel &, SURFHANDLE, double, double, VECTOR3 *) { return false; });
    std::uint64_t ignored = stats_.inputsIgnored.load();
    send({ClickMessage{303, 0.5, 0.5}});
    EXPECT_EQ(ignored + 1, stats_.inputsIgnored.load());
    // Nor is a click on an area the cockpit no longer has.
    send({ClickMessage{999, 0.5, 0.5}});
    EXPECT_EQ(ignored + 2, stats_.inputsIgnored.load());
}

TEST_F(ControlRoomTest, TheViewIsDrawnForWatchingPagesWhenItChangesAndAClickOnItPressesTheButtonSeenThere)
{
    // From the seat at 40 degrees the left MFD's select button (-0.685202,
    // -1.958942, -5.380787) appears at 480 + dx / dz / 0.64706 x 480, 270 +
    // dy / dz / 0.36397 x 270 = (166.08, 457.35) of the 960 x 540 view.
    const json &view = page_->newest["hello"]["view"];
    EXPECT_EQ(960, view["width"]);
    EXPECT_EQ(540, view["height"]);
    ASSERT_EQ(30u, view["zones"].size()); // every button of both MFDs
    auto select = std::find_if(view["zones"].begin(), view["zones"].end(), [](const json &z) { return z["area"] == 214; });
    ASSERT_NE(view["zones"].end(), select);
    EXPECT_NEAR(166.08, (*select)["x"].get<double>(), 0.01);
    EXPECT_NEAR(457.35, (*select)["y"].get<double>(), 0.01);

    // While the first step's areas are encoded the view waits for the next.
    const std::vector<json> &frames = page_->frames["view"];
    step();
    EXPECT_TRUE(frames.empty());
    step();
    ASSERT_EQ(1u, frames.size());
    EXPECT_EQ(960, frames[0]["width"]);
    // Paused, nothing the view shows changes: no new pictures.
    send({PauseMessage{true}});
    for (int i = 0; i < 8; ++i)
        step(0.25);
    const size_t settled = frames.size();
    for (int i = 0; i < 8; ++i)
        step(0.25);
    EXPECT_EQ(settled, frames.size());

    // A click on the select button's pixel selects the MFD's mode, and the
    // view shows it; half-way to the menu button, (187.87, 456.03), nothing.
    send({ViewClickMessage{166, 457}}, 0.25);
    step(0.25);
    EXPECT_EQ("Mode selection", page_->newest["mfd/0"]["title"]);
    std::vector<std::string> labels = Texts(page_->frames["area/300"].back());
    EXPECT_NE(labels.end(), std::find(labels.begin(), labels.end(), "ORB"));
    EXPECT_GT(frames.size(), settled);
    std::uint64_t ignored = stats_.inputsIgnored.load();
    send({ViewClickMessage{187, 456}}, 0.25);
    EXPECT_EQ(ignored + 1, stats_.inputsIgnored.load());

    // No page watching, no view, though the right MFD (its select button at
    // (748.05, 457.36)) changes.
    hub_.detachAll();
    std::uint64_t drawn = stats_.viewsRendered.load();
    send({ViewClickMessage{748, 457}}, 0.25);
    for (int i = 0; i < 4; ++i)
        step(0.25);
    EXPECT_EQ("Mode selection", headless::MfdModel::instance().title(1));
    EXPECT_EQ(drawn, stats_.viewsRendered.load());
}

TEST_F(ControlRoomTest, WithoutTheViewTheHelloSaysSoAndTheViewTakesNoClicks)
{
    ControlRoomOptions options;
    options.root = KORVANE_ROOT_DIR;
    options.scenario = scenarioPath_;
    options.network = false;
    options.viewRate = 0.0;
    std::string error;
    ASSERT_TRUE(room_->load(options, &error)) << error;
    EXPECT_EQ(0, page_->newest["hello"]["view"]["width"]);
    EXPECT_EQ(0, hub_.clickableAreas().viewWidth); // so the pages' viewclick messages are refused
    std::uint64_t ignored = stats_.inputsIgnored.load();
    send({ViewClickMessage{166, 457}}); // one queued before is ignored
    step(0.25);
    EXPECT_EQ(ignored + 1, stats_.inputsIgnored.load());
    EXPECT_TRUE(page_->frames["view"].empty());
}

TEST_F(ControlRoomTest, PauseStopsTimeButNotTheButtonsAndWarpScalesTheSteps)
{
    room_->setTexturePoint([](const Vessel &, SURFHANDLE, double, double, VECTOR3 *p) {
        *p = kRightPowerButton;
        return true;
    });
    step();
    double t0 = simTime();
    send({PauseMessage{true}}, 1.0);
    EXPECT_TRUE(page_->newest["state"]["paused"].get<bool>());
    step(1.0);
    EXPECT_DOUBLE_EQ(t0, simTime());
    send({ClickMessage{303, 0.3, 0.9}});
    step();
    EXPECT_FALSE(page_->newest["mfd/1"]["on"].get<bool>());

    // In arrival order, whichever page sent them: the last word counts.
    ASSERT_TRUE(inputs_.tryPush({1, PauseMessage{false}}, nullptr));
    ASSERT_TRUE(inputs_.tryPush({2, WarpMessage{100.0}}, nullptr));
    ASSERT_TRUE(inputs_.tryPush({1, WarpMessage{10.0}}, nullptr));
    step(0.1);
    EXPECT_FALSE(room_->paused());
    EXPECT_DOUBLE_EQ(10.0, room_->warp());
    EXPECT_DOUBLE_EQ(10.0, page_->newest["state"]["warp"].get<double>());
    EXPECT_NEAR(t0 + 1.0, simTime(), 1e-9); // 0.1 s of wall-clock time at 10 times

    // A stall of the machine is no giant step: beyond half a second it is lag.
    step(2.0);
    EXPECT_NEAR(t0 + 6.0, simTime(), 1e-9);
    EXPECT_NEAR(1.5, room_->lagSeconds(), 1e-9);
}

} // namespace
} // namespace serve
