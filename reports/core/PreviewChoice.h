#pragma once

#include "reports/core/ReportOptions.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace brantock::reports {

// The report window's checks before a preview, and the numbers it hands the reports. The
// window shows a refusal's message and puts the focus where it says.
class PreviewChoice {
public:
    enum class Focus { DateSelector, EndTime, Monday, DayUnits, TotalsUnits };
    struct Refusal {
        QString message;
        Focus focus;
    };

    // The day report needs ordered dates and times, a weekday and numeric units.
    static std::optional<Refusal> CheckDayReport(const ReportOptions& options);
    // The totals report needs ordered dates and times and numeric units; no weekday.
    static std::optional<Refusal> CheckTotalsReport(const ReportOptions& options);

    // A units text as a whole number: blanks ignored, its leading number rounded, halves to
    // even. Raises overflow (6) beyond the 32-bit range.
    static std::int32_t Units(const QString& text);
};

} // namespace brantock::reports
