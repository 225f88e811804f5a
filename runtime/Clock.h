#pragma once

#include "runtime/DateValue.h"

#include <memory>

namespace brantock {

// Where "now" comes from. The process has one current clock; tests replace it.
class Clock {
public:
    virtual ~Clock() = default;

    // The local date and time.
    virtual DateValue now() const = 0;
    // Milliseconds since an arbitrary start; never goes back.
    virtual qint64 monotonicMilliseconds() const = 0;

    static const Clock& current();
    // The current clock's monotonic milliseconds; safe on any thread, also while a test
    // replaces the clock.
    static qint64 monotonicNow();
    // Installs a clock (nullptr restores the system clock) and returns the previous one.
    static std::shared_ptr<const Clock> setCurrent(std::shared_ptr<const Clock> clock);
};

} // namespace brantock
