#include "apps/serve/view_worker.h"

#include <cstdio>
#include <string>

namespace serve {

void ViewJob::take(const headless::ViewInput &input, double simTime, Clock::time_point at)
{
    view = input.view;
    meshes = *input.meshes;
    textures = input.textures;
    simTimeSeconds = simTime;
    drawnAt = at;
    pixels_.resize(textures.size());
    keys_.resize(textures.size(), 0);
    for (size_t i = 0; i < textures.size(); ++i) {
        headless::RenderTexture &t = textures[i];
        const std::uint64_t key = t.staticId ? t.staticId : t.version;
        const size_t size = t.pixels && t.width > 0 && t.height > 0
                                ? static_cast<size_t>(t.width) * static_cast<size_t>(t.height)
                                : 0;
        if (key == 0 || key != keys_[i] || pixels_[i].size() != size) {
            pixels_[i].assign(t.pixels, t.pixels + size);
            keys_[i] = key;
        }
        t.pixels = size ? pixels_[i].data() : nullptr;
    }
}

void ViewWorker::setSize(int width, int height)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!taken_)
        image_ = std::make_unique<headless::Surface>(width, height);
}

void ViewWorker::start()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void ViewWorker::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    // A job posted but not drawn is dropped; the next one is vacant again.
    taken_ = pending_ = false;
}

ViewJob *ViewWorker::vacant()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (taken_ || !image_ || failed_.load())
        return nullptr;
    taken_ = true;
    return &job_;
}

void ViewWorker::post(bool publish)
{
    bool here = false;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!taken_ || pending_)
            return;
        pending_ = true;
        publish_ = publish;
        here = !thread_.joinable();
    }
    if (here) {
        draw(publish);
        std::lock_guard<std::mutex> lock(mutex_);
        taken_ = pending_ = false;
        return;
    }
    wake_.notify_one();
}

void ViewWorker::run()
{
    for (;;) {
        bool publish = true;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || pending_; });
            if (stopping_)
                return;
            publish = publish_;
        }
        draw(publish);
        std::lock_guard<std::mutex> lock(mutex_);
        taken_ = pending_ = false;
    }
}

void ViewWorker::draw(bool publish)
{
    Clock::time_point start = Clock::now();
    std::string error;
    if (!headless::Render(job_.view, job_.meshes, job_.textures, *image_, &error)) {
        std::fprintf(stderr, "korvane-serve: the 3D view is not drawn: %s\n", error.c_str());
        failed_.store(true);
        return;
    }
    if (!publish)
        return;
    AreaPicture picture;
    picture.stream = "view";
    picture.width = image_->width();
    picture.height = image_->height();
    const std::uint32_t *pixels = static_cast<const headless::Surface &>(*image_).data();
    picture.pixels = std::make_shared<const std::vector<std::uint32_t>>(
        pixels, pixels + static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height));
    picture.simTimeSeconds = job_.simTimeSeconds;
    picture.drawnAt = job_.drawnAt;
    encoder_.submit(std::move(picture));
    stats_.viewRendered(
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count()));
}

} // namespace serve
