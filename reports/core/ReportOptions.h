#pragma once

#include "runtime/DateValue.h"

#include <QString>

#include <array>

namespace brantock::reports {

// What the report window's options say, as the window read them for one preview.
struct ReportOptions {
    // Monday first, as the window's boxes run.
    enum Weekday { Monday, Tuesday, Wednesday, Thursday, Friday, Saturday, Sunday };

    DateValue StartDate;
    DateValue EndDate;
    DateValue StartTime;
    DateValue EndTime;
    std::array<bool, 7> include{};
    // The day report's slot length and the totals report's group size, as typed.
    QString dayUnitsText;
    QString totalsUnitsText;
    // "Days", "Weeks", "Months" or "Years".
    QString period;
    std::int32_t chartType = 3;
    bool halfCount = true;
    bool showDetails = false;
};

} // namespace brantock::reports
