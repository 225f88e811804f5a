#include "tests/reports/support/PrintedReport.h"
#include "tests/reports/support/TriggerFile.h"
#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TestDates.h"

#include "foundation/modbrUtils.h"
#include "platform/data/Connection.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/report/ReportChart.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"
#include "reports/core/repDay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include <unistd.h>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::reports::testsupport;
using brantock::testsupport::at;
using brantock::testsupport::DataFiles;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::ScriptedMessages;

namespace {

using Days = std::array<bool, 7>; // Monday first
constexpr Days Workdays = {true, true, true, true, true, false, false};
constexpr Days AllDays = {true, true, true, true, true, true, true};
constexpr Days Weekend = {false, false, false, false, false, true, true};
constexpr Days MondayWednesdaySaturday = {true, false, true, false, false, true, false};
constexpr Days OnlyMonday = {true, false, false, false, false, false, false};

// Whether the thread sleeps while the file is open twice: the report's connection beside the
// test's own, waiting for the test's lock (the report sleeps nowhere else).
bool waitsForFile(pid_t thread, const QString& path) {
    QFile stat(QStringLiteral("/proc/self/task/%1/stat").arg(thread));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2; // after the command name, which may hold ")"
    if (state < 2 || state >= line.size() || line[state] != 'S')
        return false;
    const QString file = QFileInfo(path).canonicalFilePath();
    const QFileInfoList open =
        QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::Files | QDir::System);
    return std::count_if(open.begin(), open.end(),
                         [&](const QFileInfo& fd) { return fd.symLinkTarget() == file; }) >= 2;
}

std::int32_t dayNumber(const QDate& date) {
    return std::int32_t(QDate(2000, 1, 1).daysTo(date));
}

// 0 Monday ... 6 Sunday, from the calendar.
int weekdayOf(std::int32_t dayNumber) {
    return QDate(2000, 1, 1).addDays(dayNumber).dayOfWeek() - 1;
}

QString slotText(int minute) {
    const int hour = minute / 60;
    return QStringLiteral("%1:%2 %3")
        .arg(hour % 12 == 0 ? 12 : hour % 12)
        .arg(minute % 60, 2, 10, QLatin1Char('0'))
        .arg(hour < 12 ? "AM" : "PM");
}

// Half of a count, halves to the even number: 1 gives 0, 5 gives 2, 7 gives 4.
int halved(int count) {
    int half = count / 2;
    if (count % 2 == 1 && half % 2 == 1)
        ++half;
    return half;
}

struct Options {
    QDate from;
    QDate to;
    QTime start;
    QTime end;
    int units;
    Days days;
    bool half = false;
    bool details = true;
};

// What the report should show, worked out from the fixture's rows alone.
struct Slot {
    int minute;
    std::array<int, 7> counts{};
    int activeMinutes = 0;
};

struct Expected {
    std::vector<Slot> slots;
    int maxActive = 0;

    int total(const Slot& s) const {
        int sum = 0;
        for (int c : s.counts)
            sum += c;
        return sum;
    }
    QString active(const Slot& s) const {
        if (maxActive < 1)
            return QStringLiteral("0");
        return QString::number(std::clamp(s.activeMinutes * 100 / maxActive, 0, 100));
    }
};

Expected expect(const Options& o, const std::vector<Trigger>& triggers,
                const std::vector<Activity>& periods) {
    Expected x;
    const int first = o.start.hour() * 60 + o.start.minute();
    const int last = o.end.hour() * 60 + o.end.minute();
    for (int m = first; m <= last; m += o.units)
        x.slots.push_back({m});
    const std::int32_t from = dayNumber(o.from);
    const std::int32_t to = dayNumber(o.to);
    auto counted = [&](std::int32_t date) {
        return date >= from && date <= to && o.days[std::size_t(weekdayOf(date))];
    };
    for (const Trigger& t : triggers)
        if (counted(t.date) && t.minute >= first && t.minute <= last)
            ++x.slots[std::size_t((t.minute - first) / o.units)]
                  .counts[std::size_t(weekdayOf(t.date))];
    if (o.half)
        for (Slot& s : x.slots)
            for (int& c : s.counts)
                c = halved(c);
    for (std::int32_t d = from; d <= to; ++d)
        x.maxActive += counted(d) ? o.units : 0;
    for (const Activity& a : periods) {
        // Periods of the report's days that reach into its time window.
        if (!counted(a.date) || a.from > last || a.to < first)
            continue;
        for (Slot& s : x.slots)
            s.activeMinutes +=
                std::max(0, std::min(a.to, s.minute + o.units) - std::max(a.from, s.minute));
    }
    return x;
}

