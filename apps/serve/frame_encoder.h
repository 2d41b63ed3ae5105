// Turns the pictures of redrawn cockpit areas into frame messages, on a
// thread of its own so that PNG encoding never slows the simulation. The
// simulation thread hands over copies of the pixels; a picture of an area
// that still waits is replaced by the newer one (the older one would only be
// sent to be overdrawn). Encoded frames are numbered and published to the
// hub.

#ifndef KORVANE_APPS_SERVE_FRAME_ENCODER_H
#define KORVANE_APPS_SERVE_FRAME_ENCODER_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "apps/serve/hub.h"
#include "apps/serve/server_stats.h"

namespace serve {

using Clock = std::chrono::steady_clock;

// Microseconds of the steady clock: the time base of every frame's drawnAtUs.
std::int64_t ClockMicroseconds(Clock::time_point t);

struct AreaPicture {
    std::string stream = "area";
    int area = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // width x height, rows tight, the surfaces' layout
    std::vector<std::string> texts;
    double simTimeSeconds = 0.0;
    Clock::time_point drawnAt;
};

class FrameEncoder {
public:
    FrameEncoder(Hub &hub, ServerStats &stats) : hub_(hub), stats_(stats) {}
    ~FrameEncoder() { stop(); }
    FrameEncoder(const FrameEncoder &) = delete;
    FrameEncoder &operator=(const FrameEncoder &) = delete;

    // Starts / stops the encoding thread. Without it, encodeWaiting does the
    // work on the caller's thread.
    void start();
    void stop();

    // Hands over a picture; one of the same stream and area still waiting
    // is dropped for it.
    void submit(AreaPicture picture);
    // Encodes and publishes every waiting picture, oldest first.
    void encodeWaiting();
    std::size_t waiting() const;

private:
    void run();
    void encode(const AreaPicture &picture);

    Hub &hub_;
    ServerStats &stats_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<AreaPicture> waiting_;
    bool stopping_ = false;
    std::thread thread_;
    std::uint64_t nextSeq_ = 1; // only the encoding side touches it
    std::mutex encodeMutex_;    // one encoder at a time, worker or caller
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_FRAME_ENCODER_H
