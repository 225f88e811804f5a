#include "reports/core/DateSelectorRules.h"

#include "runtime/Conversions.h"
#include "runtime/DateMath.h"
#include "runtime/RuntimeError.h"

#include <algorithm>

namespace brantock::reports {

namespace {
// Beyond this many blocks between the anchor and today the grid is not walked: the range
// stays at the anchor's block.
constexpr double FarBlocks = 1000;

const QString Day = QStringLiteral("d");

DateValue addDays(double days, DateValue date) {
    return DateMath::DateAdd(Day, days, date);
}
} // namespace

std::int32_t DateSelectorRules::Period() const {
    const auto found = std::find(Codes.begin(), Codes.end(), code_);
    return found == Codes.end() ? MonthPeriod : std::int32_t(found - Codes.begin());
}

void DateSelectorRules::SetPeriod(std::int32_t period) {
    withTrail("SetPeriod&", [&] {
        code_ = period >= 0 && period < std::int32_t(Codes.size()) ? Codes[std::size_t(period)]
                                                                   : Codes[MonthPeriod];
    });
}

DateRange DateSelectorRules::CalculateDates(DateValue today) const {
    return withTrail("CalculateDates&", [&] {
        DateValue start = FirstOf(code_, periodStartDate_, 0);
        // Blocks move by whole intervals: a count that rounds to none never reaches today.
        if (RoundHalfEven(periodCount_) != 0) {
            const double blocks = RoundHalfEven(
                double(DateMath::DateDiff(code_, start, today, DateMath::Sunday)) / periodCount_);
            if (blocks > -FarBlocks && blocks < FarBlocks) {
                // Forward to the first block that today does not lie beyond, then back while
                // today lies before it; both bounds count as inside.
                while (today > DateMath::DateAdd(
                                   code_, startDateOffset_ * periodCount_ + periodCount_, start))
                    start = DateMath::DateAdd(code_, periodCount_, start);
                while (today < DateMath::DateAdd(code_, startDateOffset_ * periodCount_, start))
                    start = DateMath::DateAdd(code_, -periodCount_, start);
            }
        }
        return DateRange{start, BlockEnd(start)};
    });
}

DateValue DateSelectorRules::MovedBy(DateValue start, int blocks) const {
    return DateMath::DateAdd(code_, blocks * periodCount_, start);
}

DateValue DateSelectorRules::BlockEnd(DateValue start) const {
    return addDays(-1, DateMath::DateAdd(code_, periodCount_, start));
}

DateValue DateSelectorRules::EndForNewStart(DateValue newStart, DateValue end,
                                            bool endShown) const {
    return endShown && newStart > end ? LastOf(code_, newStart, periodCount_) : end;
}

DateValue DateSelectorRules::StartForNewEnd(DateValue newEnd, DateValue start,
                                            bool startShown) const {
    if (!startShown || !(newEnd < start))
        return start;
    // The mirror of a start moved past the end: the period PeriodCount periods back, and
    // never after the new end.
    return std::min(FirstOf(code_, newEnd, -periodCount_), newEnd);
}

DateValue DateSelectorRules::FirstOf(const QString& period, DateValue specifiedDate,
                                     double offset) {
    return withTrail("FirstOf&", [&] {
        const DateValue d = DateMath::DateAdd(period, offset, specifiedDate);
        const QString code = period.toLower();
        if (code == u"d")
            return d;
        if (code == u"ww")
            return addDays(-(DateMath::Weekday(d, DateMath::UseSystem) - 1), d);
        if (code == u"m")
            return addDays(-(d.date().day() - 1), d);
        if (code == u"yyyy")
            return DateMath::DateSerial(d.date().year(), 1, 1);
        return specifiedDate;
    });
}

DateValue DateSelectorRules::LastOf(const QString& period, DateValue specifiedDate, double offset) {
    return withTrail("LastOf&", [&] {
        const DateValue d = DateMath::DateAdd(period, offset, specifiedDate);
        const QString code = period.toLower();
        if (code == u"d")
            return d;
        if (code == u"ww")
            return addDays(7 - DateMath::Weekday(d, DateMath::UseSystem), d);
        if (code == u"m")
            return addDays(
                -1, DateMath::DateAdd(QStringLiteral("m"), 1, FirstOf(QStringLiteral("M"), d)));
        if (code == u"yyyy")
            return DateMath::DateSerial(d.date().year(), 12, 31);
        return specifiedDate;
    });
}

QVariant DateSelectorRules::GetMax(std::initializer_list<QVariant> values) {
    return withTrail("GetMax&", [&] {
        QVariant largest;
        double largestNumber = 0;
        for (const QVariant& value : values) {
            bool numeric = false;
            const double number = value.toDouble(&numeric);
            if (numeric && (!largest.isValid() || number > largestNumber)) {
                largest = value;
                largestNumber = number;
            }
        }
        return largest;
    });
}

} // namespace brantock::reports
