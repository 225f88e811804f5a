#include "runtime/SystemClock.h"

#include <QDateTime>

#include <chrono>

namespace brantock {

DateValue SystemClock::now() const {
    return DateValue::fromDateTime(QDateTime::currentDateTime());
}

qint64 SystemClock::monotonicMilliseconds() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace brantock
