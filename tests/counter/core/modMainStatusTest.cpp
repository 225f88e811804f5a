#include "tests/support/MockClock.h"

#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"

#include <QDate>
#include <QTime>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;
using brantock::testsupport::MockClock;

namespace {

struct UpTimeCase {
    QTime start;
    QTime now;
    int daysLater;
    const char* expected;
};

DateValue at(const QTime& time, int daysLater = 0) {
    return DateValue::fromDateTime(QDate(2026, 3, 2).addDays(daysLater), time);
}

} // namespace

TEST(UpTimeString, CountsTheMinuteBoundariesPassedSinceCountingStarted) {
    const UpTimeCase cases[] = {
        {QTime(10, 0, 0), QTime(10, 0, 0), 0, "0 minutes"},
        {QTime(10, 0, 0), QTime(10, 0, 59), 0, "0 minutes"},
        {QTime(10, 0, 59), QTime(10, 1, 0), 0, "1 minute"},
        {QTime(10, 0, 0), QTime(10, 59, 30), 0, "59 minutes"},
        {QTime(10, 0, 0), QTime(11, 0, 0), 0, "1 hour and 0 minutes"},
        {QTime(10, 0, 0), QTime(11, 1, 0), 0, "1 hour and 1 minute"},
        {QTime(10, 0, 0), QTime(12, 0, 0), 0, "2 hours and 0 minutes"},
        {QTime(10, 0, 0), QTime(12, 15, 0), 1, "26 hours and 15 minutes"},
    };
    for (const UpTimeCase& c : cases) {
        MockClock clock(at(c.now, c.daysLater));
        CountingStartTime = at(c.start);
        EXPECT_EQ(UpTimeString().toStdString(), c.expected)
            << c.start.toString().toStdString() << " to " << c.now.toString().toStdString();
    }
}
