#include "tests/support/LocaleScope.h"
#include "tests/support/TestDates.h"

#include "reports/core/DateSelectorRules.h"
#include "runtime/DateMath.h"
#include "runtime/RuntimeError.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <string>

using namespace brantock;
using namespace brantock::reports;
using brantock::testsupport::day;
using brantock::testsupport::isoDay;
using brantock::testsupport::LocaleScope;

namespace {

DateSelectorRules rulesFor(std::int32_t period, double count, double offset = 1,
                           DateValue anchor = DateSelectorRules::DefaultPeriodStartDate) {
    DateSelectorRules rules;
    rules.SetPeriod(period);
    rules.SetPeriodCount(count);
    rules.SetStartDateOffset(offset);
    rules.SetPeriodStartDate(anchor);
    return rules;
}

enum Period { Year = 0, Quarter = 1, Month = 2, Day = 4, Week = 6 };

} // namespace

TEST(DateSelectorRules, PeriodNumbersAndCodes) {
    const char* codes[] = {"yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s"};
    DateSelectorRules rules;
    EXPECT_EQ(rules.code(), "m");
    EXPECT_EQ(rules.Period(), 2);
    for (int i = 0; i < 10; ++i) {
        rules.SetPeriod(i);
        EXPECT_EQ(rules.code(), codes[i]);
        EXPECT_EQ(rules.Period(), i);
    }
    for (int other : {-1, 10, 1000}) {
        rules.SetPeriod(0);
        rules.SetPeriod(other);
        EXPECT_EQ(rules.code(), "m") << other;
    }
}

// The block shown on a day: StartDateOffset blocks before the one holding today, on the grid
// of blocks anchored at PeriodStartDate (en_US: weeks from Sunday).
TEST(DateSelectorRules, PlacesTheBlockOnTheAnchoredGrid) {
    struct Case {
        const char* what;
        DateSelectorRules rules;
        DateValue today;
        DateValue start, end;
    };
    const Case cases[] = {
        {"defaults mid-month", rulesFor(Month, 1), day(2024, 3, 15), day(2024, 2, 1),
         day(2024, 2, 29)},
        {"defaults on the first", rulesFor(Month, 1), day(2024, 3, 1), day(2024, 1, 1),
         day(2024, 1, 31)},
        {"defaults on the last", rulesFor(Month, 1), day(2023, 3, 31), day(2023, 2, 1),
         day(2023, 2, 28)},
        {"defaults, anchor after today", rulesFor(Month, 1, 1, day(2024, 6, 1)), day(2024, 3, 15),
         day(2024, 2, 1), day(2024, 2, 29)},
        {"two blocks back", rulesFor(Month, 1, 2), day(2024, 3, 15), day(2024, 1, 1),
         day(2024, 1, 31)},
        {"the block holding today", rulesFor(Month, 3, 0, day(2024, 1, 1)), day(2024, 5, 10),
         day(2024, 4, 1), day(2024, 6, 30)},
        {"previous year", rulesFor(Year, 1), day(2024, 3, 15), day(2023, 1, 1), day(2023, 12, 31)},
        {"previous quarter", rulesFor(Quarter, 1), day(2024, 3, 15), day(2023, 10, 1),
         day(2023, 12, 31)},
        {"quarters from February", rulesFor(Quarter, 1, 1, day(2020, 2, 1)), day(2024, 3, 15),
         day(2023, 11, 1), day(2024, 1, 31)},
        {"weeks of days from a Monday", rulesFor(Day, 7, 1, day(2024, 3, 4)), day(2024, 3, 15),
         day(2024, 3, 4), day(2024, 3, 10)},
        {"weeks near the anchor", rulesFor(Week, 1, 1, day(2024, 2, 1)), day(2024, 3, 15),
         day(2024, 3, 3), day(2024, 3, 9)},
        // A thousand blocks and more from the anchor: no stepping, the anchor's block.
        {"days far from the anchor", rulesFor(Day, 1), day(2024, 3, 15), day(2000, 1, 1),
         day(2000, 1, 1)},
        {"weeks far from the anchor", rulesFor(Week, 1), day(2024, 3, 15), day(1999, 12, 26),
         day(2000, 1, 1)},
        // No count: the anchor's block start, and the day before it.
        {"count 0", rulesFor(Month, 0), day(2024, 3, 15), day(2000, 1, 1), day(1999, 12, 31)},
        // A count that rounds to no whole month cannot step either.
        {"count 0.4", rulesFor(Month, 0.4), day(2024, 3, 15), day(2000, 1, 1), day(1999, 12, 31)},
    };
    for (const Case& c : cases) {
        const DateRange range = c.rules.CalculateDates(c.today);
        EXPECT_EQ(isoDay(range.start), isoDay(c.start)) << c.what;
        EXPECT_EQ(isoDay(range.end), isoDay(c.end)) << c.what;
    }
}

