#include "tests/support/MockClock.h"

#include <atomic>

namespace brantock::testsupport {

class MockClock::Impl : public Clock {
public:
    DateValue now() const override { return DateValue(serial.load()); }
    qint64 monotonicMilliseconds() const override { return elapsedMs.load(); }
    std::atomic<double> serial{0};
    std::atomic<qint64> elapsedMs{0};
};

MockClock::MockClock(DateValue start) : impl_(std::make_shared<Impl>()) {
    impl_->serial = start.serial();
    previous_ = Clock::setCurrent(impl_);
}

MockClock::~MockClock() {
    Clock::setCurrent(previous_);
}

void MockClock::set(DateValue now) {
    impl_->serial = now.serial();
}

void MockClock::advanceSeconds(double seconds) {
    impl_->serial = impl_->serial.load() + seconds / 86400.0;
    impl_->elapsedMs += static_cast<qint64>(seconds * 1000.0);
}

DateValue MockClock::now() const {
    return impl_->now();
}

} // namespace brantock::testsupport
