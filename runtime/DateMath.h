#pragma once

#include "runtime/DateValue.h"

#include <QString>

namespace brantock {

// Date arithmetic on date values with the interval codes "yyyy", "q", "m", "y", "d", "w",
// "ww", "h", "n" and "s" (compared without regard to case). An unknown code, or a result
// outside the representable years, raises the invalid-argument error (5).
class DateMath {
public:
    // Days of the week as the first-day-of-week arguments take them.
    static constexpr int Sunday = 1;
    static constexpr int UseSystem = 0;

    // n intervals added; a day of month past the end of the target month becomes its last day.
    // A fractional n is rounded half to even first.
    static DateValue DateAdd(const QString& interval, double n, DateValue date);

    // Intervals counted from a to b: year, quarter or month numbers; days; whole weeks for
    // "w"; week starts (firstDayOfWeek) for "ww"; hour, minute and second boundaries.
    static qint64 DateDiff(const QString& interval, DateValue a, DateValue b,
                           int firstDayOfWeek = Sunday);

    // 1 to 7 counted from firstDayOfWeek (1 Sunday ... 7 Saturday, 0 the system's).
    static int Weekday(DateValue date, int firstDayOfWeek = Sunday);

    // The locale's first day of the week in the numbering above.
    static int SystemFirstDayOfWeek();

    static DateValue DateSerial(int year, int month, int day);
};

} // namespace brantock
