#include "tests/support/MockClock.h"

#include "counter/InputEventTime.h"

#include <QMouseEvent>

#include <gtest/gtest.h>

#include <vector>

using namespace brantock;
using brantock::counter::InputEventTime;
using brantock::testsupport::MockClock;

namespace {

struct Press {
    qint64 handledAtMs; // on the monotonic clock, from the test's start
    quint64 stamp;      // the window system's stamp; 0 for none
    qint64 expectedMs;  // when the press happened, from the test's start
};

struct EventTimeCase {
    const char* name;
    std::vector<Press> presses;
};

class EventTime : public ::testing::TestWithParam<EventTimeCase> {};

TEST_P(EventTime, GivesWhenThePressHappened) {
    MockClock clock(DateValue(46000.5));
    InputEventTime time;
    qint64 elapsed = 0;
    const qint64 start = Clock::current().monotonicMilliseconds();
    for (const Press& press : GetParam().presses) {
        clock.advanceSeconds(double(press.handledAtMs - elapsed) / 1000.0);
        elapsed = press.handledAtMs;
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        event.setTimestamp(press.stamp);
        EXPECT_EQ(time.at(event) - start, press.expectedMs) << "handled at " << press.handledAtMs;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EventTime,
    ::testing::Values(
        // The window system's clock runs 4 s behind ours; the second press waited 3 s.
        EventTimeCase{"AHandledLatePressKeepsItsTime",
                      {{5000, 1000, 5000}, {9000, 2000, 6000}, {9500, 5500, 9500}}},
        // A later prompt press shows the first was handled late: the offset only shrinks.
        EventTimeCase{"TheSmallestGapIsTheOffset", {{5000, 500, 5000}, {6000, 2000, 6000}}},
        EventTimeCase{"AnEventWithoutAStampIsNow", {{5000, 0, 5000}, {7000, 0, 7000}}},
        // The window system started again: its stamps begin anew and are learnt again.
        EventTimeCase{"StampsThatGoBackAreLearntAgain",
                      {{5000, 90000, 5000}, {8000, 100, 8000}, {9000, 1100, 9000}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
