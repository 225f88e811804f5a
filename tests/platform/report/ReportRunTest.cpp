#include "platform/report/Report.h"
#include "tests/support/RaisedError.h"
#include "tests/support/ScriptedMessages.h"

#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"
#include "platform/report/ReportLine.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

using namespace brantock;
using namespace brantock::platform;
using brantock::testsupport::RaisedError;
using brantock::testsupport::ScriptedMessages;

namespace {

const QString N = QStringLiteral("N");

MemoryRecordset numbers(int count) {
    MemoryRecordset rows;
    rows.AppendField(N, MemoryField::Type::Integer);
    for (int i = 1; i <= count; ++i)
        rows.AddNew({N}, {i});
    return rows;
}

// A report on small paper (4000 x 2000 twips, margins 100) whose bands are easy to count:
// report header 300, page header 200, detail 250, page footer 200, report footer 300. Page 1
// holds 4 detail rows, later pages 5. It records every event it raises, with the value its
// bound field shows at each detail and its total at the report footer.
class BandReport : public Report {
public:
    explicit BandReport(int rows) {
        SetCaption(QStringLiteral("Bands"));
        PageSettings().SetPaperSize(4000, 2000);
        PageSettings().SetMargins(100, 100, 100, 100);
        ReportHeader().SetHeight(300);
        ReportHeader().AddLabel(QStringLiteral("lblTitle"), QStringLiteral("Title"), 0, 0, 2000,
                                300);
        PageHeader().SetHeight(200);
        PageHeader().AddLabel(QStringLiteral("lblN"), QStringLiteral("N"), 0, 0, 1000, 200);
        Detail().SetHeight(250);
        txtN = &Detail().AddField(QStringLiteral("txtN"), N, 0, 0, 1000, 250);
        PageFooter().SetHeight(200);
        txtPage = &PageFooter().AddField(QStringLiteral("txtPage"), QString(), 0, 0, 500, 200);
        txtPage->SetSummaryType(ReportField::Summary::PageNumber);
        txtPages = &PageFooter().AddField(QStringLiteral("txtPages"), QString(), 600, 0, 500, 200);
        txtPages->SetSummaryType(ReportField::Summary::PageCount);
        ReportFooter().SetHeight(300);
        txtTotal = &ReportFooter().AddField(QStringLiteral("txtTotal"), N, 0, 0, 1000, 300);
        txtTotal->SetSummaryType(ReportField::Summary::GrandTotal);

        connect(this, &Report::ReportStart, this, [this, rows] {
            log << QStringLiteral("ReportStart");
            datReport.SetRecordset(numbers(rows));
            hook(QStringLiteral("ReportStart"));
        });
        connect(this, &Report::ReportEnd, this, [this] {
            log << QStringLiteral("ReportEnd");
            hook(QStringLiteral("ReportEnd"));
        });
        for (ReportSectionKind kind :
             {ReportSectionKind::ReportHeader, ReportSectionKind::PageHeader,
              ReportSectionKind::Detail, ReportSectionKind::PageFooter,
              ReportSectionKind::ReportFooter}) {
            ReportSection& section = Section(kind);
            connect(&section, &ReportSection::Format, this, [this, &section] {
                QString entry = section.Name();
                if (section.Kind() == ReportSectionKind::Detail)
                    entry += u' ' + txtN->Text();
                if (section.Kind() == ReportSectionKind::ReportFooter)
                    entry += u' ' + txtTotal->Text();
                if (section.Kind() == ReportSectionKind::PageFooter)
                    entry += u' ' + txtPage->Text();
                log << entry;
                hook(entry);
            });
        }
    }