// The spin control's moves: the start by one block, the end rebuilt from the new start.
TEST(DateSelectorRules, MovesBlocksBackAndForward) {
    struct Case {
        int period;
        double count;
        DateValue start;
        int blocks;
        DateValue newStart, newEnd;
    };
    const Case cases[] = {
        {Month, 1, day(2024, 2, 1), -1, day(2024, 1, 1), day(2024, 1, 31)},
        {Month, 1, day(2024, 1, 1), 1, day(2024, 2, 1), day(2024, 2, 29)},
        // Month ends: a day the target month lacks becomes its last day.
        {Month, 1, day(2023, 1, 31), 1, day(2023, 2, 28), day(2023, 3, 27)},
        {Month, 1, day(2024, 1, 31), 1, day(2024, 2, 29), day(2024, 3, 28)},
        {Month, 1, day(2024, 3, 31), -1, day(2024, 2, 29), day(2024, 3, 28)},
        {Month, 3, day(2024, 1, 1), 1, day(2024, 4, 1), day(2024, 6, 30)},
        {Quarter, 1, day(2023, 11, 30), 1, day(2024, 2, 29), day(2024, 5, 28)},
        // Leap days.
        {Year, 1, day(2024, 2, 29), 1, day(2025, 2, 28), day(2026, 2, 27)},
        {Year, 1, day(2024, 2, 29), -1, day(2023, 2, 28), day(2024, 2, 27)},
        {Year, 4, day(2096, 2, 29), 1, day(2100, 2, 28), day(2104, 2, 27)},
        {Day, 1, day(2024, 3, 1), -1, day(2024, 2, 29), day(2024, 2, 29)},
        {Day, 7, day(2024, 12, 30), 1, day(2025, 1, 6), day(2025, 1, 12)},
        {Week, 1, day(2024, 3, 3), 1, day(2024, 3, 10), day(2024, 3, 16)},
        {Week, 2, day(2024, 3, 3), -1, day(2024, 2, 18), day(2024, 3, 2)},
    };
    for (const Case& c : cases) {
        const DateSelectorRules rules = rulesFor(c.period, c.count);
        const DateValue start = rules.MovedBy(c.start, c.blocks);
        const std::string what = std::to_string(c.period) + " x" + std::to_string(c.count) +
                                 " from " + isoDay(c.start) + " by " + std::to_string(c.blocks);
        EXPECT_EQ(isoDay(start), isoDay(c.newStart)) << what;
        EXPECT_EQ(isoDay(rules.BlockEnd(start)), isoDay(c.newEnd)) << what;
    }
}