std::unique_ptr<repDay> dayReport(const Options& o) {
    auto report = std::make_unique<repDay>();
    report->StartDate = DateValue::fromDate(o.from);
    report->EndDate = DateValue::fromDate(o.to);
    report->IncludeMonday = o.days[0];
    report->IncludeTuesday = o.days[1];
    report->IncludeWednesday = o.days[2];
    report->IncludeThursday = o.days[3];
    report->IncludeFriday = o.days[4];
    report->IncludeSaturday = o.days[5];
    report->IncludeSunday = o.days[6];
    report->StartTime = DateValue::fromTime(o.start.hour(), o.start.minute(), o.start.second());
    report->EndTime = DateValue::fromTime(o.end.hour(), o.end.minute(), o.end.second());
    report->TimeUnits = o.units;
    report->ChartType = 3;
    report->HalfCount = o.half;
    report->ShowDetails = o.details;
    report->Run();
    return report;
}

// Every slot of the in-memory table: its time and its day columns as the table holds them.
std::vector<std::pair<QString, std::array<QVariant, 7>>> tableOf(const repDay& report) {
    std::vector<std::pair<QString, std::array<QVariant, 7>>> rows;
    platform::MemoryRecordset table = *report.datReport.Recordset();
    for (table.MoveFirst(); !table.IsEOF(); table.MoveNext()) {
        std::array<QVariant, 7> days;
        for (int i = 1; i < table.FieldCount(); ++i) {
            const auto* column =
                std::find(repDay::DayColumns.begin(), repDay::DayColumns.end(), table.FieldName(i));
            days[std::size_t(column - repDay::DayColumns.begin())] = table.Fields(i);
        }
        rows.emplace_back(table.Fields(0).toString(), days);
    }
    return rows;
}