    // Called after each event is logged, with its log entry.
    std::function<void(const QString&)> hook = [](const QString&) {};
    QStringList log;
    ReportField* txtN;
    ReportField* txtPage;
    ReportField* txtPages;
    ReportField* txtTotal;
};

// What a page shows, by band: the texts of the items of each band, and their tops.
struct PageView {
    std::map<ReportSectionKind, QStringList> texts;
    std::map<ReportSectionKind, QList<int>> tops;
};

PageView viewOf(const ReportPage& page) {
    PageView view;
    for (const PageItem& item : page.items) {
        view.texts[item.source.section] << item.text;
        view.tops[item.source.section] << item.top;
    }
    return view;
}

QStringList detailRows(const ReportPage& page) {
    return viewOf(page).texts[ReportSectionKind::Detail];
}

} // namespace

TEST(ReportRun, EventsComeInOrderWithTheRowInTheBoundFieldsAtEachDetail) {
    BandReport report(3);
    QString fieldAtStart = QStringLiteral("unset");
    report.hook = [&](const QString& event) {
        if (event == QStringLiteral("ReportStart"))
            fieldAtStart = report.txtN->Text();
    };
    report.Run();

    EXPECT_EQ(report.log,
              (QStringList{"ReportStart", "ReportHeader", "PageHeader", "Detail 1", "Detail 2",
                           "Detail 3", "ReportFooter 6", "PageFooter 1", "ReportEnd"}));
    // The rows assigned in the start event are the ones printed: nothing was read before it.
    EXPECT_EQ(fieldAtStart, QString());
    ASSERT_EQ(report.Pages().Count(), 1);
    EXPECT_EQ(report.Pages().caption, QStringLiteral("Bands"));
    EXPECT_FALSE(report.wasCancelled());

    // Every detail item knows its row and field, so an export can rebuild the table.
    QList<int> rows;
    for (const PageItem& item : report.Pages().pages[0].items)
        if (item.source.section == ReportSectionKind::Detail) {
            EXPECT_EQ(item.source.control, QStringLiteral("txtN"));
            EXPECT_EQ(item.source.field, N);
            EXPECT_EQ(item.text, QString::number(item.source.row + 1));
            rows << item.source.row;
        } else {
            EXPECT_EQ(item.source.row, -1);
        }
    EXPECT_EQ(rows, (QList<int>{0, 1, 2}));
}

TEST(ReportRun, RunsOnceAndNotFromItsOwnEvents) {
    BandReport report(2);
    report.hook = [&](const QString& event) {
        if (event == QStringLiteral("Detail 1"))
            report.Run();
    };
    report.Run();
    const QStringList first = report.log;
    report.Run();
    EXPECT_EQ(report.log, first);
    EXPECT_EQ(first.count(QStringLiteral("ReportStart")), 1);
    EXPECT_TRUE(report.hasRun());
}

TEST(ReportRun, FieldsBoundToMissingColumnsShowNothingAndTotalNothing) {
    Report report;
    report.Detail().SetHeight(250);
    ReportField& monday = report.Detail().AddField("txtDay1", "Monday", 0, 0, 900, 250);
    ReportField& sunday = report.Detail().AddField("txtDay7", "Sunday", 1000, 0, 900, 250);
    ReportField& mondayTotal =
        report.ReportFooter().AddField("txtDay1Total", "monday", 0, 0, 900, 250);
    ReportField& sundayTotal =
        report.ReportFooter().AddField("txtDay7Total", "Sunday", 1000, 0, 900, 250);
    mondayTotal.SetSummaryType(ReportField::Summary::GrandTotal);
    sundayTotal.SetSummaryType(ReportField::Summary::GrandTotal);
    sunday.SetText(QStringLiteral("design text"));

    MemoryRecordset rows;
    rows.AppendField("Time", MemoryField::Type::Text, 250);
    rows.AppendField("Monday", MemoryField::Type::Integer);
    rows.AddNew({"Time", "Monday"}, {"8:00 AM", 2});
    rows.AddNew({"Time", "Monday"}, {"9:00 AM", QVariant()});
    rows.AddNew({"Time", "Monday"}, {"10:00 AM", 5});
    report.datReport.SetRecordset(rows);

    QStringList seen;
    QObject::connect(&report.Detail(), &ReportSection::Format,
                     [&] { seen << monday.Text() + u'|' + sunday.Text(); });
    QStringList totals;
    QObject::connect(&report.ReportFooter(), &ReportSection::Format,
                     [&] { totals << mondayTotal.Text() << sundayTotal.Text(); });
    int errors = 0;
    QObject::connect(&report, &Report::Error, [&] { ++errors; });
    report.Run();

    EXPECT_EQ(seen, (QStringList{"2|", "|", "5|"}));
    EXPECT_EQ(totals, (QStringList{"7", ""}));
    EXPECT_EQ(errors, 0);
}

