#include "tests/support/MockClock.h"
#include "tests/support/TestDates.h"

#include "reports/DateSelector.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <string>

using namespace brantock;
using namespace brantock::reports;
using brantock::testsupport::at;
using brantock::testsupport::day;
using brantock::testsupport::isoDay;
using brantock::testsupport::MockClock;

namespace {

using Range = std::pair<std::string, std::string>;

Range range(DateValue start, DateValue end) {
    return {isoDay(start), isoDay(end)};
}

// A control placed on 15 March 2024 (a leap year), with spies on what it tells its host.
class DateSelectorTest : public ::testing::Test {
protected:
    Range shown() const { return range(control.StartDate(), control.EndDate()); }
    QStringList marked() {
        QStringList names;
        for (const QList<QVariant>& call : propertyChanged)
            names << call.at(0).toString();
        propertyChanged.clear();
        return names;
    }

    MockClock clock{at(2024, 3, 15, 10, 30)};
    DateSelector control;
    QSignalSpy change{&control, &DateSelector::Change};
    QSignalSpy propertyChanged{&control, &DateSelector::PropertyChanged};
};

} // namespace

TEST_F(DateSelectorTest, ANewControlShowsThePreviousMonth) {
    EXPECT_EQ(shown(), range(day(2024, 2, 1), day(2024, 2, 29)));
    EXPECT_EQ(control.Period(), 2);
    EXPECT_EQ(control.PeriodCount(), 1);
    EXPECT_EQ(control.StartDateOffset(), 1);
    EXPECT_EQ(control.PeriodStartDate(), day(2000, 1, 1));
    EXPECT_TRUE(control.ShowStartDate());
    EXPECT_TRUE(control.ShowEndDate());
    EXPECT_EQ(control.lblStartDate()->text(), "Start date");
    EXPECT_EQ(control.lblEndDate()->text(), "End date");
    EXPECT_FALSE(control.DateLocked());
    EXPECT_EQ(control.dtpStartDate()->toolTip(), "Start date for the report");
    EXPECT_EQ(control.dtpEndDate()->toolTip(), "End date for the report");
    EXPECT_EQ(control.chkLockDate()->toolTip(), "Hold these date settings");
    EXPECT_EQ(control.updDate()->toolTip(), "Move both dates back or forward ");

    // On the first of a month (whatever the time) the forward stepping stops a block early.
    clock.set(at(2024, 3, 1, 10, 30));
    DateSelector onTheFirst;
    EXPECT_EQ(range(onTheFirst.StartDate(), onTheFirst.EndDate()),
              range(day(2024, 1, 1), day(2024, 1, 31)));
}

// Each Let of a value that places the block places it again and marks the value; the same
// value again does nothing (a range set by hand stays). The Period Let always recomputes.
TEST_F(DateSelectorTest, PropertiesPlaceTheBlockAgain) {
    struct Case {
        const char* name;
        std::function<void()> let;
        Range expected;
    };
    const Case cases[] = {
        {"Period", [&] { control.SetPeriod(0); }, range(day(2023, 1, 1), day(2023, 12, 31))},
        {"Period", [&] { control.SetPeriod(1); }, range(day(2023, 10, 1), day(2023, 12, 31))},
        {"Period", [&] { control.SetPeriod(2); }, range(day(2024, 2, 1), day(2024, 2, 29))},
        {"PeriodCount", [&] { control.SetPeriodCount(3); },
         range(day(2023, 10, 1), day(2023, 12, 31))},
        {"StartDateOffset", [&] { control.SetStartDateOffset(0); },
         range(day(2024, 1, 1), day(2024, 3, 31))},
        {"PeriodStartDate", [&] { control.SetPeriodStartDate(day(2023, 2, 1)); },
         range(day(2024, 2, 1), day(2024, 4, 30))},
        // Today on the first day of a block: the forward stepping stops a block early.
        {"Period", [&] { control.SetPeriod(4); }, range(day(2024, 3, 12), day(2024, 3, 14))},
        {"Period", [&] { control.SetPeriod(6); }, range(day(2024, 3, 3), day(2024, 3, 23))},
    };
    for (const Case& c : cases) {
        c.let();
        EXPECT_EQ(shown(), c.expected) << c.name;
        EXPECT_EQ(marked(), QStringList{c.name}) << c.name;
    }

    control.SetDates(day(2020, 5, 5), 6, 3); // by hand
    marked();
    control.SetPeriodCount(3);
    control.SetStartDateOffset(0);
    control.SetPeriodStartDate(day(2023, 2, 1));
    EXPECT_EQ(shown(), range(day(2020, 5, 5), day(2020, 5, 25)));
    EXPECT_TRUE(marked().isEmpty());
    control.SetPeriod(6);
    EXPECT_EQ(shown(), range(day(2024, 3, 3), day(2024, 3, 23)));
    EXPECT_EQ(marked(), QStringList{"Period"});
    EXPECT_EQ(change.count(), 0);
}

