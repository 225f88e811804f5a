#include "tests/support/LocaleScope.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestDates.h"

#include "runtime/DateFormat.h"
#include "runtime/DateMath.h"
#include "runtime/DateValue.h"
#include "runtime/RuntimeError.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace brantock;
using brantock::testsupport::at;
using brantock::testsupport::day;
using brantock::testsupport::LocaleScope;
using brantock::testsupport::RaisedError;

TEST(DateValue, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(day(1899, 12, 30).serial(), 0);
    EXPECT_EQ(day(2000, 1, 1).serial(), 36526);
    EXPECT_EQ(day(1899, 12, 29).serial(), -1);
    EXPECT_DOUBLE_EQ(at(2000, 1, 1, 18, 0).serial(), 36526.75);
    // Before day 0 the fraction still runs forward from midnight.
    EXPECT_DOUBLE_EQ(at(1899, 12, 29, 6, 0).serial(), -1.25);
    EXPECT_EQ(DateValue(-1.25).date(), QDate(1899, 12, 29));
    EXPECT_EQ(DateValue(-1.25).time(), QTime(6, 0));
    EXPECT_EQ(DateValue(36526.75).toDateTime(), QDateTime(QDate(2000, 1, 1), QTime(18, 0)));
    EXPECT_EQ(at(2024, 3, 5, 8, 30).dateOnly(), day(2024, 3, 5));
    // A fraction a hair short of midnight belongs to the next day.
    EXPECT_EQ(DateValue(36526.9999999999).date(), QDate(2000, 1, 2));
    EXPECT_EQ(DateValue(36526.9999999999).time(), QTime(0, 0));
}

