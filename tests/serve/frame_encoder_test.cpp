#include "apps/serve/frame_encoder.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace serve {
namespace {

// Keeps the headers of every frame published, in publishing order.
class Frames : public Peer {
public:
    void deliver(const std::string &, const OutMessagePtr &msg) override
    {
        std::string_view header, image;
        if (!msg->binary || !SplitFrameMessage(msg->bytes, &header, &image))
            return;
        std::lock_guard<std::mutex> lock(mutex);
        got.push_back(nlohmann::json::parse(header));
    }
    std::mutex mutex;
    std::vector<nlohmann::json> got;
};

AreaPicture Picture(int area, int drawn)
{
    AreaPicture p;
    p.area = area;
    p.width = 64;
    p.height = 64;
    p.pixels = std::make_shared<const std::vector<std::uint32_t>>(64 * 64, 0xFF000000u | static_cast<std::uint32_t>(drawn));
    p.drawnAt = Clock::time_point(std::chrono::microseconds(drawn));
    return p;
}

TEST(FrameEncoderTest, EachAreasFramesLeaveInTheOrderTheyWereDrawn)
{
    Hub hub;
    ServerStats stats;
    auto frames = std::make_shared<Frames>();
    hub.attach(frames);
    FrameEncoder encoder(hub, stats);
    encoder.start(2);
    const int kPictures = 300;
    for (int i = 1; i <= kPictures; ++i)
        encoder.submit(Picture(i % 3, i));
    while (encoder.waiting() > 0 || stats.framesEncoded + stats.framesReplaced < kPictures)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    encoder.stop();

    // Every picture was either sent or replaced by a newer one of its area.
    EXPECT_EQ(static_cast<std::uint64_t>(kPictures), stats.framesEncoded + stats.framesReplaced);
    std::lock_guard<std::mutex> lock(frames->mutex);
    ASSERT_EQ(stats.framesEncoded.load(), frames->got.size());
    std::map<int, std::int64_t> lastDrawn;
    std::uint64_t lastSeq = 0;
    for (const nlohmann::json &f : frames->got) {
        EXPECT_EQ(lastSeq + 1, f["seq"].get<std::uint64_t>()); // numbered as published
        lastSeq = f["seq"];
        int area = f["area"];
        EXPECT_GT(f["drawnAtUs"].get<std::int64_t>(), lastDrawn[area]);
        lastDrawn[area] = f["drawnAtUs"];
    }
    // The newest picture of each area always goes out.
    EXPECT_EQ(kPictures - 2, lastDrawn[1]);
    EXPECT_EQ(kPictures - 1, lastDrawn[2]);
    EXPECT_EQ(kPictures, lastDrawn[0]);
}

TEST(FrameEncoderTest, APictureThatDoesNotFillItsSizeIsDropped)
{
    Hub hub;
    ServerStats stats;
    auto frames = std::make_shared<Frames>();
    hub.attach(frames);
    FrameEncoder encoder(hub, stats);
    AreaPicture p = Picture(0, 1);
    p.pixels = std::make_shared<const std::vector<std::uint32_t>>(10, 0xFF000000u);
    encoder.submit(std::move(p));
    encoder.submit(Picture(1, 2));
    encoder.encodeWaiting();
    ASSERT_EQ(1u, frames->got.size());
    EXPECT_EQ(1, frames->got[0]["area"]);
    EXPECT_EQ(0u, encoder.waiting());
}

} // namespace
} // namespace serve