// A month of triggers around January 2024 (1 January is a Monday), as a day at a door brings
// them: many by day, a few at night, fewer at weekends, one in seven counting down; and the
// minutes of the edges of the windows the cases use, and days just outside their ranges.
std::vector<Trigger> januaryTriggers() {
    std::vector<Trigger> rows;
    std::uint32_t seed = 12345;
    auto next = [&seed](std::uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    for (std::int32_t date = dayNumber(QDate(2023, 12, 29)); date <= dayNumber(QDate(2024, 2, 2));
         ++date) {
        const bool weekend = weekdayOf(date) >= 5;
        const int count = weekend ? 40 : 90;
        for (int i = 0; i < count; ++i) {
            const int minute = next(4) == 0 ? int(next(1440)) : 420 + int(next(660));
            rows.push_back({date, minute, next(7) != 0});
        }
        for (int minute : {0, 479, 480, 490, 1020, 1021, 1439})
            rows.push_back({date, minute, true});
    }
    return rows;
}

// Two counters whose periods overlap, one period that ends at a slot's first minute and one
// that starts at a slot's last, and days outside the ranges.
std::vector<Activity> januaryActivity() {
    std::vector<Activity> rows;
    for (std::int32_t date = dayNumber(QDate(2023, 12, 30)); date <= dayNumber(QDate(2024, 2, 1));
         ++date) {
        rows.push_back({date, 420, 750, QStringLiteral("COUNTER1")});
        if (date % 2 == 0)
            rows.push_back({date, 600, 1080, QStringLiteral("COUNTER2")});
        if (date % 5 == 0) {
            rows.push_back({date, 300, 480, QStringLiteral("COUNTER3")});
            rows.push_back({date, 1200, 1300, QStringLiteral("COUNTER3")});
        }
    }
    return rows;
}

class DayReport : public ::testing::Test {
protected:
    ScriptedErrors errors;
    ScriptedMessages boxes;
};

class DayReportOnJanuary : public DayReport {
protected:
    DayReportOnJanuary() {
        file.add(triggers);
        file.add(periods);
    }

    // The report's table, its printed lines and footer against the rows worked out by hand.
    void expectReport(const Options& o, const char* name) {
        const std::unique_ptr<repDay> report = dayReport(o);
        const Expected x = expect(o, triggers, periods);
        ASSERT_TRUE(report->hasRun()) << name;
        EXPECT_FALSE(report->wasCancelled()) << name;
        EXPECT_EQ(report->maxActive(), x.maxActive) << name;

        const auto table = tableOf(*report);
        ASSERT_EQ(table.size(), x.slots.size()) << name;
        for (std::size_t i = 0; i < table.size(); ++i) {
            EXPECT_EQ(table[i].first, slotText(x.slots[i].minute)) << name;
            for (std::size_t d = 0; d < 7; ++d)
                EXPECT_EQ(table[i].second[d],
                          o.days[d] ? QVariant(x.slots[i].counts[d]) : QVariant())
                    << name << " " << table[i].first.toStdString() << " day " << d;
        }

        const PrintedReport pages(report->Pages());
        std::vector<PrintedReport::Line> lines;
        std::array<int, 7> columnTotals{};
        for (const Slot& s : x.slots) {
            for (std::size_t d = 0; d < 7; ++d)
                columnTotals[d] += s.counts[d];
            if (x.total(s) == 0)
                continue;
            PrintedReport::Line line{{"txtTime", slotText(s.minute)},
                                     {"txtTotal", QString::number(x.total(s))},
                                     {"txtActive", x.active(s)}};
            for (std::size_t d = 0; d < 7; ++d)
                line[QStringLiteral("txtDay%1").arg(d + 1)] =
                    o.days[d] ? QString::number(s.counts[d]) : QString();
            lines.push_back(line);
        }
        EXPECT_EQ(pages.lines(), lines) << name;
        int grand = 0;
        for (std::size_t d = 0; d < 7; ++d) {
            const QString total = QStringLiteral("txtDay%1Total").arg(d + 1);
            EXPECT_EQ(pages.prints(total), o.days[d]) << name;
            if (o.days[d]) {
                EXPECT_EQ(pages.text(total), QString::number(columnTotals[d])) << name;
            }
            grand += columnTotals[d];
        }
        EXPECT_EQ(pages.text("txtGrandTotal"), QString::number(grand)) << name;
        EXPECT_TRUE(errors.reports().empty()) << name;
    }

    const std::vector<Trigger> triggers = januaryTriggers();
    const std::vector<Activity> periods = januaryActivity();
    TriggerFile file;
};

} // namespace

TEST_F(DayReportOnJanuary, CountsEachSlotAndWeekdayAndTheActiveShareAsTheRowsSay) {
    struct Case {
        const char* name;
        Options options;
    };
    const Case cases[] = {
        {"hours of the working week",
         {QDate(2024, 1, 1), QDate(2024, 1, 31), QTime(8, 0), QTime(17, 0), 60, Workdays}},
        {"quarter hours not dividing the window, some days, half count",
         {QDate(2024, 1, 3), QDate(2024, 1, 20), QTime(7, 10), QTime(16, 50), 15,
          MondayWednesdaySaturday, true}},
        {"five minutes, the whole day, every day",
         {QDate(2023, 12, 31), QDate(2024, 1, 14), QTime(0, 0), QTime(23, 59), 5, AllDays}},
        {"hours from the half hour, the weekend, half count",
         {QDate(2024, 1, 1), QDate(2024, 2, 1), QTime(8, 30), QTime(17, 15), 60, Weekend, true}},
        {"one day, one minute",
         {QDate(2024, 1, 10), QDate(2024, 1, 10), QTime(8, 0), QTime(8, 0), 60, Workdays}},
        {"a Saturday with only Monday counts nothing",
         {QDate(2024, 1, 6), QDate(2024, 1, 6), QTime(0, 0), QTime(23, 59), 60, OnlyMonday}},
    };
    for (const Case& c : cases)
        expectReport(c.options, c.name);
}

