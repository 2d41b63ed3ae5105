// The queues between the simulation and the pages: a page's outbox, the
// input line and the hub.

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "apps/serve/hub.h"
#include "apps/serve/input_queue.h"
#include "apps/serve/outbox.h"

namespace serve {
namespace {

OutMessagePtr Msg(const std::string &text)
{
    auto m = std::make_shared<OutMessage>();
    m->bytes = text;
    return m;
}

std::vector<std::string> TakeAll(Outbox &box)
{
    std::vector<std::string> out;
    while (OutMessagePtr m = box.take())
        out.push_back(m->bytes);
    return out;
}

TEST(OutboxTest, NewestOfEachStreamKeepsItsPlaceInLine)
{
    Outbox box;
    EXPECT_EQ(0u, box.put("area/0", Msg("screen 0, first")));
    EXPECT_EQ(0u, box.put("state", Msg("clock 1")));
    EXPECT_EQ(0u, box.put("area/1", Msg("screen 1")));
    EXPECT_EQ(1u, box.put("area/0", Msg("screen 0, second")));
    EXPECT_EQ(1u, box.put("state", Msg("clock 2")));
    EXPECT_EQ(3u, box.size());
    EXPECT_EQ((std::vector<std::string>{"screen 0, second", "clock 2", "screen 1"}), TakeAll(box));
    EXPECT_TRUE(box.empty());
    EXPECT_EQ(nullptr, box.take());
}

TEST(OutboxTest, NeverHoldsMoreThanItsBound)
{
    Outbox box;
    size_t dropped = 0;
    for (size_t i = 0; i < Outbox::kMaxWaiting + 10; ++i)
        dropped += box.put("stream/" + std::to_string(i), Msg(std::to_string(i)));
    EXPECT_EQ(Outbox::kMaxWaiting, box.size());
    EXPECT_EQ(10u, dropped);
    EXPECT_EQ("10", box.take()->bytes); // the oldest ten went
}

TEST(InputQueueTest, KeepsArrivalOrderAndCallsBackAPageThatFoundItFull)
{
    InputQueue line(2);
    int calledBack = 0;
    EXPECT_TRUE(line.tryPush({1, PauseMessage{true}}, [&] { ++calledBack; }));
    EXPECT_TRUE(line.tryPush({2, WarpMessage{10.0}}, [&] { ++calledBack; }));
    // Full: page 1's third input is not taken, and nothing of it is kept.
    EXPECT_FALSE(line.tryPush({1, CancelMessage{}}, [&] { ++calledBack; }));
    EXPECT_EQ(2u, line.size());
    EXPECT_EQ(0, calledBack);

    std::vector<QueuedInput> taken = line.drain();
    ASSERT_EQ(2u, taken.size());
    EXPECT_EQ(1u, taken[0].page);
    EXPECT_TRUE(std::get<PauseMessage>(taken[0].input).paused);
    EXPECT_EQ(2u, taken[1].page);
    EXPECT_DOUBLE_EQ(10.0, std::get<WarpMessage>(taken[1].input).warp);
    EXPECT_EQ(1, calledBack); // once, after the line emptied
    EXPECT_TRUE(line.tryPush({1, CancelMessage{}}, nullptr));
    EXPECT_EQ(1u, line.drain().size());
    EXPECT_EQ(1, calledBack);
    EXPECT_EQ(1u, InputQueue(0).capacity()); // a line always holds one
}

TEST(InputQueueTest, APageCalledBackMayPushAtOnce)
{
    InputQueue line(1);
    ASSERT_TRUE(line.tryPush({1, CancelMessage{}}, nullptr));
    bool pushed = false;
    ASSERT_FALSE(line.tryPush({2, PauseMessage{false}}, [&] { pushed = line.tryPush({2, PauseMessage{false}}, nullptr); }));
    EXPECT_EQ(1u, line.drain().size());
    EXPECT_TRUE(pushed);
    std::vector<QueuedInput> next = line.drain();
    ASSERT_EQ(1u, next.size());
    EXPECT_EQ(2u, next[0].page);
}

class RecordingPeer : public Peer {
public:
    void deliver(const std::string &stream, const OutMessagePtr &msg) override
    {
        got.push_back(stream + "=" + msg->bytes);
    }
    std::vector<std::string> got;
};

TEST(HubTest, ANewPageGetsTheHelloFirstThenTheNewestOfEveryStream)
{
    Hub hub;
    hub.publish("area/0", Msg("a"));
    hub.publish("hello", Msg("h"));
    hub.publish("state", Msg("s1"));
    hub.publish("area/0", Msg("b"));
    hub.publish("state", Msg("s2"));

    auto first = std::make_shared<RecordingPeer>();
    hub.attach(first);
    EXPECT_EQ((std::vector<std::string>{"hello=h", "area/0=b", "state=s2"}), first->got);

    auto second = std::make_shared<RecordingPeer>();
    hub.attach(second);
    EXPECT_EQ(2u, hub.pageCount());
    hub.publish("area/1", Msg("c"));
    EXPECT_EQ("area/1=c", first->got.back());
    EXPECT_EQ("area/1=c", second->got.back());

    hub.detach(first.get());
    hub.publish("area/1", Msg("d"));
    EXPECT_EQ("area/1=c", first->got.back());
    EXPECT_EQ("area/1=d", second->got.back());
    hub.detachAll();
    EXPECT_EQ(0u, hub.pageCount());
}

TEST(HubTest, ClickableAreasFollowTheLayout)
{
    Hub hub;
    EXPECT_FALSE(hub.clickableAreas().contains(303));
    CockpitLayout layout;
    layout.areas = {{0, 1024, 1024, false}, {300, 256, 256, true}, {303, 256, 256, true}};
    layout.view.width = 960;
    layout.view.height = 540;
    hub.setLayout(layout);
    ClickableAreas clickable = hub.clickableAreas();
    EXPECT_EQ((std::vector<int>{300, 303}), clickable.ids);
    EXPECT_EQ(960, clickable.viewWidth); // clicks on the view are checked against its size
    EXPECT_EQ(540, clickable.viewHeight);
    EXPECT_EQ(3u, hub.layout().areas.size());
}

} // namespace
} // namespace serve