TEST_F(DateSelectorTest, PeriodNumbersOutsideTheListSelectTheMonth) {
    control.SetPeriod(0);
    control.SetPeriod(10);
    EXPECT_EQ(control.Period(), 2);
    EXPECT_EQ(shown(), range(day(2024, 2, 1), day(2024, 2, 29)));
    control.SetPeriod(9);
    EXPECT_EQ(control.Period(), 9);
    control.SetPeriod(-1);
    EXPECT_EQ(control.Period(), 2);
}

// What the report window does at load: the current month; the count is stored as given.
TEST_F(DateSelectorTest, SetDatesSelectsAWholeBlockFromTheStart) {
    control.SetDates(control.FirstOf("m", clock.now().dateOnly()), 2, 1);
    EXPECT_EQ(shown(), range(day(2024, 3, 1), day(2024, 3, 31)));

    control.SetDates(day(2024, 2, 29), 0, 2);
    EXPECT_EQ(shown(), range(day(2024, 2, 29), day(2026, 2, 27)));
    EXPECT_EQ(control.PeriodCount(), 2);
    EXPECT_EQ(marked(), (QStringList{"Period", "Period"})); // the count is not marked
    EXPECT_EQ(change.count(), 0);

    DateValue start, end;
    control.GetReportDates(start, end);
    EXPECT_EQ(range(start, end), range(day(2024, 2, 29), day(2026, 2, 27)));
}

TEST_F(DateSelectorTest, SpinArrowsMoveBothDatesByOneBlock) {
    struct Case {
        int period;
        double count;
        DateValue start;
        QToolButton* (DateSelector::*arrow)() const;
        Range expected;
    };
    const Case cases[] = {
        {2, 1, day(2023, 2, 1), &DateSelector::updDateDown,
         range(day(2023, 1, 1), day(2023, 1, 31))},
        {2, 1, day(2023, 1, 31), &DateSelector::updDateUp,
         range(day(2023, 2, 28), day(2023, 3, 27))},
        {0, 1, day(2024, 2, 29), &DateSelector::updDateUp,
         range(day(2025, 2, 28), day(2026, 2, 27))},
        {1, 1, day(2024, 1, 1), &DateSelector::updDateDown,
         range(day(2023, 10, 1), day(2023, 12, 31))},
        {4, 7, day(2024, 2, 26), &DateSelector::updDateUp,
         range(day(2024, 3, 4), day(2024, 3, 10))},
        {6, 2, day(2024, 3, 3), &DateSelector::updDateDown,
         range(day(2024, 2, 18), day(2024, 3, 2))},
    };
    for (const Case& c : cases) {
        control.SetDates(c.start, c.period, c.count);
        change.clear();
        QTest::mouseClick((control.*c.arrow)(), Qt::LeftButton);
        EXPECT_EQ(shown(), c.expected) << c.period << " " << isoDay(c.start);
        EXPECT_EQ(change.count(), 1) << c.period << " " << isoDay(c.start);
    }
}

