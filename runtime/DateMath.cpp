#include "runtime/DateMath.h"

#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QLocale>

#include <cmath>

namespace brantock {

namespace {

constexpr qint64 MsPerSecond = 1000;
constexpr qint64 MsPerMinute = 60 * MsPerSecond;
constexpr qint64 MsPerHour = 60 * MsPerMinute;
constexpr qint64 MsPerDay = 24 * MsPerHour;

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

Interval parseInterval(const QString& code) {
    const QString c = code.toLower();
    if (c == u"yyyy")
        return Interval::Year;
    if (c == u"q")
        return Interval::Quarter;
    if (c == u"m")
        return Interval::Month;
    if (c == u"y")
        return Interval::DayOfYear;
    if (c == u"d")
        return Interval::Day;
    if (c == u"w")
        return Interval::Weekday;
    if (c == u"ww")
        return Interval::Week;
    if (c == u"h")
        return Interval::Hour;
    if (c == u"n")
        return Interval::Minute;
    if (c == u"s")
        return Interval::Second;
    throw RuntimeError::of(err::InvalidProcedureCall);
}

DateValue checked(DateValue d) {
    if (!d.isValid())
        throw RuntimeError::of(err::InvalidProcedureCall);
    return d;
}

qint64 floorDiv(qint64 a, qint64 b) {
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

int normalisedFirstDay(int firstDayOfWeek) {
    if (firstDayOfWeek == DateMath::UseSystem)
        return DateMath::SystemFirstDayOfWeek();
    if (firstDayOfWeek < 1 || firstDayOfWeek > 7)
        throw RuntimeError::of(err::InvalidProcedureCall);
    return firstDayOfWeek;
}

} // namespace

DateValue DateMath::DateAdd(const QString& interval, double n, DateValue date) {
    const Interval kind = parseInterval(interval);
    checked(date);
    const double rounded = RoundHalfEven(n);
    if (!std::isfinite(rounded) || std::fabs(rounded) > 1e9)
        throw RuntimeError::of(err::InvalidProcedureCall);
    const qint64 count = static_cast<qint64>(rounded);

    auto addMonths = [&](qint64 months) {
        const QDate day = date.date();
        const QDate moved = day.addMonths(static_cast<int>(months));
        if (!moved.isValid())
            throw RuntimeError::of(err::InvalidProcedureCall);
        return checked(DateValue::fromDateTime(moved, date.time()));
    };
    auto addMs = [&](qint64 ms) {
        return checked(DateValue::fromNaiveMilliseconds(date.naiveMilliseconds() + ms));
    };

    switch (kind) {
    case Interval::Year:
        return addMonths(12 * count);
    case Interval::Quarter:
        return addMonths(3 * count);
    case Interval::Month:
        return addMonths(count);
    case Interval::DayOfYear:
    case Interval::Day:
    case Interval::Weekday:
        return addMs(count * MsPerDay);
    case Interval::Week:
        return addMs(7 * count * MsPerDay);
    case Interval::Hour:
        return addMs(count * MsPerHour);
    case Interval::Minute:
        return addMs(count * MsPerMinute);
    case Interval::Second:
        return addMs(count * MsPerSecond);
    }
    throw RuntimeError::of(err::InvalidProcedureCall);
}

qint64 DateMath::DateDiff(const QString& interval, DateValue a, DateValue b, int firstDayOfWeek) {
    const Interval kind = parseInterval(interval);
    checked(a);
    checked(b);
    const QDate da = a.date();
    const QDate db = b.date();
    const qint64 days = da.daysTo(db);
    switch (kind) {
    case Interval::Year:
        return db.year() - da.year();
    case Interval::Quarter:
        return (db.year() * 4LL + (db.month() - 1) / 3) - (da.year() * 4LL + (da.month() - 1) / 3);
    case Interval::Month:
        return (db.year() * 12LL + db.month()) - (da.year() * 12LL + da.month());
    case Interval::DayOfYear:
    case Interval::Day:
        return days;
    case Interval::Weekday:
        return days / 7;
    case Interval::Week: {
        const int first = normalisedFirstDay(firstDayOfWeek);
        const qint64 startA = -(Weekday(a, first) - 1);
        const qint64 startB = days - (Weekday(b, first) - 1);
        return (startB - startA) / 7;
    }
    case Interval::Hour:
        return floorDiv(b.naiveMilliseconds(), MsPerHour) -
               floorDiv(a.naiveMilliseconds(), MsPerHour);
    case Interval::Minute:
        return floorDiv(b.naiveMilliseconds(), MsPerMinute) -
               floorDiv(a.naiveMilliseconds(), MsPerMinute);
    case Interval::Second:
        return floorDiv(b.naiveMilliseconds(), MsPerSecond) -
               floorDiv(a.naiveMilliseconds(), MsPerSecond);
    }
    throw RuntimeError::of(err::InvalidProcedureCall);
}

int DateMath::Weekday(DateValue date, int firstDayOfWeek) {
    const int first = normalisedFirstDay(firstDayOfWeek);
    // Qt counts Monday 1 ... Sunday 7; here Sunday is 1 ... Saturday 7.
    const int sundayBased = date.date().dayOfWeek() % 7 + 1;
    return (sundayBased - first + 7) % 7 + 1;
}

int DateMath::SystemFirstDayOfWeek() {
    return QLocale().firstDayOfWeek() % 7 + 1;
}

DateValue DateMath::DateSerial(int year, int month, int day) {
    const QDate first(year, 1, 1);
    const QDate date = first.addMonths(month - 1).addDays(day - 1);
    if (!first.isValid() || !date.isValid())
        throw RuntimeError::of(err::InvalidProcedureCall);
    return checked(DateValue::fromDate(date));
}

} // namespace brantock