TEST(ReportRun, AFilteredRecordsetPrintsTheRowsItSees) {
    Report report;
    ReportField& field = report.Detail().AddField("txtN", N, 0, 0, 900, 250);
    MemoryRecordset rows = numbers(6);
    rows.SetFilter(QStringLiteral("N > 4"));
    report.datReport.SetRecordset(rows);
    QStringList seen;
    QObject::connect(&report.Detail(), &ReportSection::Format, [&] { seen << field.Text(); });
    report.Run();
    EXPECT_EQ(seen, (QStringList{"5", "6"}));
}

TEST(ReportRun, SettingsChangedAtTheStartShapeThePagesAndBadValuesAreRefused) {
    Report report;
    report.ReportHeader().AddLabel("lbl", "x", 0, 0, 100, 100);
    QObject::connect(&report, &Report::ReportStart,
                     [&] { report.PageSettings().SetOrientation(ReportPageSettings::Landscape); });
    report.Run();
    ASSERT_EQ(report.Pages().Count(), 1);
    EXPECT_EQ(report.Pages().pages[0].width, 16838);
    EXPECT_EQ(report.Pages().pages[0].height, 11906);

    const std::vector<std::function<void()>> refused = {
        [&] { report.PageSettings().SetOrientation(0); },
        [&] { report.PageSettings().SetPaperSize(0, 100); },
        [&] { report.PageSettings().SetMargins(0, -1, 0, 0); },
        [&] { report.Detail().SetHeight(-1); },
    };
    for (const auto& set : refused)
        EXPECT_EQ(RaisedError::numberOf(set), 380);
}

// Page breaks on the small paper: page 1 has room for 4 rows under the report and page
// headers, later pages for 5; hidden bands take no room.
struct BreakCase {
    const char* name;
    int rows;
    bool pageHeader;
    bool pageFooter;
    bool hideEvenRows;
    QList<QStringList> rowsPerPage;
};

class PageBreaks : public ::testing::TestWithParam<BreakCase> {};

TEST_P(PageBreaks, RowsOverflowOntoNextPagesWithBandsRepeatedAsTheySay) {
    const BreakCase& c = GetParam();
    BandReport report(c.rows);
    report.PageHeader().SetVisible(c.pageHeader);
    report.PageFooter().SetVisible(c.pageFooter);
    if (c.hideEvenRows)
        QObject::connect(&report.Detail(), &ReportSection::Format,
                         [&] { report.Detail().SetVisible(report.txtN->Text().toInt() % 2 == 1); });
    report.Run();

    const std::vector<ReportPage>& pages = report.Pages().pages;
    ASSERT_EQ(int(pages.size()), c.rowsPerPage.size());
    const QString count = QString::number(pages.size());
    int total = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        PageView view = viewOf(pages[p]);
        EXPECT_EQ(view.texts[ReportSectionKind::Detail], c.rowsPerPage[qsizetype(p)]);
        EXPECT_EQ(view.texts.count(ReportSectionKind::ReportHeader), p == 0 ? 1u : 0u);
        EXPECT_EQ(view.texts.count(ReportSectionKind::ReportFooter),
                  p + 1 == pages.size() ? 1u : 0u);

        // Bands stack from the top margin with no gaps: the first page under the report
        // header, each page under its page header when there is one.
        int top = 100 + (p == 0 ? 300 : 0);
        if (c.pageHeader) {
            EXPECT_EQ(view.tops[ReportSectionKind::PageHeader], QList<int>{top});
            top += 200;
        } else {
            EXPECT_EQ(view.texts.count(ReportSectionKind::PageHeader), 0u);
        }
        for (int detailTop : view.tops[ReportSectionKind::Detail]) {
            EXPECT_EQ(detailTop, top);
            top += 250;
        }
        if (p + 1 == pages.size()) {
            EXPECT_EQ(view.tops[ReportSectionKind::ReportFooter], QList<int>{top});
        }
        EXPECT_LE(top, c.pageFooter ? 1700 : 1900);

        if (c.pageFooter) {
            EXPECT_EQ(view.texts[ReportSectionKind::PageFooter],
                      (QStringList{QString::number(p + 1), count}));
            EXPECT_EQ(view.tops[ReportSectionKind::PageFooter], (QList<int>{1700, 1700}));
        } else {
            EXPECT_EQ(view.texts.count(ReportSectionKind::PageFooter), 0u);
        }
        total += int(view.texts[ReportSectionKind::Detail].size());
    }
    EXPECT_EQ(report.txtPages->Text(), count);
}

