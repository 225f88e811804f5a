#include "tests/reports/support/PrintedReport.h"
#include "tests/reports/support/TriggerFile.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"

#include "platform/data/Connection.h"
#include "platform/report/ReportLabel.h"
#include "reports/core/repTotals.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::reports::testsupport;
using brantock::testsupport::DataFiles;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::ScriptedMessages;

namespace {

std::int32_t dayNumber(const QDate& date) {
    return std::int32_t(QDate(2000, 1, 1).daysTo(date));
}

struct Options {
    QDate from;
    QDate to;
    QTime start = QTime(8, 0);
    QTime end = QTime(17, 0);
    int units = 1;
    QString period = QStringLiteral("Days");
    bool half = false;
};

std::unique_ptr<repTotals> totalsReport(const Options& o) {
    auto report = std::make_unique<repTotals>();
    report->StartDate = DateValue::fromDate(o.from);
    report->EndDate = DateValue::fromDate(o.to);
    report->StartTime = DateValue::fromTime(o.start.hour(), o.start.minute(), 0);
    report->EndTime = DateValue::fromTime(o.end.hour(), o.end.minute(), 0);
    report->Units = o.units;
    report->Period = o.period;
    report->ChartType = 1;
    report->HalfCount = o.half;
    report->ShowDetails = true;
    report->Run();
    return report;
}

// The printed table: "DD/MM/YYYY=count" per line.
QStringList printed(const repTotals& report) {
    QStringList rows;
    const PrintedReport pages(report.Pages());
    for (const PrintedReport::Line& line : pages.lines())
        rows << line.at("txtPeriod") + u'=' + line.at("txtTotal");
    return rows;
}

// Triggers on every day from mid-December 2023 to March 2026, on each day of the month its
// day number of triggers, half inside the window 08:00 to 17:00 and half outside, a few
// counting down, and three in the minute 17:00.
std::vector<Trigger> dailyTriggers() {
    std::vector<Trigger> rows;
    for (QDate d(2023, 12, 15); d <= QDate(2026, 3, 31); d = d.addDays(1)) {
        const std::int32_t date = dayNumber(d);
        for (int i = 0; i < d.day(); ++i)
            rows.push_back({date, i % 2 == 0 ? 480 + i * 17 : 1021 + i, i % 5 != 0});
        for (int i = 0; i < 3; ++i)
            rows.push_back({date, 1020});
    }
    return rows;
}

// The window's triggers of one day, worked out from the rows' rule.
int windowCount(const QDate& d, QTime start, QTime end) {
    const int first = start.hour() * 60 + start.minute();
    const int last = end.hour() * 60 + end.minute();
    int count = 0;
    for (int i = 0; i < d.day(); ++i) {
        const int minute = i % 2 == 0 ? 480 + i * 17 : 1021 + i;
        count += minute >= first && minute <= last ? 1 : 0;
    }
    return count + (first <= 1020 && last >= 1020 ? 3 : 0);
}

int halved(int count) {
    int half = count / 2;
    if (count % 2 == 1 && half % 2 == 1)
        ++half;
    return half;
}

class TotalsReport : public ::testing::Test {
protected:
    ScriptedErrors errors;
    ScriptedMessages boxes;
};

class TotalsReportOnDays : public TotalsReport {
protected:
    TotalsReportOnDays() { file.add(dailyTriggers()); }
    TriggerFile file;
};

} // namespace

