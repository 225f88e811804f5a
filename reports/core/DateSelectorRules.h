#pragma once

#include "reports/core/DateRange.h"
#include "runtime/DateValue.h"

#include <QString>
#include <QVariant>

#include <array>
#include <cstdint>
#include <initializer_list>

namespace brantock::reports {

// The date selector's period and the blocks of dates it places, free of widgets. A block is
// PeriodCount intervals of the period's code; blocks lie on a grid anchored at
// PeriodStartDate, and the selector shows the one StartDateOffset blocks before the block
// that holds today.
class DateSelectorRules {
public:
    // The interval code of each period number, the menu's order.
    static inline const std::array<QString, 10> Codes = {
        QStringLiteral("yyyy"), QStringLiteral("q"), QStringLiteral("m"),  QStringLiteral("y"),
        QStringLiteral("d"),    QStringLiteral("w"), QStringLiteral("ww"), QStringLiteral("h"),
        QStringLiteral("n"),    QStringLiteral("s")};
    static constexpr std::int32_t MonthPeriod = 2;
    static constexpr double DefaultPeriodCount = 1;
    static constexpr double DefaultStartDateOffset = 1;
    static constexpr DateValue DefaultPeriodStartDate = DateValue(36526); // 1 January 2000

    const QString& code() const { return code_; }
    // The period's number; 2 for a code that has none.
    std::int32_t Period() const;
    // Selects the code of a period number; any other number selects "m".
    void SetPeriod(std::int32_t period);

    double PeriodCount() const { return periodCount_; }
    void SetPeriodCount(double count) { periodCount_ = count; }
    double StartDateOffset() const { return startDateOffset_; }
    void SetStartDateOffset(double offset) { startDateOffset_ = offset; }
    DateValue PeriodStartDate() const { return periodStartDate_; }
    void SetPeriodStartDate(DateValue anchor) { periodStartDate_ = anchor; }

    // The block to show on the day today.
    DateRange CalculateDates(DateValue today) const;
    // The start moved by a number of blocks, back (negative) or forward.
    DateValue MovedBy(DateValue start, int blocks) const;
    // The last day of the block that begins at start.
    DateValue BlockEnd(DateValue start) const;
    // The end to show when the start moves to newStart: kept, unless the new start lies after
    // it while the end is shown; then the last day of the period PeriodCount periods on.
    DateValue EndForNewStart(DateValue newStart, DateValue end, bool endShown) const;
    // The start to show when the end moves to newEnd: kept, unless the new end lies before it
    // while the start is shown; then the first day of the period PeriodCount periods back.
    DateValue StartForNewEnd(DateValue newEnd, DateValue start, bool startShown) const;

    // The first day of the period of date + offset periods ("d", "ww" from the system's first
    // day of the week, "m", "yyyy"); for any other code the date itself, without the offset.
    static DateValue FirstOf(const QString& period, DateValue specifiedDate, double offset = 0);
    // The last day of the period of date + offset periods, likewise.
    static DateValue LastOf(const QString& period, DateValue specifiedDate, double offset);
    // The largest of the numeric values, the first of equal ones; empty when none is numeric.
    static QVariant GetMax(std::initializer_list<QVariant> values);

private:
    QString code_ = Codes[MonthPeriod];
    double periodCount_ = DefaultPeriodCount;
    double startDateOffset_ = DefaultStartDateOffset;
    DateValue periodStartDate_ = DefaultPeriodStartDate;
};

} // namespace brantock::reports
