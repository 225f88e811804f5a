#include "platform/serial/ChangeQueue.h"

#include <cstdint>
#include <stdexcept>

#include <sys/eventfd.h>
#include <unistd.h>

namespace brantock::platform {

ChangeQueue::ChangeQueue() : wakeFd_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {
    if (wakeFd_ < 0)
        throw std::runtime_error("eventfd failed");
}

ChangeQueue::~ChangeQueue() {
    ::close(wakeFd_);
}

void ChangeQueue::push(const std::vector<LineChange>& changes) {
    if (changes.empty())
        return;
    std::lock_guard lock(mutex_);
    records_.insert(records_.end(), changes.begin(), changes.end());
    wakeLocked();
}

void ChangeQueue::reportVanished() {
    if (vanished_.exchange(true))
        return;
    std::lock_guard lock(mutex_);
    LineChange marker;
    marker.vanished = true;
    records_.push_back(marker);
    wakeLocked();
}

void ChangeQueue::wakeLocked() {
    if (wakePending_)
        return;
    wakePending_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
}

void ChangeQueue::clearWake() {
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
}

std::optional<LineChange> ChangeQueue::pop() {
    std::lock_guard lock(mutex_);
    if (records_.empty()) {
        wakePending_ = false;
        return std::nullopt;
    }
    LineChange front = records_.front();
    records_.pop_front();
    return front;
}

bool ChangeQueue::empty() const {
    std::lock_guard lock(mutex_);
    return records_.empty();
}

} // namespace brantock::platform
