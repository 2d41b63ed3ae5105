// Turns the pictures of redrawn cockpit areas into frame messages, on
// threads of their own so that PNG encoding never slows the simulation. The
// simulation thread hands over copies of the pixels; a picture of an area
// that still waits is replaced by the newer one (the older one would only be
// sent to be overdrawn). Encoded frames are numbered and published to the
// hub in the order they are numbered.
//
// The screens' timers run together, so the three are often redrawn in the
// same frame: two threads encode two of them at once. No two threads ever
// encode pictures of the same area, so an area's frames leave in the order
// they were drawn.

#ifndef KORVANE_APPS_SERVE_FRAME_ENCODER_H
#define KORVANE_APPS_SERVE_FRAME_ENCODER_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
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
    // width x height, rows tight, the surfaces' layout; shared with the
    // simulation thread's record of the last picture sent, never changed.
    std::shared_ptr<const std::vector<std::uint32_t>> pixels;
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

    // Starts / stops the encoding threads. Without them, encodeWaiting does
    // the work on the caller's thread.
    void start(int threads = 2);
    void stop();

    // Hands over a picture; one of the same stream and area still waiting
    // is dropped for it.
    void submit(AreaPicture picture);
    // Encodes and publishes every waiting picture, oldest first.
    void encodeWaiting();
    std::size_t waiting() const;
    // Nothing waiting and nothing being encoded.
    bool idle() const;

private:
    void run();
    // Takes the oldest waiting picture of an area no one is encoding (false
    // if there is none) and marks its area busy. REQUIRES: mutex_ held.
    bool takeNext(AreaPicture *picture);
    // Encodes and publishes, then frees the picture's area.
    void encode(const AreaPicture &picture);

    Hub &hub_;
    ServerStats &stats_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<AreaPicture> waiting_;
    std::vector<std::pair<std::string, int>> busy_; // stream and area of the pictures being encoded
    bool stopping_ = false;
    std::vector<std::thread> threads_;
    std::mutex publishMutex_; // numbering and publishing go together
    std::uint64_t nextSeq_ = 1;
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_FRAME_ENCODER_H
