#pragma once

#include "runtime/Clock.h"

#include <memory>

namespace brantock::testsupport {

// A clock that stands still until a test moves it; installed for its lifetime.
class MockClock {
public:
    explicit MockClock(DateValue start);
    ~MockClock();

    void set(DateValue now);
    void advanceSeconds(double seconds);
    DateValue now() const;

private:
    class Impl;
    std::shared_ptr<Impl> impl_;
    std::shared_ptr<const Clock> previous_;
};

} // namespace brantock::testsupport