INSTANTIATE_TEST_SUITE_P(
    ReportRun, PageBreaks,
    ::testing::Values(
        BreakCase{"AllBands", 7, true, true, false, {{"1", "2", "3", "4"}, {"5", "6", "7"}}},
        BreakCase{"FooterOnAPageOfItsOwn",
                  9,
                  true,
                  true,
                  false,
                  {{"1", "2", "3", "4"}, {"5", "6", "7", "8", "9"}, {}}},
        BreakCase{"NoPageHeader", 7, false, true, false, {{"1", "2", "3", "4", "5"}, {"6", "7"}}},
        BreakCase{"NoPageFooter", 7, true, false, false, {{"1", "2", "3", "4", "5"}, {"6", "7"}}},
        BreakCase{"HiddenRows", 9, true, true, true, {{"1", "3", "5", "7"}, {"9"}}},
        BreakCase{"NoRows", 0, true, true, false, {{}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReportRun, ABandTallerThanThePageGetsAPageOfItsOwnAndTheRunEnds) {
    BandReport report(3);
    report.Detail().SetHeight(5000);
    report.Run();
    const std::vector<ReportPage>& pages = report.Pages().pages;
    ASSERT_EQ(pages.size(), 5u);
    EXPECT_TRUE(detailRows(pages[0]).isEmpty());
    EXPECT_EQ(detailRows(pages[1]), QStringList{"1"});
    EXPECT_EQ(detailRows(pages[2]), QStringList{"2"});
    EXPECT_EQ(detailRows(pages[3]), QStringList{"3"});
    EXPECT_EQ(viewOf(pages[4]).texts[ReportSectionKind::ReportFooter], QStringList{"6"});
}

// Cancel from each event of a three-page run (9 rows).
struct CancelCase {
    const char* name;
    QString event;               // the log entry at which the handler cancels
    QStringList lastEvents;      // the log from that event on
    QList<QStringList> pageRows; // the detail rows of each page left
    bool cancelled;
};

class CancelFrom : public ::testing::TestWithParam<CancelCase> {};

TEST_P(CancelFrom, EndsTheRunThereAndStillRaisesReportEnd) {
    const CancelCase& c = GetParam();
    BandReport report(9);
    report.hook = [&](const QString& event) {
        if (event == c.event)
            report.Cancel();
    };
    report.Run();

    const qsizetype at = report.log.indexOf(c.event);
    ASSERT_GE(at, 0);
    EXPECT_EQ(report.log.mid(at), c.lastEvents);
    EXPECT_EQ(report.log.count(QStringLiteral("ReportEnd")), 1);
    EXPECT_EQ(report.wasCancelled(), c.cancelled);
    QList<QStringList> pageRows;
    for (const ReportPage& page : report.Pages().pages)
        pageRows << detailRows(page);
    EXPECT_EQ(pageRows, c.pageRows);
    // Whatever is left is numbered as it is.
    const QString count = QString::number(report.Pages().Count());
    for (const ReportPage& page : report.Pages().pages)
        for (const PageItem& item : page.items)
            if (item.source.control == QStringLiteral("txtPages")) {
                EXPECT_EQ(item.text, count);
            }
}

INSTANTIATE_TEST_SUITE_P(
    ReportRun, CancelFrom,
    ::testing::Values(
        CancelCase{"ReportStart", "ReportStart", {"ReportStart", "ReportEnd"}, {}, true},
        CancelCase{"ReportHeader", "ReportHeader", {"ReportHeader", "ReportEnd"}, {}, true},
        CancelCase{"PageHeader", "PageHeader", {"PageHeader", "ReportEnd"}, {{}}, true},
        CancelCase{"Detail", "Detail 3", {"Detail 3", "ReportEnd"}, {{"1", "2"}}, true},
        CancelCase{"PageFooter",
                   "PageFooter 1",
                   {"PageFooter 1", "ReportEnd"},
                   {{"1", "2", "3", "4"}},
                   true},
        CancelCase{"ReportFooter",
                   "ReportFooter 45",
                   {"ReportFooter 45", "ReportEnd"},
                   {{"1", "2", "3", "4"}, {"5", "6", "7", "8", "9"}},
                   true},
        CancelCase{"ReportEnd",
                   "ReportEnd",
                   {"ReportEnd"},
                   {{"1", "2", "3", "4"}, {"5", "6", "7", "8", "9"}, {}},
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

// An error leaving an event, with the handler of the Error event taking the display or not.
struct ErrorCase {
    const char* name;
    QString failingEvent;
    bool cancelDisplay;
    bool handlerFails;
    int boxes;
    int pages;
};

class ErrorEvent : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorEvent, ReachesTheReportEndsTheRunAndIsShownUnlessCancelled) {
    const ErrorCase& c = GetParam();
    ScriptedMessages messages;
    BandReport report(9);
    report.hook = [&](const QString& event) {
        if (event == c.failingEvent)
            throw RuntimeError(13, QStringLiteral("Type mismatch"), QStringLiteral("repBands&"));
    };
    struct Seen {
        int number;
        QString description, source;
    };
    std::vector<Seen> seen;
    QObject::connect(&report, &Report::Error,
                     [&](int number, const QString& description, int, const QString& source,
                         const QString&, int, bool& CancelDisplay) {
                         seen.push_back({number, description, source});
                         CancelDisplay = c.cancelDisplay;
                         if (c.handlerFails)
                             throw RuntimeError(5, QStringLiteral("In the handler"));
                     });
    report.Run();

    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].number, 13);
    EXPECT_EQ(seen[0].description, QStringLiteral("Type mismatch"));
    EXPECT_EQ(seen[0].source, QStringLiteral("repBands&"));
    ASSERT_EQ(int(messages.shown().size()), c.boxes);
    if (c.boxes > 0) {
        EXPECT_TRUE(messages.last().prompt.contains(QStringLiteral("Type mismatch")));
        EXPECT_EQ(messages.last().title, QStringLiteral("Bands"));
    }
    const qsizetype at = report.log.indexOf(c.failingEvent);
    EXPECT_EQ(report.log.mid(at + 1),
              c.failingEvent == "ReportEnd" ? QStringList() : QStringList{"ReportEnd"});
    EXPECT_EQ(report.Pages().Count(), c.pages);
}

INSTANTIATE_TEST_SUITE_P(
    ReportRun, ErrorEvent,
    ::testing::Values(ErrorCase{"InDetailDisplayCancelled", "Detail 2", true, false, 0, 1},
                      ErrorCase{"InDetailShownByTheEngine", "Detail 2", false, false, 1, 1},
                      ErrorCase{"HandlerFailsToo", "Detail 2", true, true, 1, 1},
                      ErrorCase{"InReportStart", "ReportStart", true, false, 0, 0},
                      ErrorCase{"InReportEndKeepsThePages", "ReportEnd", true, false, 0, 3}),
    [](const auto& info) { return std::string(info.param.name); });