TEST_F(DateSelectorTest, ASpinClickMakesARangeEditedByHandAWholeBlockAgain) {
    control.SetDates(day(2024, 1, 1), 2, 1);
    QTest::keyClick(control.dtpEndDate(), Qt::Key_Up); // the month section
    EXPECT_EQ(shown(), range(day(2024, 1, 1), day(2024, 2, 29)));
    control.updDate_UpClick();
    EXPECT_EQ(shown(), range(day(2024, 2, 1), day(2024, 2, 29)));
}

// Change tells of the user's edits and spin clicks only.
TEST_F(DateSelectorTest, ChangeFollowsTheUserNotTheCode) {
    control.SetPeriod(0);
    control.SetPeriodCount(2);
    control.SetDates(day(2024, 1, 1), 2, 1);
    control.SetStartDate(day(2024, 3, 15));
    control.SetEndDate(day(2024, 1, 10));
    control.SetDateLocked(true);
    control.SetDateLocked(false);
    control.ReadProperties(platform::PropertyBag(QVariantMap{{"Period", 0}}));
    EXPECT_EQ(change.count(), 0);

    QTest::keyClick(control.dtpStartDate(), Qt::Key_Up);
    EXPECT_EQ(change.count(), 1);
    QTest::keyClick(control.dtpEndDate(), Qt::Key_Down);
    EXPECT_EQ(change.count(), 2);
    control.updDate_DownClick();
    EXPECT_EQ(change.count(), 3);
}

TEST_F(DateSelectorTest, MovingOneDatePastTheOther) {
    // A start after the end pulls the end to the last day of the next period.
    control.SetStartDate(day(2024, 3, 15));
    EXPECT_EQ(shown(), range(day(2024, 3, 15), day(2024, 4, 30)));
    // Before the end, the end stays.
    control.SetStartDate(day(2024, 4, 2));
    EXPECT_EQ(shown(), range(day(2024, 4, 2), day(2024, 4, 30)));
    // An end before the start pulls the start back to the first day of the period before.
    control.SetEndDate(day(2024, 3, 20));
    EXPECT_EQ(shown(), range(day(2024, 2, 1), day(2024, 3, 20)));

    // While the other date is hidden it stays where it is.
    control.SetShowEndDate(false);
    control.SetStartDate(day(2024, 6, 1));
    EXPECT_EQ(shown(), range(day(2024, 6, 1), day(2024, 3, 20)));
    control.SetShowEndDate(true);
    control.SetShowStartDate(false);
    control.SetEndDate(day(2024, 1, 1));
    EXPECT_EQ(shown(), range(day(2024, 6, 1), day(2024, 1, 1)));
    EXPECT_EQ(change.count(), 0);
}

TEST_F(DateSelectorTest, TheLockHoldsTheUserNotTheCode) {
    QTest::mouseClick(control.chkLockDate(), Qt::LeftButton, {}, QPoint(6, 9)); // the box
    EXPECT_TRUE(control.DateLocked());
    EXPECT_FALSE(control.dtpStartDate()->isEnabled());
    EXPECT_FALSE(control.dtpEndDate()->isEnabled());
    EXPECT_FALSE(control.updDate()->isEnabled());

    QTest::mouseClick(control.updDateUp(), Qt::LeftButton);
    EXPECT_EQ(shown(), range(day(2024, 2, 1), day(2024, 2, 29)));
    EXPECT_EQ(change.count(), 0);

    control.SetDates(day(2024, 3, 1), 2, 1);
    EXPECT_EQ(shown(), range(day(2024, 3, 1), day(2024, 3, 31)));
    control.SetPeriod(0);
    EXPECT_EQ(shown(), range(day(2023, 1, 1), day(2023, 12, 31)));

    marked();
    control.SetDateLocked(false);
    EXPECT_FALSE(control.DateLocked());
    EXPECT_TRUE(control.dtpStartDate()->isEnabled());
    EXPECT_TRUE(control.updDate()->isEnabled());
    control.SetDateLocked(true);
    EXPECT_EQ(control.chkLockDate()->checkState(), Qt::Checked);
    EXPECT_FALSE(control.dtpEndDate()->isEnabled());
    EXPECT_TRUE(marked().isEmpty()); // the lock is not saved
}

