#include "apps/serve/outbox.h"

namespace serve {

std::size_t Outbox::put(const std::string &stream, OutMessagePtr msg)
{
    for (auto &entry : waiting_) {
        if (entry.first == stream) {
            entry.second = std::move(msg);
            return 1;
        }
    }
    std::size_t dropped = 0;
    if (waiting_.size() >= kMaxWaiting) {
        waiting_.pop_front();
        dropped = 1;
    }
    waiting_.emplace_back(stream, std::move(msg));
    return dropped;
}

OutMessagePtr Outbox::take()
{
    if (waiting_.empty())
        return nullptr;
    OutMessagePtr msg = std::move(waiting_.front().second);
    waiting_.pop_front();
    return msg;
}

} // namespace serve
