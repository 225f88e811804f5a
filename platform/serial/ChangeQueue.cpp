#include "platform/serial/ChangeQueue.h"

#include "runtime/Clock.h"

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

void ChangeQueue::push(std::vector<LineChange> changes) {
    if (changes.empty())
        return;
    const qint64 now = Clock::monotonicNow();
    for (LineChange& change : changes)
        if (change.at == LineChange::NotSeen)
            change.at = now;
    std::lock_guard lock(mutex_);
    appendLocked(changes.data(), changes.data() + changes.size());
}

void ChangeQueue::reportVanished() {
    if (vanished_.exchange(true))
        return;
    LineChange marker;
    marker.vanished = true;
    std::lock_guard lock(mutex_);
    appendLocked(&marker, &marker + 1);
}

void ChangeQueue::appendLocked(const LineChange* first, const LineChange* last) {
    const bool wasEmpty = records_.empty();
    records_.insert(records_.end(), first, last);
    if (wasEmpty) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

std::optional<LineChange> ChangeQueue::pop() {
    std::lock_guard lock(mutex_);
    if (records_.empty())
        return std::nullopt;
    LineChange front = records_.front();
    records_.pop_front();
    if (records_.empty()) {
        std::uint64_t count = 0;
        [[maybe_unused]] ssize_t n = ::read(wakeFd_, &count, sizeof count);
    }
    return front;
}

} // namespace brantock::platform