TEST_F(DateSelectorTest, HidingADateHidesItsLabelAndTheSpin) {
    control.SetShowStartDate(false);
    EXPECT_TRUE(control.dtpStartDate()->isHidden());
    EXPECT_TRUE(control.lblStartDate()->isHidden());
    EXPECT_TRUE(control.updDate()->isHidden());
    EXPECT_FALSE(control.dtpEndDate()->isHidden());
    EXPECT_EQ(marked(), QStringList{"ShowStartDate"});
    control.SetShowStartDate(false);
    EXPECT_TRUE(marked().isEmpty());

    control.SetDates(day(2024, 3, 1), 2, 1); // the dates keep working
    EXPECT_EQ(shown(), range(day(2024, 3, 1), day(2024, 3, 31)));

    control.SetShowEndDate(false);
    control.SetShowStartDate(true);
    EXPECT_FALSE(control.dtpStartDate()->isHidden());
    EXPECT_TRUE(control.lblEndDate()->isHidden());
    EXPECT_TRUE(control.updDate()->isHidden()); // needs both dates
    control.SetShowEndDate(true);
    EXPECT_FALSE(control.updDate()->isHidden());
    EXPECT_EQ(marked(), (QStringList{"Period", "ShowEndDate", "ShowStartDate", "ShowEndDate"}));
}

TEST_F(DateSelectorTest, CaptionsNameTheLabels) {
    control.SetStartDateCaption("From");
    control.SetEndDateCaption("To");
    control.SetEndDateCaption("To");
    EXPECT_EQ(control.StartDateCaption(), "From");
    EXPECT_EQ(control.lblStartDate()->text(), "From");
    EXPECT_EQ(control.lblEndDate()->text(), "To");
    EXPECT_EQ(marked(), (QStringList{"StartDateCaption", "EndDateCaption"}));
}

TEST_F(DateSelectorTest, SavedValuesReadBackWithTheirDefaults) {
    platform::PropertyBag saved;
    control.WriteProperties(saved);
    EXPECT_TRUE(saved.values().isEmpty()); // every value at its default

    const QVariantMap values{{"ShowStartDate", false},
                             {"ShowEndDate", true},
                             {"StartDateCaption", "From"},
                             {"EndDateCaption", "Until"},
                             {"Period", 0},
                             {"PeriodCount", 2.0},
                             {"PeriodStartDate", QDateTime(QDate(2001, 1, 1), QTime(), Qt::UTC)},
                             {"StartDateOffset", 0.0}};
    DateSelector loaded;
    QSignalSpy loadedMarks(&loaded, &DateSelector::PropertyChanged);
    loaded.ReadProperties(platform::PropertyBag(values));
    EXPECT_EQ(loadedMarks.count(), 0);
    EXPECT_FALSE(loaded.ShowStartDate());
    EXPECT_TRUE(loaded.dtpStartDate()->isHidden());
    EXPECT_EQ(loaded.lblStartDate()->text(), "From");
    EXPECT_EQ(loaded.EndDateCaption(), "Until");
    EXPECT_EQ(loaded.Period(), 0);
    EXPECT_EQ(loaded.PeriodCount(), 2);
    EXPECT_EQ(loaded.PeriodStartDate(), day(2001, 1, 1));
    EXPECT_EQ(loaded.StartDateOffset(), 0);
    // Placed once with every loaded value: two-year blocks from 2001, today's block.
    EXPECT_EQ(range(loaded.StartDate(), loaded.EndDate()),
              range(day(2023, 1, 1), day(2024, 12, 31)));

    platform::PropertyBag again;
    loaded.WriteProperties(again);
    QVariantMap expected = values;
    expected.remove("ShowEndDate");
    EXPECT_EQ(again.values(), expected);

    // An unreadable value is passed over; the others still load.
    DateSelector partly;
    partly.ReadProperties(platform::PropertyBag(
        QVariantMap{{"PeriodCount", "lots"}, {"StartDateOffset", 2.0}, {"Period", "yearly"}}));
    EXPECT_EQ(partly.PeriodCount(), 1);
    EXPECT_EQ(partly.Period(), 2);
    EXPECT_EQ(partly.StartDateOffset(), 2);
    EXPECT_EQ(range(partly.StartDate(), partly.EndDate()),
              range(day(2024, 1, 1), day(2024, 1, 31)));
}

