// What waits to be sent to one page: at most one message per stream, the
// newest. A message for a stream that already has one waiting takes its
// place in the line, and the older one is dropped, so a page that reads
// slowly gets fewer frames, never stale ones, and its queue never grows
// beyond the number of streams.
//
// Not thread-safe: the page's connection guards it.

#ifndef KORVANE_APPS_SERVE_OUTBOX_H
#define KORVANE_APPS_SERVE_OUTBOX_H

#include <cstddef>
#include <deque>
#include <string>
#include <utility>

#include "apps/serve/page_output.h"

namespace serve {

class Outbox {
public:
    // More streams than any cockpit has; past it the oldest waiting message
    // is dropped, so that the bound holds whatever the streams are.
    static constexpr std::size_t kMaxWaiting = 64;

    // Queues msg for stream. Returns the number of messages it made drop
    // (0 or 1).
    std::size_t put(const std::string &stream, OutMessagePtr msg);
    // The message first in line, removed; null when none waits.
    OutMessagePtr take();
    std::size_t size() const { return waiting_.size(); }
    bool empty() const { return waiting_.empty(); }

private:
    std::deque<std::pair<std::string, OutMessagePtr>> waiting_; // in sending order
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_OUTBOX_H
