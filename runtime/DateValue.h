#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <compare>

namespace brantock {

// The desktop date value: days since 30 December 1899, the fraction being the time of day.
// Before that day the whole part counts back while the fraction still runs forward
// (-1.25 is 29 December 1899, 06:00).
class DateValue {
public:
    constexpr DateValue() = default;
    constexpr explicit DateValue(double serial) : serial_(serial) {}

    // Serial date of the first and after the last representable day (years 100 to 9999).
    static constexpr double MinSerial = -657434.0;
    static constexpr double MaxSerial = 2958466.0;

    static DateValue fromDate(const QDate& date);
    static DateValue fromDateTime(const QDate& date, const QTime& time);
    static DateValue fromDateTime(const QDateTime& dateTime);
    static DateValue fromTime(int hours, int minutes, int seconds);

    constexpr double serial() const { return serial_; }
    bool isValid() const { return serial_ >= MinSerial && serial_ < MaxSerial; }

    QDate date() const;
    QTime time() const;
    QDateTime toDateTime() const;
    // The same day at midnight.
    DateValue dateOnly() const;

    friend constexpr auto operator<=>(DateValue a, DateValue b) { return a.serial_ <=> b.serial_; }
    friend constexpr bool operator==(DateValue a, DateValue b) { return a.serial_ == b.serial_; }

private:
    // Milliseconds since 30 December 1899 00:00 on the naive (zone-free) calendar.
    qint64 naiveMilliseconds() const;
    static DateValue fromNaiveMilliseconds(qint64 ms);
    friend class DateMath;

    double serial_ = 0.0;
};

} // namespace brantock
