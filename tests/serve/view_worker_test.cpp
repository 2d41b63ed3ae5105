// The 3D view's job: a picture's input copied once per change of its
// textures (the worker's drawing is ControlRoomTest's).

#include "apps/serve/view_worker.h"

#include <vector>

#include <gtest/gtest.h>

namespace serve {
namespace {

TEST(ViewWorkerTest, TexturesAreCopiedOncePerVersionOrStaticId)
{
    std::vector<headless::RenderMesh> meshes(1);
    std::vector<std::uint32_t> screen(16, 0xFF112233u), wall(4, 0xFF445566u);
    headless::ViewInput input;
    input.meshes = &meshes;
    input.textures = {{4, 4, screen.data(), 0, 5}, {2, 2, wall.data(), 9, 0}}; // version 5; static id 9
    ViewJob job;
    job.take(input, 12.5, Clock::time_point());
    const std::uint32_t *screenCopy = job.textures[0].pixels;
    EXPECT_NE(screen.data(), screenCopy);
    EXPECT_EQ(0xFF112233u, screenCopy[15]);

    // The same version and static id: the copies stay as they were.
    screen.assign(16, 0);
    wall.assign(4, 0);
    job.take(input, 13.0, Clock::time_point());
    EXPECT_EQ(screenCopy, job.textures[0].pixels);
    EXPECT_EQ(0xFF112233u, job.textures[0].pixels[15]);
    EXPECT_EQ(0xFF445566u, job.textures[1].pixels[3]);
    // A new version is copied again; a texture without one, every time.
    input.textures[0].version = 6;
    input.textures[1] = {2, 2, wall.data(), 0, 0};
    job.take(input, 13.5, Clock::time_point());
    EXPECT_EQ(0u, job.textures[0].pixels[15]);
    EXPECT_EQ(0u, job.textures[1].pixels[3]);
}

} // namespace
} // namespace serve
