#include "apps/serve/input_queue.h"

#include <utility>

namespace serve {

bool InputQueue::tryPush(QueuedInput input, std::function<void()> onRoom)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.size() >= capacity_) {
        if (onRoom)
            onRoom_.push_back(std::move(onRoom));
        return false;
    }
    waiting_.push_back(std::move(input));
    return true;
}

std::vector<QueuedInput> InputQueue::drain()
{
    std::vector<QueuedInput> taken;
    std::vector<std::function<void()>> wake;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        taken.swap(waiting_);
        wake.swap(onRoom_);
    }
    // Outside the lock: a page called back may push at once.
    for (auto &call : wake)
        call();
    return taken;
}

std::size_t InputQueue::size() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.size();
}

} // namespace serve
