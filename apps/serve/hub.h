// Where the simulation's output meets the pages: every message published
// goes to every attached page, and the newest of each stream is kept for
// pages that attach later (a new page sees the hello, then the current
// pictures and state at once). Also holds the cockpit layout that the
// network threads check clicks against.
//
// Thread-safe. Publishing never waits for a page: a page's deliver only puts
// the message in its outbox.

#ifndef KORVANE_APPS_SERVE_HUB_H
#define KORVANE_APPS_SERVE_HUB_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "apps/serve/page_output.h"

namespace serve {

// A page's end of the hub.
class Peer {
public:
    virtual ~Peer() = default;
    // Takes a message of a stream; must not block.
    virtual void deliver(const std::string &stream, const OutMessagePtr &msg) = 0;
};

class Hub {
public:
    // Attaches a page: it gets the hello, then the newest message of every
    // other stream, then everything published from then on.
    void attach(const std::shared_ptr<Peer> &peer);
    void detach(const Peer *peer);
    // Lets go of every page (the server's shutdown).
    void detachAll();
    std::size_t pageCount() const;

    // Sends msg to every page and keeps it as the stream's newest.
    void publish(const std::string &stream, OutMessagePtr msg);

    void setLayout(CockpitLayout layout);
    CockpitLayout layout() const;
    ClickableAreas clickableAreas() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<Peer>> peers_;
    std::vector<std::pair<std::string, OutMessagePtr>> newest_; // in first-published order
    CockpitLayout layout_;
    ClickableAreas clickable_;
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_HUB_H