TEST(DateSelectorRules, FirstAndLastDaysOfPeriods) {
    const DateValue wednesday = day(2024, 3, 13);
    EXPECT_EQ(DateSelectorRules::FirstOf("m", day(2024, 3, 15)), day(2024, 3, 1));
    EXPECT_EQ(DateSelectorRules::FirstOf("M", day(2024, 3, 15), 1), day(2024, 4, 1));
    EXPECT_EQ(DateSelectorRules::FirstOf("yyyy", day(2024, 3, 15), -1), day(2023, 1, 1));
    EXPECT_EQ(DateSelectorRules::FirstOf("d", wednesday, 2), day(2024, 3, 15));
    EXPECT_EQ(DateSelectorRules::FirstOf("q", wednesday, 5), wednesday); // no offset either
    EXPECT_EQ(DateSelectorRules::LastOf("yyyy", day(2024, 3, 15), 0), day(2024, 12, 31));
    EXPECT_EQ(DateSelectorRules::LastOf("m", day(2024, 1, 15), 1), day(2024, 2, 29));
    EXPECT_EQ(DateSelectorRules::LastOf("m", day(2023, 1, 31), 1), day(2023, 2, 28));
    EXPECT_EQ(DateSelectorRules::LastOf("d", wednesday, 1), day(2024, 3, 14));
    EXPECT_EQ(DateSelectorRules::LastOf("q", wednesday, 5), wednesday);

    // Weeks follow the system's first day of the week.
    EXPECT_EQ(DateSelectorRules::FirstOf("ww", wednesday), day(2024, 3, 10));
    EXPECT_EQ(DateSelectorRules::LastOf("ww", wednesday, 0), day(2024, 3, 16));
    LocaleScope uk(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(DateSelectorRules::FirstOf("ww", wednesday), day(2024, 3, 11));
    EXPECT_EQ(DateSelectorRules::LastOf("ww", wednesday, 0), day(2024, 3, 17));
    EXPECT_EQ(DateSelectorRules::FirstOf("ww", day(2024, 3, 11)), day(2024, 3, 11));
}

// A start set after the end pulls the end along, and an end set before the start pulls the
// start back; while the other date is hidden it stays.
TEST(DateSelectorRules, MovingOneDatePastTheOther) {
    const DateSelectorRules month = rulesFor(Month, 1);
    EXPECT_EQ(month.EndForNewStart(day(2024, 3, 15), day(2024, 2, 29), true), day(2024, 4, 30));
    EXPECT_EQ(month.EndForNewStart(day(2024, 3, 15), day(2024, 2, 29), false), day(2024, 2, 29));
    EXPECT_EQ(month.EndForNewStart(day(2024, 3, 15), day(2024, 3, 15), true), day(2024, 3, 15));

    // The start never lands after the new end, whatever the period.
    EXPECT_EQ(month.StartForNewEnd(day(2024, 2, 15), day(2024, 3, 1), true), day(2024, 1, 1));
    EXPECT_EQ(month.StartForNewEnd(day(2024, 2, 15), day(2024, 3, 1), false), day(2024, 3, 1));
    EXPECT_EQ(month.StartForNewEnd(day(2024, 3, 1), day(2024, 3, 1), true), day(2024, 3, 1));
    for (int period = 0; period < 10; ++period) {
        const DateSelectorRules rules = rulesFor(period, 1);
        const DateValue newEnd = day(2024, 3, 10);
        const DateValue start = rules.StartForNewEnd(newEnd, day(2024, 3, 20), true);
        EXPECT_LE(start, newEnd) << period;
        EXPECT_GE(rules.EndForNewStart(newEnd, day(2024, 3, 1), true), newEnd) << period;
    }
    EXPECT_EQ(rulesFor(Day, 1).StartForNewEnd(day(2024, 3, 10), day(2024, 3, 20), true),
              day(2024, 3, 9));
}

TEST(DateSelectorRules, GetMaxTakesTheLargestNumber) {
    EXPECT_EQ(DateSelectorRules::GetMax({690.0, 645.0}), QVariant(690.0));
    EXPECT_EQ(DateSelectorRules::GetMax({"x", -5, QVariant()}), QVariant(-5));
    EXPECT_EQ(DateSelectorRules::GetMax({3, 3.0}).typeId(), QMetaType::Int); // the first stays
    EXPECT_FALSE(DateSelectorRules::GetMax({"x", QVariant()}).isValid());
    EXPECT_FALSE(DateSelectorRules::GetMax({}).isValid());
}

// Dates beyond the years a date can hold raise the invalid-argument error with the
// procedure's trail.
TEST(DateSelectorRules, DatesOutOfRangeRaiseWithTheTrail) {
    const auto raised = [](auto f) -> std::pair<int, std::string> {
        try {
            f();
        } catch (const RuntimeError& e) {
            return {e.number(), e.source().toStdString()};
        }
        return {0, ""};
    };
    const DateSelectorRules late = rulesFor(Month, 1, 1, day(9999, 12, 15));
    EXPECT_EQ(raised([&] { late.CalculateDates(day(2024, 3, 15)); }),
              std::make_pair(5, std::string("CalculateDates&")));
    EXPECT_EQ(raised([] { DateSelectorRules::FirstOf("x", day(2024, 3, 15)); }),
              std::make_pair(5, std::string("FirstOf&")));
    EXPECT_EQ(raised([] { DateSelectorRules::LastOf("m", day(9999, 12, 15), 0); }),
              std::make_pair(5, std::string("LastOf&")));
    EXPECT_EQ(raised([&] { late.MovedBy(day(9999, 12, 1), 1); }).first, 5);
}
