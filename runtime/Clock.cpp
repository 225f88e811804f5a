#include "runtime/Clock.h"

#include "runtime/SystemClock.h"

#include <mutex>

namespace brantock {

namespace {
std::mutex clockMutex;
std::shared_ptr<const Clock>& slot() {
    static std::shared_ptr<const Clock> clock = std::make_shared<SystemClock>();
    return clock;
}
} // namespace

const Clock& Clock::current() {
    std::lock_guard lock(clockMutex);
    return *slot();
}

qint64 Clock::monotonicNow() {
    std::shared_ptr<const Clock> clock;
    {
        std::lock_guard lock(clockMutex);
        clock = slot();
    }
    return clock->monotonicMilliseconds();
}

std::shared_ptr<const Clock> Clock::setCurrent(std::shared_ptr<const Clock> clock) {
    std::lock_guard lock(clockMutex);
    auto previous = slot();
    slot() = clock ? std::move(clock) : std::make_shared<SystemClock>();
    return previous;
}

} // namespace brantock
