#include "apps/serve/frame_encoder.h"

#include <utility>

#include "apps/serve/png_encoding.h"

namespace serve {

std::int64_t ClockMicroseconds(Clock::time_point t)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(t.time_since_epoch()).count();
}

void FrameEncoder::start()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void FrameEncoder::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable())
        thread_.join();
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

void FrameEncoder::encodeWaiting()
{
    std::lock_guard<std::mutex> encoding(encodeMutex_);
    for (;;) {
        AreaPicture picture;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (waiting_.empty())
                return;
            picture = std::move(waiting_.front());
            waiting_.erase(waiting_.begin());
        }
        encode(picture);
    }
}

void FrameEncoder::run()
{
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            if (stopping_)
                return;
        }
        encodeWaiting();
    }
}

void FrameEncoder::encode(const AreaPicture &picture)
{
    std::string png;
    if (!EncodePng(picture.pixels.data(), picture.width, picture.height, picture.width, &png))
        return;
    FrameHeader header;
    header.stream = picture.stream;
    header.area = picture.area;
    header.seq = nextSeq_++;
    header.drawnAtUs = ClockMicroseconds(picture.drawnAt);
    header.simTimeSeconds = picture.simTimeSeconds;
    header.width = picture.width;
    header.height = picture.height;
    header.texts = picture.texts;
    stats_.framesEncoded++;
    std::string stream = picture.stream == "area" ? AreaStream(picture.area) : picture.stream;
    hub_.publish(stream, FrameMessage(header, png));
}

} // namespace serve