TEST_F(DateSelectorTest, PeriodMenuSetsThePeriod) {
    EXPECT_EQ(control.mnuOptions()->title(), "Options");
    const QList<QAction*> top = control.mnuOptions()->actions();
    ASSERT_EQ(top.size(), 1);
    EXPECT_EQ(top[0]->text(), "Period");
    const char* texts[] = {"Year",    "Quarter", "Month", "Day of Year", "Day",
                           "Weekday", "Week",    "Hour",  "Minute",      "Second"};
    QStringList shownItems;
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(control.miPeriod(i)->text(), texts[i]);
        if (control.miPeriod(i)->isVisible())
            shownItems << control.miPeriod(i)->text();
    }
    EXPECT_EQ(shownItems, (QStringList{"Year", "Quarter", "Month", "Day", "Week"}));

    control.miPeriod(0)->trigger();
    EXPECT_EQ(control.Period(), 0);
    EXPECT_EQ(shown(), range(day(2023, 1, 1), day(2023, 12, 31)));
    EXPECT_EQ(marked(), QStringList{"Period"});
}

TEST_F(DateSelectorTest, LayoutFillsTheWidthRightOfTheLabels) {
    control.show();
    control.resize(168, 78); // 2520 by 1170 twips, as the report window places it
    EXPECT_EQ(control.dtpStartDate()->geometry(), QRect(50, 0, 118, 21));
    EXPECT_EQ(control.dtpEndDate()->geometry(), QRect(50, 25, 118, 21));
    EXPECT_EQ(control.updDate()->geometry(), QRect(102, 50, 62, 18));
    EXPECT_EQ(control.chkLockDate()->geometry(), QRect(0, 50, 48, 18));

    control.resize(40, 78); // narrower than the labels
    EXPECT_EQ(control.dtpStartDate()->width(), 0);
    EXPECT_EQ(control.dtpEndDate()->width(), 0);
    EXPECT_EQ(control.updDate()->x(), -26);
}

// Property errors reach the caller with the trail; the event procedures go on past them.
TEST_F(DateSelectorTest, DatesBeyondTheLastYear) {
    const auto source = [](const std::function<void()>& f) {
        try {
            f();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), 5);
            return e.source();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(source([&] { control.SetPeriodStartDate(day(9999, 12, 15)); }),
              "Let PeriodStartDate&CalculateDates&");
    control.SetPeriodStartDate(day(2000, 1, 1));
    EXPECT_EQ(source([&] { control.SetDates(day(9999, 12, 15), 2, 1); }), "SetDates&");
    EXPECT_EQ(source([&] { control.SetStartDate(day(9999, 12, 15)); }), "Let StartDate&LastOf&");

    control.SetEndDate(day(9999, 12, 31));
    control.SetStartDate(day(9999, 12, 15));
    change.clear();
    control.updDate_UpClick();
    EXPECT_EQ(shown(), range(day(9999, 12, 15), day(9999, 12, 31)));
    EXPECT_EQ(change.count(), 1);
}
