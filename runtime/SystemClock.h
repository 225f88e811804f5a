#pragma once

#include "runtime/Clock.h"

namespace brantock {

class SystemClock : public Clock {
public:
    DateValue now() const override;
    qint64 monotonicMilliseconds() const override;
};

} // namespace brantock
