// The server's counters, shown at /stats: connections, messages taken and
// refused (by kind), frames encoded, sent and dropped for slow pages, the
// 3D view's pictures and their time, and the simulation's own figures. Counters only grow; any thread adds to them.

#ifndef KORVANE_APPS_SERVE_SERVER_STATS_H
#define KORVANE_APPS_SERVE_SERVER_STATS_H

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "apps/serve/page_input.h"

namespace serve {

class ServerStats {
public:
    using Counter = std::atomic<std::uint64_t>;

    Counter httpRequests{0};
    Counter httpRefused{0};     // unknown paths, methods other than GET, bad requests
    Counter pagesOpened{0};     // WebSocket connections accepted
    Counter pagesRefused{0};    // upgrades refused: foreign origin or host, too many pages
    std::atomic<std::int64_t> pagesOpen{0};
    Counter messagesTaken{0};   // page messages queued for the simulation
    Counter inputsApplied{0};   // of those, applied on the simulation thread
    Counter inputsIgnored{0};   // applied but with nothing to act on (no box open, a click beside every button)
    Counter readsPaused{0};     // times a page's reading waited for room in the input line
    Counter framesEncoded{0};
    Counter framesUnchanged{0}; // redraws whose picture equalled the last one sent: not encoded again
    Counter framesReplaced{0};  // redraws replaced by a newer one before they were encoded
    Counter messagesSent{0};
    Counter bytesSent{0};
    Counter messagesDropped{0}; // replaced by a newer one of their stream before a slow page took them

    Counter viewsRendered{0};    // pictures of the 3D view, drawn by the view worker
    Counter viewRenderMicros{0}; // their time, in all
    std::atomic<std::uint64_t> viewRenderMaxMicros{0};
    Counter viewGatherMicros{0}; // the simulation thread's part: gathering and copying the pictures' input
    std::atomic<std::uint64_t> viewGatherMaxMicros{0};

    void refused(Refusal kind) { refusedByKind_[static_cast<int>(kind)]++; }
    // One picture of the 3D view took this long to draw / to gather.
    void viewRendered(std::uint64_t micros);
    void viewGathered(std::uint64_t micros);
    std::uint64_t refusedCount(Refusal kind) const { return refusedByKind_[static_cast<int>(kind)].load(); }

    // The simulation thread's figures, set once a second or so.
    void setSimulation(double simTimeSeconds, double mjd, double framesPerSecond, std::uint64_t frames,
                       double lagSeconds);

    // Everything as one JSON object.
    std::string toJson() const;

private:
    Counter refusedByKind_[kRefusalKinds] = {};
    mutable std::mutex simMutex_;
    double simTimeSeconds_ = 0.0;
    double mjd_ = 0.0;
    double framesPerSecond_ = 0.0;
    std::uint64_t frames_ = 0;
    double lagSeconds_ = 0.0;
};

} // namespace serve

#endif // KORVANE_APPS_SERVE_SERVER_STATS_H