TEST_F(TotalsReportOnDays, EachGroupCountsItsDaysUpToTheNextGroupsFirstDay) {
    struct Case {
        const char* name;
        Options options;
        std::function<QDate(QDate)> next;
    };
    const Case cases[] = {
        {"days", {QDate(2024, 2, 26), QDate(2024, 3, 2)}, [](QDate d) { return d.addDays(1); }},
        {"three days, half count",
         {QDate(2024, 2, 26), QDate(2024, 3, 9), QTime(8, 0), QTime(17, 0), 3, "Days", true},
         [](QDate d) { return d.addDays(3); }},
        // The second week counts up to 14 March, past the end date.
        {"weeks",
         {QDate(2024, 3, 1), QDate(2024, 3, 10), QTime(8, 0), QTime(17, 0), 1, "Weeks"},
         [](QDate d) { return d.addDays(7); }},
        // Each month steps from the first day of the group before it.
        {"months from the 31st",
         {QDate(2024, 1, 31), QDate(2024, 12, 31), QTime(8, 0), QTime(17, 0), 1, "Months"},
         [](QDate d) { return d.addMonths(1); }},
        {"two years from 29 February, half count",
         {QDate(2024, 2, 29), QDate(2025, 12, 31), QTime(0, 0), QTime(23, 59), 2, "Years", true},
         [](QDate d) { return d.addYears(2); }},
        {"one minute of one day",
         {QDate(2025, 7, 4), QDate(2025, 7, 4), QTime(17, 0), QTime(17, 0), 1, "Days"},
         [](QDate d) { return d.addDays(1); }},
    };
    for (const Case& c : cases) {
        const Options& o = c.options;
        QStringList expected;
        int grand = 0;
        for (QDate d = o.from; d <= o.to; d = c.next(d)) {
            int count = 0;
            for (QDate day = d; day < c.next(d); day = day.addDays(1))
                count += windowCount(day, o.start, o.end);
            count = o.half ? halved(count) : count;
            grand += count;
            expected << d.toString("dd/MM/yyyy") + u'=' + QString::number(count);
        }
        const std::unique_ptr<repTotals> report = totalsReport(o);
        EXPECT_EQ(printed(*report), expected) << c.name;
        const PrintedReport pages(report->Pages());
        EXPECT_EQ(pages.text("txtGrandTotal"), QString::number(grand)) << c.name;
        // The chart shows the same rows; more than 12 leave the painter to space the labels.
        const auto chart = pages.chart();
        ASSERT_NE(chart, nullptr) << c.name;
        EXPECT_EQ(chart->categories.size(), expected.size()) << c.name;
        EXPECT_EQ(chart->labelSpacing, expected.size() > 12 ? 0 : 1) << c.name;
        EXPECT_EQ(chart->tickSpacing, expected.size() > 12 ? 0 : 1) << c.name;
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TotalsReportOnDays, TheHeaderTellsTheGroupsTheRangeTheWindowAndTheCount) {
    struct Case {
        Options options;
        QString group;
        QString count;
        int rows;
    };
    const Case cases[] = {
        {{QDate(2024, 3, 1), QDate(2024, 3, 10), QTime(8, 0), QTime(17, 0), 2, "Weeks", true},
         "Grouped into 2 week periods",
         "Half count",
         1},
        // The caption tells the units as given; the run groups by one day.
        {{QDate(2024, 3, 1), QDate(2024, 3, 12), QTime(8, 0), QTime(17, 0), 0, "Days"},
         "Grouped into 0 day periods",
         "Full count",
         12},
        {{QDate(2024, 3, 1), QDate(2024, 3, 13), QTime(8, 0), QTime(17, 0), -3, "Days"},
         "Grouped into -3 day periods",
         "Full count",
         13},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<repTotals> report = totalsReport(c.options);
        const PrintedReport pages(report->Pages());
        EXPECT_EQ(report->Caption(), "Brantock - Totals Report");
        EXPECT_EQ(pages.text("lblReportName"), "Totals Report");
        EXPECT_EQ(pages.text("lblGroup"), c.group);
        EXPECT_EQ(pages.text("lblHalfCount"), c.count);
        const platform::PageItem* half = pages.item("lblHalfCount");
        ASSERT_NE(half, nullptr);
        EXPECT_EQ(half->left + half->width, 1440 + 9000);
        EXPECT_EQ(pages.text("lblTime"), "From 08:00 AM to 05:00 PM");
        EXPECT_EQ(printed(*report).size(), c.rows) << c.group.toStdString();
        EXPECT_GE(report->Units, 1);
        // Twelve rows keep the axis as designed; thirteen leave the labels to the painter.
        EXPECT_EQ(pages.chart()->labelSpacing, c.rows > 12 ? 0 : 1) << c.rows;
    }
    const std::unique_ptr<repTotals> report = totalsReport(cases[0].options);
    EXPECT_EQ(PrintedReport(report->Pages()).text("lblDateRange"), "From 3/1/2024 to 3/10/2024");
    EXPECT_EQ(report->Period, "WW");
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TotalsReport, AFileThatCannotBeOpenedGivesTheHeaderAndChartWithoutRows) {
    for (const TriggerFile::Fault fault : TriggerFile::Faults) {
        ScriptedErrors scripted;
        TriggerFile file;
        const int error = file.spoil(fault);
        const std::unique_ptr<repTotals> report =
            totalsReport({QDate(2024, 3, 1), QDate(2024, 3, 31)});
        ASSERT_EQ(scripted.reports().size(), 1u) << error;
        EXPECT_EQ(scripted.reports()[0].number, error);
        EXPECT_EQ(scripted.reports()[0].trail, "OpenCN&") << error;
        EXPECT_EQ(report->datReport.Recordset()->RecordCount(), 0) << error;
        const PrintedReport pages(report->Pages());
        EXPECT_TRUE(pages.lines().empty()) << error;
        EXPECT_TRUE(pages.prints("chrtReport")) << error;
        EXPECT_EQ(pages.text("lblDateRange"), "From 3/1/2024 to 3/31/2024") << error;
    }
}

TEST_F(TotalsReport, FirstFormatFilesCountAndAFailingCountIsReported) {
    {
        TriggerFile file(TriggerFile::Format::First);
        file.add(std::vector<Trigger>{{dayNumber(QDate(2024, 3, 1)), 600},
                                      {dayNumber(QDate(2024, 3, 1)), 601},
                                      {dayNumber(QDate(2024, 3, 2)), 1200}});
        EXPECT_EQ(printed(*totalsReport({QDate(2024, 3, 1), QDate(2024, 3, 2)})),
                  QStringList({"01/03/2024=2", "02/03/2024=0"}));
        EXPECT_TRUE(errors.reports().empty());
    }
    {
        TriggerFile file;
        file.execute("DROP TABLE Triggers");
        const std::unique_ptr<repTotals> report =
            totalsReport({QDate(2024, 3, 1), QDate(2024, 3, 2)});
        ASSERT_EQ(errors.reports().size(), 1u);
        EXPECT_EQ(errors.reports()[0].trail, "repTotals - ReportStart&");
        EXPECT_TRUE(report->wasCancelled());
    }
}

TEST_F(TotalsReport, AGroupPastTheLastYearIsReportedAndIgnoringItNeverLoops) {
    TriggerFile file;
    errors.answer("5");
    const std::unique_ptr<repTotals> report = totalsReport(
        {QDate(2024, 3, 1), QDate(2024, 3, 31), QTime(8, 0), QTime(17, 0), 9000, "Years"});
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, 5);
    EXPECT_EQ(errors.reports()[0].trail, "repTotals - ReportStart&");
    EXPECT_FALSE(report->wasCancelled());
    EXPECT_TRUE(printed(*report).isEmpty());
    EXPECT_TRUE(PrintedReport(report->Pages()).prints("chrtReport"));
}

TEST_F(TotalsReport, TheCountSearchesTheIndexDayByDayAndWithoutItReadsTheTableOnce) {
    for (const auto format : {TriggerFile::Format::Full, TriggerFile::Format::First}) {
        TriggerFile file(format);
        platform::Connection cn;
        cn.Open(DataFiles::connectionText(file.path()));
        const QString plan = file.plan(repTotals::CountStatementFor(cn), {480, 1020, 8766, 12419});
        if (format == TriggerFile::Format::Full) {
            EXPECT_TRUE(plan.contains("SEARCH Triggers USING COVERING INDEX TriggersByDateTime "
                                      "(TriggerDate=? AND TriggerTime>? AND TriggerTime<?)"))
                << plan.toStdString();
        } else {
            EXPECT_EQ(plan.count("SCAN Triggers"), 1) << plan.toStdString();
            EXPECT_FALSE(plan.contains("CORRELATED")) << plan.toStdString();
        }
    }
}
