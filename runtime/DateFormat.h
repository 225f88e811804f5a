#pragma once

#include "runtime/DateValue.h"

#include <QString>

namespace brantock {

// The date and time texts the programs show. Locale-dependent parts follow the default
// QLocale, so tests pin it with QLocale::setDefault.
class DateFormat {
public:
    // "h:mm:ss AMPM": 12-hour clock, hour without leading zero, the locale's AM/PM designator.
    static QString TimeAmPm(DateValue value);
    // "H:NN AM/PM": 12-hour clock, hour without leading zero, "AM" or "PM".
    static QString HourMinuteAmPm(DateValue value);
    // Medium time: two-digit 12-hour hours and minutes with the locale's designator.
    static QString MediumTime(DateValue value);
    // The locale's short date.
    static QString ShortDate(DateValue value);
    // The locale's short date pattern with the whole year ("M/d/yyyy", "dd.MM.yyyy"): dates
    // reach back before 2000, where two digits would be ambiguous, and the desktops' own short
    // dates show four.
    static QString ShortDatePattern();
    // "DD/MM/YYYY" with the locale's date separator in place of the slashes.
    static QString DayMonthYear(DateValue value);
    // The first separator of the locale's short date format ("/" when it has none).
    static QString DateSeparator();
};

} // namespace brantock
