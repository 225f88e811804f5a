#include "counter/InputEventTime.h"

#include "runtime/Clock.h"

#include <QInputEvent>

#include <algorithm>

namespace brantock::counter {

qint64 InputEventTime::at(const QInputEvent& event) {
    const qint64 now = Clock::current().monotonicMilliseconds();
    const quint64 stamp = event.timestamp();
    if (stamp == 0)
        return now;
    // The window system's clock wrapped or started again: learn the offset anew.
    if (stamp < lastStamp_)
        offset_.reset();
    lastStamp_ = stamp;
    const qint64 gap = now - qint64(stamp);
    if (!offset_ || gap < *offset_)
        offset_ = gap;
    return std::min(now, qint64(stamp) + *offset_);
}

} // namespace brantock::counter
