// The line of page input waiting for the simulation thread: every page's
// messages in the order they arrived, bounded. Input is never dropped: a page
// whose message finds the line full stops reading (its socket then holds the
// rest) and is called back once the simulation thread has made room.
//
// Thread-safe: network threads push, the simulation thread drains.

#ifndef KORVANE_APPS_SERVE_INPUT_QUEUE_H
#define KORVANE_APPS_SERVE_INPUT_QUEUE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "apps/serve/page_input.h"

namespace serve {

struct QueuedInput {
    std::uint64_t page = 0; // the connection it came from
    PageInput input;
};

class InputQueue {
public:
    explicit InputQueue(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {}

    // Adds the input at the end of the line and returns true; or, when the
    // line is full, keeps nothing of it, returns false and calls onRoom
    // (from the draining thread, once) when the line has room again. The
    // caller then pushes the same input again.
    bool tryPush(QueuedInput input, std::function<void()> onRoom);

    // Everything waiting, in arrival order; the line is then empty and every
    // waiting page is called back.
    std::vector<QueuedInput> drain();

    std::size_t capacity() const { return capacity_; }
    std::size_t size() const;

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::vector<QueuedInput> waiting_;
    std::vector<std::function<void()>> onRoom_;
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_INPUT_QUEUE_H