TEST(DateMath, AddsIntervals) {
    struct Case {
        const char* code;
        double n;
        DateValue from, expected;
    };
    const Case cases[] = {
        {"yyyy", 1, day(2024, 2, 29), day(2025, 2, 28)},
        {"q", 1, day(2024, 11, 30), day(2025, 2, 28)},
        {"m", 1, day(2023, 1, 31), day(2023, 2, 28)},
        {"M", -1, day(2024, 3, 31), day(2024, 2, 29)},
        {"m", 1, at(2024, 1, 15, 8, 30), at(2024, 2, 15, 8, 30)},
        {"y", 3, day(2024, 12, 30), day(2025, 1, 2)},
        {"d", -1, day(2000, 1, 1), day(1999, 12, 31)},
        {"w", 2, day(2024, 3, 1), day(2024, 3, 3)},
        {"ww", 1, day(2024, 3, 1), day(2024, 3, 8)},
        {"h", 25, day(2024, 3, 1), at(2024, 3, 2, 1, 0)},
        {"n", -1, day(2024, 3, 1), at(2024, 2, 29, 23, 59)},
        {"s", 90, day(2024, 3, 1), at(2024, 3, 1, 0, 1, 30)},
        {"d", 1, DateValue(-1.25), DateValue(0.25)},
        {"d", -1, DateValue(0.25), DateValue(-1.25)},
        {"d", 2.5, day(2024, 3, 1), day(2024, 3, 3)},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(DateMath::DateAdd(c.code, c.n, c.from).serial(), c.expected.serial())
            << c.code << " " << c.n << " " << c.from.serial();
}

TEST(DateMath, CountsIntervals) {
    struct Case {
        const char* code;
        DateValue a, b;
        qint64 expected;
    };
    const Case cases[] = {
        {"yyyy", day(2023, 12, 31), day(2024, 1, 1), 1},
        {"q", day(2024, 3, 31), day(2024, 4, 1), 1},
        {"m", day(2024, 1, 31), day(2024, 2, 1), 1},
        {"m", day(2024, 5, 1), day(2024, 2, 28), -3},
        {"d", at(2024, 1, 1, 23, 0), at(2024, 1, 2, 1, 0), 1},
        {"y", day(2024, 1, 1), day(2024, 3, 1), 60},
        {"w", day(2024, 3, 1), day(2024, 3, 14), 1},
        {"w", day(2024, 3, 14), day(2024, 3, 1), -1},
        // Week starts (Sundays) after the first date up to and including the second.
        {"ww", day(2024, 3, 2), day(2024, 3, 3), 1},  // Saturday to Sunday
        {"ww", day(2024, 3, 3), day(2024, 3, 9), 0},  // Sunday to Saturday
        {"ww", day(2024, 3, 3), day(2024, 3, 10), 1}, // Sunday to Sunday
        {"h", at(2024, 3, 1, 8, 59), at(2024, 3, 1, 9, 0), 1},
        {"n", at(2024, 3, 1, 8, 59, 59), at(2024, 3, 1, 9, 0, 0), 1},
        {"s", at(2024, 3, 1, 9, 0, 0), at(2024, 3, 1, 8, 59, 0), -60},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateMath::DateDiff(c.code, c.a, c.b), c.expected)
            << c.code << " " << c.a.serial();
}

TEST(DateMath, WeekdaysCountFromTheChosenFirstDay) {
    const DateValue saturday = day(2000, 1, 1);
    EXPECT_EQ(DateMath::Weekday(saturday), 7);
    EXPECT_EQ(DateMath::Weekday(saturday, 2), 6); // weeks from Monday
    EXPECT_EQ(DateMath::Weekday(saturday, 7), 1);
    {
        LocaleScope uk(QLocale(QLocale::English, QLocale::UnitedKingdom));
        EXPECT_EQ(DateMath::SystemFirstDayOfWeek(), 2);
        EXPECT_EQ(DateMath::Weekday(saturday, DateMath::UseSystem), 6);
    }
    EXPECT_EQ(DateMath::SystemFirstDayOfWeek(), 1);
}

TEST(DateMath, BadCodesAndDatesOutOfRangeRaiseInvalidArgument) {
    const auto raises5 = [](auto f) {
        return RaisedError::numberOf(f) == err::InvalidProcedureCall;
    };
    EXPECT_TRUE(raises5([] { DateMath::DateAdd("x", 1, DateValue(0)); }));
    EXPECT_TRUE(raises5([] { DateMath::DateDiff("mm", DateValue(0), DateValue(1)); }));
    EXPECT_TRUE(raises5([] { DateMath::DateAdd("yyyy", 10000, DateValue(0)); }));
    EXPECT_TRUE(raises5([] { DateMath::DateAdd("d", 1, DateValue(DateValue::MaxSerial - 0.5)); }));
    EXPECT_EQ(DateMath::DateSerial(2024, 14, 1), day(2025, 2, 1));
    EXPECT_EQ(DateMath::DateSerial(2024, 3, 0), day(2024, 2, 29));
}

TEST(DateFormat, TimesOnTheTwelveHourClock) {
    struct Case {
        int h, n, s;
        const char *ampm, *hnn, *medium;
    };
    const Case cases[] = {{0, 0, 0, "12:00:00 AM", "12:00 AM", "12:00 AM"},
                          {8, 30, 5, "8:30:05 AM", "8:30 AM", "08:30 AM"},
                          {12, 0, 0, "12:00:00 PM", "12:00 PM", "12:00 PM"},
                          {23, 59, 59, "11:59:59 PM", "11:59 PM", "11:59 PM"}};
    for (const Case& c : cases) {
        const DateValue v = at(2024, 3, 5, c.h, c.n, c.s);
        EXPECT_EQ(DateFormat::TimeAmPm(v), c.ampm);
        EXPECT_EQ(DateFormat::HourMinuteAmPm(v), c.hnn);
        EXPECT_EQ(DateFormat::MediumTime(v), c.medium);
    }
}

TEST(DateFormat, DatesFollowTheLocale) {
    const DateValue d = day(2024, 3, 5);
    EXPECT_EQ(DateFormat::ShortDate(d), "3/5/2024");
    EXPECT_EQ(DateFormat::ShortDate(day(1999, 12, 31)), "12/31/1999");
    EXPECT_EQ(DateFormat::DayMonthYear(d), "05/03/2024");
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(DateFormat::DateSeparator(), ".");
    EXPECT_EQ(DateFormat::DayMonthYear(d), "05.03.2024");
    EXPECT_EQ(DateFormat::ShortDate(d), "05.03.2024");
}