TEST_F(DayReportOnJanuary, TheHeaderNamesTheRangeAndTheCountAndGreysTheDaysLeftOut) {
    const Options mondays{QDate(2024, 1, 1),
                          QDate(2024, 1, 31),
                          QTime(8, 0),
                          QTime(17, 0),
                          60,
                          {true, false, false, false, false, false, false}};
    const std::unique_ptr<repDay> report = dayReport(mondays);
    const PrintedReport pages(report->Pages());
    EXPECT_EQ(report->Caption(), "Brantock - Day Report");
    EXPECT_EQ(pages.text("lblReportName"), "Day Report");
    EXPECT_EQ(pages.text("lblDateRange"), "From 1/1/2024 to 1/31/2024");
    EXPECT_EQ(pages.text("lblHalfCount"), "Full count");
    // Its right edge at the header line's end, the page's margin in front.
    const platform::PageItem* half = pages.item("lblHalfCount");
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(half->left + half->width, 1440 + 8929);

    const platform::MemoryRecordset& table = *report->datReport.Recordset();
    ASSERT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(table.FieldName(0), "Time");
    EXPECT_EQ(table.FieldName(1), "Monday");
    EXPECT_EQ(table.Field(0).definedSize, 250);
    const QStringList titles = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    for (int d = 0; d < 7; ++d) {
        const platform::PageItem* title = pages.item(QStringLiteral("lblDay%1").arg(d + 1));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->text, titles[d]);
        EXPECT_EQ(QColor::fromRgba(title->style.color),
                  d == 0 ? QColor(Qt::black) : QColor(0x7F, 0x7F, 0x7F))
            << d;
    }

    // The chart: a series per day column, a category per slot, the legend below; ten slots
    // keep the axis as designed.
    const auto chart = pages.chart();
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->chartType, 3);
    EXPECT_EQ(chart->legendLocation, 6);
    EXPECT_EQ(chart->seriesNames, QStringList({"Monday"}));
    EXPECT_EQ(chart->categories.size(), 10);
    EXPECT_EQ(chart->categories.front(), "8:00 AM");
    EXPECT_EQ(chart->categories.back(), "5:00 PM");
    EXPECT_EQ(chart->labelSpacing, 1);
    EXPECT_EQ(chart->tickSpacing, 1);

    Options halfHours = mondays;
    halfHours.units = 30;
    halfHours.half = true;
    const std::unique_ptr<repDay> more = dayReport(halfHours);
    const PrintedReport morePages(more->Pages());
    EXPECT_EQ(morePages.text("lblHalfCount"), "Half count");
    EXPECT_EQ(morePages.chart()->categories.size(), 19);
    EXPECT_EQ(morePages.chart()->labelSpacing, 0);
    EXPECT_EQ(morePages.chart()->tickSpacing, 0);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DayReportOnJanuary, WithoutDetailsOnlyTheHeaderAndPageFooterPrintAndNoActivityIsRead) {
    file.execute("DROP TABLE AppActivity");
    Options o{QDate(2024, 1, 1), QDate(2024, 1, 31), QTime(8, 0), QTime(17, 0), 60, Workdays};
    o.details = false;
    const std::unique_ptr<repDay> report = dayReport(o);
    const PrintedReport pages(report->Pages());
    EXPECT_EQ(report->maxActive(), 0);
    EXPECT_TRUE(pages.lines().empty());
    EXPECT_EQ(pages.itemsOf(platform::ReportSectionKind::PageHeader), 0);
    EXPECT_EQ(pages.itemsOf(platform::ReportSectionKind::ReportFooter), 0);
    EXPECT_TRUE(pages.prints("chrtReport"));
    EXPECT_TRUE(pages.prints("txtPageNumber"));
    // The chart still shows the counts.
    const Expected x = expect(o, triggers, periods);
    EXPECT_EQ(pages.chart()->values[0][0], x.slots[0].counts[0]);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DayReport, SlotsRunFromTheStartMinuteToTheEndMinute) {
    TriggerFile file;
    const std::int32_t monday = dayNumber(QDate(2024, 1, 8));
    file.add(std::vector<Trigger>{{monday, 480}, {monday, 539}, {monday, 1020}, {monday, 1021}});
    struct Case {
        const char* name;
        QTime start;
        QTime end;
        int units;
        QStringList slots;
        QList<int> counts;
    };
    const Case cases[] = {
        // Seconds are dropped: the slots keep to minute 480, and the end's own minute counts.
        {"start with seconds",
         QTime(8, 0, 30),
         QTime(17, 0),
         180,
         {"8:00 AM", "11:00 AM", "2:00 PM", "5:00 PM"},
         {2, 0, 0, 1}},
        {"equal times", QTime(17, 0), QTime(17, 0), 60, {"5:00 PM"}, {1}},
        {"no units", QTime(8, 58), QTime(9, 0), 0, {"8:58 AM", "8:59 AM", "9:00 AM"}, {0, 1, 0}},
        {"negative units", QTime(17, 0), QTime(17, 1), -15, {"5:00 PM", "5:01 PM"}, {1, 1}},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<repDay> report =
            dayReport({QDate(2024, 1, 8), QDate(2024, 1, 8), c.start, c.end, c.units, Workdays});
        QStringList slots;
        QList<int> counts;
        for (const auto& [time, days] : tableOf(*report)) {
            slots << time;
            counts << days[0].toInt();
        }
        EXPECT_EQ(slots, c.slots) << c.name;
        EXPECT_EQ(counts, c.counts) << c.name;
        EXPECT_GE(report->TimeUnits, 1) << c.name;
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DayReport, TriggersBeforeTheYear2000CountOnTheirWeekday) {
    TriggerFile file;
    // Friday 31 December 1999 is day -1, Monday 27 December day -5.
    file.add(std::vector<Trigger>{{-1, 600}, {-1, 610}, {-5, 600}});
    const std::unique_ptr<repDay> report = dayReport(
        {QDate(1999, 12, 27), QDate(1999, 12, 31), QTime(10, 0), QTime(10, 59), 60, Workdays});
    const auto table = tableOf(*report);
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0].second[0], 1);
    EXPECT_EQ(table[0].second[4], 2);
}

