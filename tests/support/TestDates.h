#pragma once

#include "runtime/DateValue.h"

#include <string>

namespace brantock::testsupport {

// Date values of a calendar day at midnight, or at a time of day.
inline DateValue day(int year, int month, int dayOfMonth) {
    return DateValue::fromDate(QDate(year, month, dayOfMonth));
}
inline DateValue at(int year, int month, int dayOfMonth, int hours, int minutes, int seconds = 0) {
    return DateValue::fromDateTime(QDate(year, month, dayOfMonth), QTime(hours, minutes, seconds));
}

// The day of a date value as "yyyy-MM-dd", for readable failures.
inline std::string isoDay(DateValue date) {
    return date.date().toString(Qt::ISODate).toStdString();
}

} // namespace brantock::testsupport
