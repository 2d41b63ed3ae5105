#include "apps/serve/hub.h"

#include <algorithm>

namespace serve {

namespace {
const char kHelloStream[] = "hello";
}

void Hub::attach(const std::shared_ptr<Peer> &peer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto &entry : newest_)
        if (entry.first == kHelloStream)
            peer->deliver(entry.first, entry.second);
    for (const auto &entry : newest_)
        if (entry.first != kHelloStream)
            peer->deliver(entry.first, entry.second);
    peers_.push_back(peer);
}

void Hub::detach(const Peer *peer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    peers_.erase(std::remove_if(peers_.begin(), peers_.end(),
                                [peer](const std::shared_ptr<Peer> &p) { return p.get() == peer; }),
                 peers_.end());
}

void Hub::detachAll()
{
    std::vector<std::shared_ptr<Peer>> gone;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        gone.swap(peers_);
    }
    // Released outside the lock: a page's destructor may detach itself.
}

std::size_t Hub::pageCount() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return peers_.size();
}

void Hub::publish(const std::string &stream, OutMessagePtr msg)
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(newest_.begin(), newest_.end(),
                           [&stream](const std::pair<std::string, OutMessagePtr> &e) { return e.first == stream; });
    if (it == newest_.end())
        newest_.emplace_back(stream, msg);
    else
        it->second = msg;
    for (const auto &peer : peers_)
        peer->deliver(stream, msg);
}

void Hub::setLayout(CockpitLayout layout)
{
    std::lock_guard<std::mutex> lock(mutex_);
    clickable_ = layout.clickable();
    layout_ = std::move(layout);
}

CockpitLayout Hub::layout() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return layout_;
}

ClickableAreas Hub::clickableAreas() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return clickable_;
}

} // namespace serve