TEST_F(DayReport, FirstFormatFilesAndALockHeldForAWhileCountAsTheOthers) {
    const Options o{QDate(2024, 1, 1), QDate(2024, 1, 7), QTime(8, 0), QTime(17, 0), 60, AllDays};
    const std::vector<Trigger> triggers = januaryTriggers();
    const std::vector<Activity> periods = januaryActivity();
    const Expected x = expect(o, triggers, periods);
    auto printedTotals = [](const repDay& report) {
        QStringList totals;
        const PrintedReport pages(report.Pages());
        for (const PrintedReport::Line& line : pages.lines())
            totals << line.at("txtTotal") + u'/' + line.at("txtActive");
        return totals;
    };
    QStringList expected;
    for (const Slot& s : x.slots)
        if (x.total(s) > 0)
            expected << QString::number(x.total(s)) + u'/' + x.active(s);

    {
        TriggerFile first(TriggerFile::Format::First);
        std::vector<Trigger> upOnly;
        for (const Trigger& t : triggers)
            upOnly.push_back({t.date, t.minute, true});
        first.add(upOnly);
        first.add(periods);
        EXPECT_EQ(printedTotals(*dayReport(o)), expected) << "first format";
    }
    {
        TriggerFile locked;
        locked.add(triggers);
        locked.add(periods);
        platform::Connection holder;
        holder.Open(DataFiles::connectionText(locked.path()));
        holder.Execute("BEGIN EXCLUSIVE");
        // Released once the report waits for it, or after a while when it never does.
        bool waited = false;
        std::thread release([&, reader = ::gettid()] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (!waited && std::chrono::steady_clock::now() < deadline) {
                waited = waitsForFile(reader, locked.path());
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            holder.Execute("COMMIT");
        });
        const std::unique_ptr<repDay> report = dayReport(o);
        release.join();
        EXPECT_TRUE(waited) << "the report waited for the lock";
        EXPECT_EQ(printedTotals(*report), expected) << "locked for a while";
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DayReport, AFileThatCannotBeOpenedGivesEveryCountZeroAndItsErrorOnce) {
    for (const TriggerFile::Fault fault : TriggerFile::Faults) {
        ScriptedErrors scripted;
        TriggerFile file;
        const int error = file.spoil(fault);
        const std::unique_ptr<repDay> report = dayReport(
            {QDate(2024, 1, 1), QDate(2024, 1, 31), QTime(8, 0), QTime(17, 0), 60, Workdays});
        ASSERT_EQ(scripted.reports().size(), 1u) << error;
        EXPECT_EQ(scripted.reports()[0].number, error);
        EXPECT_EQ(scripted.reports()[0].trail, "OpenCN&") << error;
        EXPECT_FALSE(report->wasCancelled()) << error;
        const auto table = tableOf(*report);
        EXPECT_EQ(table.size(), 10u) << error;
        for (const auto& [time, days] : table)
            for (std::size_t d = 0; d < 5; ++d)
                EXPECT_EQ(days[d], 0) << error;
        const PrintedReport pages(report->Pages());
        EXPECT_TRUE(pages.lines().empty()) << error;
        EXPECT_TRUE(pages.prints("chrtReport")) << error;
        EXPECT_EQ(pages.text("txtGrandTotal"), "0") << error;
    }
}

TEST_F(DayReport, AFailingStatementIsReportedAndItsAnswerEndsTheRunOrGoesOn) {
    const Options o{QDate(2024, 1, 1), QDate(2024, 1, 31), QTime(8, 0), QTime(17, 0), 60, Workdays};
    {
        TriggerFile file;
        file.execute("DROP TABLE Triggers");
        const std::unique_ptr<repDay> report = dayReport(o);
        ASSERT_EQ(errors.reports().size(), 1u);
        EXPECT_EQ(errors.reports()[0].trail, "repDay - ReportStart&");
        EXPECT_TRUE(report->wasCancelled()) << "Abort ends the run";
        EXPECT_TRUE(report->Pages().pages.empty());
    }
    {
        // Ignore goes on: the counts stay 0 and the report prints.
        TriggerFile file;
        file.execute("DROP TABLE Triggers");
        errors.answer("5");
        const std::unique_ptr<repDay> report = dayReport(o);
        EXPECT_EQ(errors.reports().size(), 2u);
        EXPECT_FALSE(report->wasCancelled());
        EXPECT_EQ(tableOf(*report).size(), 10u);
        EXPECT_TRUE(PrintedReport(report->Pages()).prints("chrtReport"));
    }
    {
        // A failed read of the activity leaves that line's share empty; the next line tries
        // again.
        TriggerFile file;
        const std::int32_t monday = dayNumber(QDate(2024, 1, 8));
        file.add(std::vector<Trigger>{{monday, 500}, {monday, 700}});
        file.execute("DROP TABLE AppActivity");
        const std::size_t before = errors.reports().size();
        errors.answer("5");
        errors.answer("5");
        const std::unique_ptr<repDay> report = dayReport(o);
        ASSERT_EQ(errors.reports().size(), before + 2);
        EXPECT_EQ(errors.reports().back().trail, "repDay - GetActive&");
        const auto lines = PrintedReport(report->Pages()).lines();
        ASSERT_EQ(lines.size(), 2u);
        for (const PrintedReport::Line& line : lines) {
            EXPECT_EQ(line.at("txtTotal"), "1");
            EXPECT_EQ(line.at("txtActive"), "");
        }
    }
}

TEST_F(DayReport, TheCountAndTheActivityReadTheTemplatesIndexes) {
    TriggerFile file;
    const QString count =
        file.plan(repDay::CountStatement(5), {480, 60, 8766, 8796, 1020, 2, 3, 4, 5, 6});
    // Each included day searched within the window, its minutes grouped in the index's order.
    EXPECT_TRUE(count.contains("SEARCH Triggers USING COVERING INDEX TriggersByDateTime "
                               "(TriggerDate=? AND TriggerTime>? AND TriggerTime<?)"))
        << count.toStdString();
    EXPECT_EQ(count.count("TEMP B-TREE"), 1) << count.toStdString();
    for (int days : {1, 7}) {
        QVariantList values{480, 1020, 8766, 8796};
        for (int code = 0; code < days && days < 7; ++code)
            values << code;
        const QString activity = file.plan(repDay::ActivityStatement(days), values);
        EXPECT_TRUE(activity.contains("INDEX AppActivityByDate")) << activity.toStdString();
    }
}
