#include "reports/core/PreviewChoice.h"
#include "runtime/RuntimeError.h"

#include <QDate>
#include <QTime>

#include <gtest/gtest.h>

#include <functional>

using namespace brantock;
using namespace brantock::reports;
using Focus = PreviewChoice::Focus;

namespace {

DateValue day(int d) {
    return DateValue::fromDateTime(QDate(2026, 3, d), QTime(0, 0));
}
DateValue time(int h, int m, int s = 0) {
    return DateValue::fromDateTime(QDate(1899, 12, 30), QTime(h, m, s));
}

// Options that pass both checks: Monday to Friday, 08:00 to 17:00, one day.
ReportOptions passing() {
    ReportOptions o;
    o.StartDate = day(2);
    o.EndDate = day(2);
    o.StartTime = time(8, 0);
    o.EndTime = time(17, 0);
    o.include = {true, true, true, true, true, false, false};
    o.dayUnitsText = "60";
    o.totalsUnitsText = "1";
    o.period = "Days";
    return o;
}

struct Case {
    const char* name;
    std::function<void(ReportOptions&)> change;
    std::optional<Focus> day;    // the day report's refusal, none when it passes
    std::optional<Focus> totals; // the totals report's
};

} // namespace

TEST(PreviewChoice, EachReportRefusesWhatItCannotUseInTheWindowsOrder) {
    const Case cases[] = {
        {"as set", [](ReportOptions&) {}, std::nullopt, std::nullopt},
        {"equal dates and times", [](ReportOptions& o) { o.EndTime = o.StartTime; }, std::nullopt,
         std::nullopt},
        {"end date first", [](ReportOptions& o) { o.EndDate = day(1); }, Focus::DateSelector,
         Focus::DateSelector},
        {"end time first", [](ReportOptions& o) { o.EndTime = time(7, 59, 59); }, Focus::EndTime,
         Focus::EndTime},
        {"both wrong: the dates first",
         [](ReportOptions& o) {
             o.EndDate = day(1);
             o.EndTime = time(7, 0);
         },
         Focus::DateSelector, Focus::DateSelector},
        {"only Saturday",
         [](ReportOptions& o) { o.include = {false, false, false, false, false, true, false}; },
         std::nullopt, std::nullopt},
        {"no day", [](ReportOptions& o) { o.include = {}; }, Focus::Monday, std::nullopt},
        {"no day and letters",
         [](ReportOptions& o) {
             o.include = {};
             o.dayUnitsText = "ten";
         },
         Focus::Monday, std::nullopt},
        {"day units letters", [](ReportOptions& o) { o.dayUnitsText = "ten"; }, Focus::DayUnits,
         std::nullopt},
        {"day units empty", [](ReportOptions& o) { o.dayUnitsText = ""; }, Focus::DayUnits,
         std::nullopt},
        {"totals units letters", [](ReportOptions& o) { o.totalsUnitsText = "x"; }, std::nullopt,
         Focus::TotalsUnits},
        {"units with an exponent",
         [](ReportOptions& o) {
             o.dayUnitsText = "1e2";
             o.totalsUnitsText = " 7.5 ";
         },
         std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        ReportOptions o = passing();
        c.change(o);
        const auto dayRefusal = PreviewChoice::CheckDayReport(o);
        const auto totalsRefusal = PreviewChoice::CheckTotalsReport(o);
        EXPECT_EQ(dayRefusal.has_value(), c.day.has_value()) << c.name;
        EXPECT_EQ(totalsRefusal.has_value(), c.totals.has_value()) << c.name;
        if (dayRefusal && c.day) {
            EXPECT_EQ(dayRefusal->focus, *c.day) << c.name;
        }
        if (totalsRefusal && c.totals) {
            EXPECT_EQ(totalsRefusal->focus, *c.totals) << c.name;
        }
    }
}

TEST(PreviewChoice, TheMessagesAreTheWindowsOwn) {
    ReportOptions o = passing();
    o.EndDate = day(1);
    EXPECT_EQ(PreviewChoice::CheckDayReport(o)->message,
              "The End date needs to be after the Start date.");
    o = passing();
    o.EndTime = time(7, 0);
    EXPECT_EQ(PreviewChoice::CheckTotalsReport(o)->message,
              "The End time needs to be after the Start time.");
    o = passing();
    o.include = {};
    EXPECT_EQ(PreviewChoice::CheckDayReport(o)->message, "You need to select at least one day.");
    o = passing();
    o.totalsUnitsText = "many";
    EXPECT_EQ(PreviewChoice::CheckTotalsReport(o)->message,
              "The value entered for Units needs to be a number");
}

TEST(PreviewChoice, UnitsAreRoundedHalvesToEvenWithBlanksIgnored) {
    const std::pair<const char*, int> cases[] = {
        {"60", 60}, {"7.5", 8}, {"6.5", 6}, {"1e2", 100}, {" 1 5 ", 15}, {"0.4", 0}, {"-3", -3},
    };
    for (const auto& [text, units] : cases)
        EXPECT_EQ(PreviewChoice::Units(text), units) << text;
    try {
        PreviewChoice::Units("1e12");
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::Overflow);
    }
}
