#pragma once

#include "runtime/DateValue.h"

#include <cstdint>

namespace brantock::reports {

// The reports' side of the data file's day and minute numbers. Each reports its own errors
// and then answers with what it has (0, or 00:00 of day 0); nothing reaches the caller.

// The day number of a date: whole days since 1 January 2000. The date value is rounded to
// the nearest day (halves to even), so a time after noon counts as the next day.
std::int32_t ClngTriggerDate(const DateValue& value);

// The minute of the day of a time: hour x 60 + minute; the date and the seconds are dropped.
std::int32_t ClngTriggerTime(const DateValue& value);

// The time of day of a minute number, taken modulo one day; a negative remainder counts back
// from midnight (-60 is 23:00).
DateValue CDateTriggerTime(const std::int32_t& minutes);

} // namespace brantock::reports
