#include "runtime/DateValue.h"

#include <cmath>

namespace brantock {

namespace {
constexpr qint64 MsPerDay = 86400000;
const qint64 EpochJulianDay = QDate(1899, 12, 30).toJulianDay();
} // namespace

DateValue DateValue::fromDate(const QDate& date) {
    return DateValue(static_cast<double>(date.toJulianDay() - EpochJulianDay));
}

DateValue DateValue::fromDateTime(const QDate& date, const QTime& time) {
    const double days = static_cast<double>(date.toJulianDay() - EpochJulianDay);
    const double fraction = time.isValid() ? time.msecsSinceStartOfDay() / double(MsPerDay) : 0.0;
    return DateValue(days < 0 ? days - fraction : days + fraction);
}

DateValue DateValue::fromDateTime(const QDateTime& dateTime) {
    return fromDateTime(dateTime.date(), dateTime.time());
}

DateValue DateValue::fromTime(int hours, int minutes, int seconds) {
    return DateValue((hours * 3600.0 + minutes * 60.0 + seconds) / 86400.0);
}

qint64 DateValue::naiveMilliseconds() const {
    const double whole = std::trunc(serial_);
    qint64 ms = std::llround(std::fabs(serial_ - whole) * MsPerDay);
    return static_cast<qint64>(whole) * MsPerDay + ms;
}

DateValue DateValue::fromNaiveMilliseconds(qint64 ms) {
    qint64 days = ms / MsPerDay;
    qint64 rest = ms % MsPerDay;
    if (rest < 0) {
        rest += MsPerDay;
        --days;
    }
    const double fraction = rest / double(MsPerDay);
    return DateValue(days < 0 ? double(days) - fraction : double(days) + fraction);
}

QDate DateValue::date() const {
    qint64 ms = naiveMilliseconds();
    const double whole = std::trunc(serial_);
    qint64 days = static_cast<qint64>(whole);
    // A fraction that rounds up to a whole day moves on to the next day.
    if (ms - days * MsPerDay >= MsPerDay)
        days += 1;
    return QDate::fromJulianDay(EpochJulianDay + days);
}

QTime DateValue::time() const {
    const double whole = std::trunc(serial_);
    qint64 ms = std::llround(std::fabs(serial_ - whole) * MsPerDay);
    if (ms >= MsPerDay)
        ms = 0;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

QDateTime DateValue::toDateTime() const {
    return QDateTime(date(), time());
}

DateValue DateValue::dateOnly() const {
    return fromDate(date());
}

} // namespace brantock
