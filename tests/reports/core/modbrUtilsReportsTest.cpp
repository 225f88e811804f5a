#include "tests/support/ScriptedErrors.h"
#include "tests/support/TestDates.h"

#include "reports/core/modbrUtilsReports.h"
#include "runtime/DateFormat.h"
#include "runtime/DateMath.h"
#include "runtime/DateValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace brantock;
using namespace brantock::reports;
using brantock::testsupport::at;
using brantock::testsupport::ScriptedErrors;

// Dates and times through day numbers and minutes, and the minutes back into times of day.
TEST(TriggerConversions, RoundTripsThroughDayNumbersAndMinutes) {
    struct Case {
        DateValue value;
        std::int32_t day;
        std::int32_t minute;
    };
    const Case cases[] = {
        // Around day 0 of the date value; 1900 is no leap year (serial 60 is 28 February).
        {at(1899, 12, 29, 0, 0), -36527, 0},
        {at(1899, 12, 30, 0, 0), -36526, 0},
        {at(1899, 12, 31, 0, 0), -36525, 0},
        {at(1900, 2, 28, 0, 0), -36466, 0},
        {at(1900, 3, 1, 0, 0), -36465, 0},
        // Day 0 of the data file and its neighbours.
        {at(1999, 12, 31, 0, 0), -1, 0},
        {at(2000, 1, 1, 0, 0), 0, 0},
        {at(2000, 1, 1, 11, 59), 0, 719},
        {at(2000, 1, 1, 12, 0), 0, 720}, // serial 36526.5: the even neighbour
        {at(2000, 1, 1, 12, 1), 1, 721}, // after noon: the next day
        {at(2000, 1, 2, 12, 0), 2, 720}, // serial 36527.5: the even neighbour is the next day
        // 2000 and 2024 are leap years, 2100 is not.
        {at(2000, 2, 29, 0, 0), 59, 0},
        {at(2000, 3, 1, 0, 0), 60, 0},
        {at(2000, 11, 1, 0, 0), 305, 0},
        {at(2000, 12, 31, 23, 59), 366, 1439},
        {at(2024, 1, 1, 8, 0), 8766, 480},
        {at(2024, 2, 29, 11, 0), 8825, 660},
        {at(2024, 3, 1, 0, 1), 8826, 1},
        {at(2024, 3, 5, 8, 30), 8830, 510},
        {at(2100, 2, 28, 10, 0), 36583, 600},
        {at(2100, 3, 1, 0, 0), 36584, 0},
        // Seconds are dropped, not rounded.
        {at(2024, 3, 5, 8, 59, 59), 8830, 539},
        {at(2024, 3, 5, 23, 59, 59), 8831, 1439},
        {at(2024, 3, 5, 17, 0, 30), 8831, 1020},
    };
    ScriptedErrors errors;
    for (const Case& c : cases) {
        const QString what = c.value.toDateTime().toString(Qt::ISODate);
        EXPECT_EQ(ClngTriggerDate(c.value), c.day) << what.toStdString();
        EXPECT_EQ(ClngTriggerTime(c.value), c.minute) << what.toStdString();
        // Back: the day number names a midnight that gives it again, the value's own day
        // when its time is before noon; the minute gives the time without its seconds.
        const DateValue day = DateMath::DateAdd("d", c.day, at(2000, 1, 1, 0, 0));
        EXPECT_EQ(ClngTriggerDate(day), c.day) << what.toStdString();
        if (c.value.time() < QTime(12, 0)) {
            EXPECT_EQ(day.date(), c.value.date()) << what.toStdString();
        }
        const DateValue time = CDateTriggerTime(c.minute);
        EXPECT_EQ(time.time(), QTime(c.value.time().hour(), c.value.time().minute()))
            << what.toStdString();
        EXPECT_EQ(time.date(), QDate(1899, 12, 30)) << what.toStdString();
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST(TriggerConversions, MinutesBecomeTimesOfOneDay) {
    struct Case {
        std::int32_t minutes;
        QTime time;
        QDate date;
    };
    const QDate day0(1899, 12, 30);
    const QDate dayBefore(1899, 12, 29);
    const Case cases[] = {
        {0, QTime(0, 0), day0},
        {1439, QTime(23, 59), day0},
        {1440, QTime(0, 0), day0},
        {1500, QTime(1, 0), day0},
        // The remainder keeps the sign: so many minutes before midnight of day 0.
        {-1, QTime(23, 59), dayBefore},
        {-60, QTime(23, 0), dayBefore},
        {-1440, QTime(0, 0), day0},
        {-1500, QTime(23, 0), dayBefore},
        {std::numeric_limits<std::int32_t>::min(), QTime(21, 52), dayBefore}, // -128
    };
    for (const Case& c : cases) {
        const DateValue value = CDateTriggerTime(c.minutes);
        EXPECT_EQ(value.time(), c.time) << c.minutes;
        EXPECT_EQ(value.date(), c.date) << c.minutes;
    }
    EXPECT_EQ(CDateTriggerTime(510).serial(), DateValue::fromTime(8, 30, 0).serial());
    EXPECT_EQ(DateFormat::HourMinuteAmPm(CDateTriggerTime(510)), "8:30 AM");
}

// A value the conversion cannot take goes to the error handler with the function's trail;
// whatever the answer, the caller gets the initial result and no error.
TEST(TriggerConversions, ErrorsAreReportedAndGiveTheInitialResult) {
    struct Case {
        const char* function;
        DateValue value;
    };
    const double lowest = std::numeric_limits<std::int32_t>::min();
    const Case cases[] = {
        {"ClngTriggerDate", DateValue(3e9)},        // beyond the 32-bit range
        {"ClngTriggerDate", DateValue(lowest + 5)}, // the subtraction overflows
        {"ClngTriggerDate", DateValue(std::nan(""))},
        {"ClngTriggerTime", DateValue(3e9)}, // no date at all
        {"ClngTriggerTime", DateValue(std::nan(""))},
    };
    struct Answers {
        std::vector<QString> script;
        std::size_t questions;
    };
    // Retry runs the failing statement again (here failing again, then left); Continue goes
    // on past it to the end; any other answer leaves.
    const Answers answers[] = {{{"4", "3"}, 2}, {{"5"}, 1}, {{"3"}, 1}, {{""}, 1}};
    for (const Case& c : cases) {
        for (const Answers& a : answers) {
            ScriptedErrors errors;
            for (const QString& answer : a.script)
                errors.answer(answer);
            const std::int32_t result = QString(c.function) == "ClngTriggerDate"
                                            ? ClngTriggerDate(c.value)
                                            : ClngTriggerTime(c.value);
            const std::string what = std::string(c.function) + " " +
                                     std::to_string(c.value.serial()) + " answered " +
                                     a.script.front().toStdString();
            EXPECT_EQ(result, 0) << what;
            ASSERT_EQ(errors.reports().size(), a.questions) << what;
            for (const auto& report : errors.reports()) {
                EXPECT_EQ(report.number, 6) << what;
                EXPECT_EQ(report.trail, QString(c.function) + "&") << what;
                EXPECT_TRUE(report.detail.isNull()) << what;
                EXPECT_TRUE(report.activity.isNull()) << what;
            }
        }
    }
}
