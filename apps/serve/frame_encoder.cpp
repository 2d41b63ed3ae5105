#include "apps/serve/frame_encoder.h"

#include <algorithm>
#include <utility>

#include "apps/serve/png_encoding.h"

namespace serve {

std::int64_t ClockMicroseconds(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

void FrameEncoder::start(int threads)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!threads_.empty())
        return;
    stopping_ = false;
    for (int i = 0; i < std::max(threads, 1); ++i)
        threads_.emplace_back([this] { run(); });
}

void FrameEncoder::stop()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        threads.swap(threads_);
    }
    wake_.notify_all();
    for (std::thread &t : threads)
        t.join();
}

void FrameEncoder::submit(AreaPicture picture)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bool replaced = false;
        for (AreaPicture &w : waiting_) {
            if (w.stream == picture.stream && w.area == picture.area) {
                w = std::move(picture);
                replaced = true;
                stats_.framesReplaced++;
                break;
            }
        }
        if (!replaced)
            waiting_.push_back(std::move(picture));
    }
    wake_.notify_one();
}

std::size_t FrameEncoder::waiting() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.size();
}

bool FrameEncoder::idle() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.empty() && busy_.empty();
}

bool FrameEncoder::takeNext(AreaPicture *picture)
{
    for (auto it = waiting_.begin(); it != waiting_.end(); ++it) {
        std::pair<std::string, int> key(it->stream, it->area);
        if (std::find(busy_.begin(), busy_.end(), key) != busy_.end())
            continue;
        busy_.push_back(key);
        *picture = std::move(*it);
        waiting_.erase(it);
        return true;
    }
    return false;
}

void FrameEncoder::encodeWaiting()
{
    for (;;) {
        AreaPicture picture;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!takeNext(&picture))
                return;
        }
        encode(picture);
    }
}

void FrameEncoder::run()
{
    for (;;) {
        AreaPicture picture;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || takeNext(&picture); });
            if (stopping_)
                return;
        }
        encode(picture);
    }
}

void FrameEncoder::encode(const AreaPicture &picture)
{
    std::string png;
    bool ok = picture.pixels &&
              picture.pixels->size() >= static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) &&
              EncodePng(picture.pixels->data(), picture.width, picture.height, picture.width, &png);
    if (ok) {
        FrameHeader header;
        header.stream = picture.stream;
        header.area = picture.area;
        header.drawnAtUs = ClockMicroseconds(picture.drawnAt);
        header.simTimeSeconds = picture.simTimeSeconds;
        header.width = picture.width;
        header.height = picture.height;
        header.texts = picture.texts;
        std::string stream = picture.stream == "area" ? AreaStream(picture.area) : picture.stream;
        std::lock_guard<std::mutex> lock(publishMutex_);
        header.seq = nextSeq_++;
        stats_.framesEncoded++;
        hub_.publish(stream, FrameMessage(header, png));
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        busy_.erase(std::find(busy_.begin(), busy_.end(), std::make_pair(picture.stream, picture.area)));
    }
    // A picture of this area may have been waiting for it to be free.
    wake_.notify_all();
}

} // namespace serve
