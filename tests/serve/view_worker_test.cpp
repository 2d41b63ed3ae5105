// The 3D view's worker: a picture's input copied once per change of its
// textures, one picture at a time, handed to the encoder as a frame of the
// view's stream.

#include "apps/serve/view_worker.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace serve {
namespace {

TEST(ViewWorkerTest, TexturesAreCopiedOncePerVersionAndOnePictureIsDrawnAtATime)
{
    std::vector<headless::RenderMesh> meshes(1);
    std::vector<std::uint32_t> screen(4 * 4, 0xFF112233u), wall(2 * 2, 0xFF445566u);
    headless::ViewInput input;
    input.meshes = &meshes;
    input.textures = {{4, 4, screen.data(), 0, 5}, {2, 2, wall.data(), 9, 0}};

    ViewJob job;
    job.take(input, 12.5, Clock::time_point());
    ASSERT_EQ(2u, job.textures.size());
    const std::uint32_t *screenCopy = job.textures[0].pixels, *wallCopy = job.textures[1].pixels;
    EXPECT_NE(screen.data(), screenCopy);
    EXPECT_EQ(0xFF112233u, screenCopy[15]);
    EXPECT_EQ(0xFF445566u, wallCopy[3]);
    EXPECT_EQ(5u, job.textures[0].version);
    EXPECT_EQ(12.5, job.simTimeSeconds);

    // Same version, same static id: the copies stay as they are.
    screen.assign(16, 0xFF000000u);
    wall.assign(4, 0xFF000000u);
    job.take(input, 13.0, Clock::time_point());
    EXPECT_EQ(screenCopy, job.textures[0].pixels);
    EXPECT_EQ(0xFF112233u, job.textures[0].pixels[15]);
    EXPECT_EQ(0xFF445566u, job.textures[1].pixels[3]);
    // A new version is copied again; a texture without one, every time.
    input.textures[0].version = 6;
    input.textures[1] = {2, 2, wall.data(), 0, 0};
    job.take(input, 13.5, Clock::time_point());
    EXPECT_EQ(0xFF000000u, job.textures[0].pixels[15]);
    EXPECT_EQ(0xFF000000u, job.textures[1].pixels[3]);

    // One job at a time; without its thread the worker draws at once and
    // the picture waits in the encoder as a frame of the view.
    Hub hub;
    ServerStats stats;
    FrameEncoder encoder(hub, stats);
    ViewWorker worker(encoder, stats);
    EXPECT_EQ(nullptr, worker.vacant()) << "no size yet";
    worker.setSize(64, 36);
    ViewJob *vacant = worker.vacant();
    ASSERT_NE(nullptr, vacant);
    EXPECT_EQ(nullptr, worker.vacant());
    vacant->take(input, 14.0, Clock::time_point());
    worker.post();
    EXPECT_FALSE(worker.failed());
    EXPECT_EQ(1u, stats.viewsRendered.load());
    EXPECT_EQ(1u, encoder.waiting());
    struct Last : Peer {
        void deliver(const std::string &stream, const OutMessagePtr &msg) override
        {
            std::string_view header, image;
            if (msg->binary && SplitFrameMessage(msg->bytes, &header, &image))
                frames.emplace_back(stream, nlohmann::json::parse(header));
        }
        std::vector<std::pair<std::string, nlohmann::json>> frames;
    };
    auto page = std::make_shared<Last>();
    hub.attach(page);
    encoder.encodeWaiting();
    ASSERT_EQ(1u, page->frames.size());
    EXPECT_EQ("view", page->frames[0].first);
    EXPECT_EQ("view", page->frames[0].second["stream"]);
    EXPECT_EQ(64, page->frames[0].second["width"]);
    EXPECT_EQ(36, page->frames[0].second["height"]);
    EXPECT_EQ(14.0, page->frames[0].second["simTime"]);
    EXPECT_NE(nullptr, worker.vacant()) << "free again once drawn";
    hub.detachAll();
}

} // namespace
} // namespace serve
