#include "tests/platform/report/export/ExportReader.h"
#include "tests/platform/report/TableReport.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/export/ExcelExport.h"
#include "platform/report/export/ExportFilters.h"
#include "platform/report/export/PdfExport.h"
#include "platform/report/export/ReportTable.h"
#include "platform/report/export/RtfExport.h"
#include "platform/report/export/TextExport.h"
#include "platform/report/ReportError.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <typeinfo>

using namespace brantock;
using namespace brantock::platform;
using namespace brantock::testsupport;

TEST(RtfExport, EscapesItsOwnCharactersAndWritesEverythingBeyondAsciiAsUnicodeEscapes) {
    const struct {
        QString text;
        QByteArray rtf;
    } cases[] = {
        {QStringLiteral("plain 8:00 AM"), "plain 8:00 AM"},
        {QStringLiteral("a\\b {c}"), "a\\\\b \\{c\\}"},
        {QStringLiteral("\u00fc\u20ac"), "\\u252?\\u8364?"},
        // Above 32767 the number is negative; beyond 16 bits each half of the pair is one.
        {QStringLiteral("\ufb01"), "\\u-1279?"},
        {QStringLiteral("\U0001D11E"), "\\u-10188?\\u-8930?"},
        {QStringLiteral("a\tb\nc"), "a\\tab b\\line c"},
        {QStringLiteral("a\rb\x01"
                        "c\x7f"),
         "abc"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RtfExport::escaped(c.text), c.rtf) << c.text.toStdString();
}

TEST(ReportTable, OnlyPlainDecimalNumbersAreNumbers) {
    const struct {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"12", 12},
        {"-3", -3},
        {"0.25", 0.25},
        {"0", 0},
        {"5310", 5310},
        {"007", std::nullopt},
        {"1e3", std::nullopt},
        {"8:00 AM", std::nullopt},
        {"", std::nullopt},
        {" 5", std::nullopt},
        {"1.", std::nullopt},
        {".5", std::nullopt},
        {"1,5", std::nullopt},
        {"inf", std::nullopt},
        {"01/03/2024", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReportTable::numberOf(QString::fromLatin1(c.text)), c.number) << c.text;
}

TEST(ExcelExport, SheetNamesLeaveOutWhatASheetNameCannotHold) {
    const struct {
        QString caption;
        QString name;
    } cases[] = {
        {QStringLiteral("Brantock - Day Report"), QStringLiteral("Brantock - Day Report")},
        {QStringLiteral("a[b]c:d*e?f/g\\h"), QStringLiteral("abcdefgh")},
        {QStringLiteral("A report caption that is much too long"),
         QStringLiteral("A report caption that is much t")},
        {QStringLiteral("'quoted'"), QStringLiteral("quoted")},
        {QString(), QStringLiteral("Report")},
        {QStringLiteral("[*]"), QStringLiteral("Report")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExcelExport::sheetName(c.caption), c.name) << c.caption.toStdString();
}

TEST(ExportFilters, MakesEachFilterByItsClassIdentifierAndRefusesAnyOther) {
    const struct {
        QString id;
        const std::type_info& type;
    } cases[] = {
        {ExportFilters::PdfClassId, typeid(PdfExport)},
        {ExportFilters::TextClassId, typeid(TextExport)},
        {ExportFilters::RtfClassId, typeid(RtfExport)},
        {ExportFilters::ExcelClassId, typeid(ExcelExport)},
        {ExportFilters::ExcelClassId.toLower(), typeid(ExcelExport)},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<ExportFilter> filter = ExportFilters::create(c.id);
        ASSERT_NE(filter, nullptr);
        EXPECT_EQ(typeid(*filter), c.type) << c.id.toStdString();
        EXPECT_TRUE(filter->FileName().isEmpty());
    }
    try {
        ExportFilters::create(QStringLiteral("{00000000-0000-0000-0000-000000000000}"));
        ADD_FAILURE() << "an unknown class was made";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), reportErr::CannotCreateObject);
        EXPECT_EQ(e.source(), ReportError::Source);
    }
}

namespace {

// Each filter's file for the pages, read back as its kind's reader reads it.
class EveryKind : public ::testing::Test {
protected:
    QString write(const QString& classId, const QString& name, const ReportDocument& pages) {
        const std::unique_ptr<ExportFilter> filter = ExportFilters::create(classId);
        filter->SetFileName(folder.file(name));
        filter->Export(pages);
        return folder.file(name);
    }
    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScratchFolder folder;
};

} // namespace

TEST_F(EveryKind, AReportWithoutItsTableSectionsExportsItsHeaderAndItsChartsNumbers) {
    // As a report whose details are switched off: the header with its chart, page footers.
    TableReport report;
    report.PageHeader().SetVisible(false);
    report.Detail().SetVisible(false);
    report.ReportFooter().SetVisible(false);
    report.Run();
    ASSERT_EQ(report.Pages().Count(), 1);

    const QStringList text =
        QString::fromUtf8(bytesOf(write(ExportFilters::TextClassId, "r.txt", report.Pages())))
            .split(u'\n');
    ASSERT_EQ(text.size(), 3 + 1 + TableReport::Rows + 1);
    EXPECT_EQ(text[0], TableReport::Title);
    EXPECT_EQ(text[1], TableReport::Range + "  " + TableReport::Count);
    EXPECT_EQ(text[2], QString());
    EXPECT_EQ(text[3].simplified(), "Monday Tuesday Share");
    EXPECT_EQ(text[4].simplified(), TableReport::place(0) + " 0 100 0.25");
    EXPECT_EQ(text.last(), QString());
    const ExportReader::RichText rtf =
        ExportReader::richText(bytesOf(write(ExportFilters::RtfClassId, "r.rtf", report.Pages())));
    ASSERT_GE(rtf.paragraphs.size(), 2);
    EXPECT_EQ(rtf.paragraphs.mid(0, 2),
              QStringList({TableReport::Title, TableReport::Range + u'\t' + TableReport::Count}));
    EXPECT_EQ(rtf.rows.size(), std::size_t(1 + TableReport::Rows));
    const auto cells =
        ExportReader::sheetCells(write(ExportFilters::ExcelClassId, "r.xlsx", report.Pages()));
    EXPECT_EQ(cells.size(), 3u + 3u + 4u * TableReport::Rows);
    ASSERT_TRUE(cells.count("C5"));
    EXPECT_EQ(cells.at("C5").number, TableReport::tuesday(0)) << "a number cell";
    const QStringList pdf =
        ExportReader::pdfPages(write(ExportFilters::PdfClassId, "r.pdf", report.Pages()));
    ASSERT_EQ(pdf.size(), 1);
    EXPECT_TRUE(pdf[0].contains(TableReport::Range));
    EXPECT_FALSE(pdf[0].contains(QStringLiteral("Totals")));
}

TEST_F(EveryKind, NoPagesStillMakeAFileOfTheKind) {
    const ReportDocument none{QStringLiteral("Nothing"), {}};
    const QString info = QString::fromUtf8(ExportReader::run(
        QStringLiteral("pdfinfo"), {write(ExportFilters::PdfClassId, "n.pdf", none)}));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages: +1\n"))))
        << info.toStdString();
    EXPECT_TRUE(bytesOf(write(ExportFilters::TextClassId, "n.txt", none)).isEmpty());
    const QByteArray rtf = bytesOf(write(ExportFilters::RtfClassId, "n.rtf", none));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_TRUE(
        ExportReader::sheetCells(write(ExportFilters::ExcelClassId, "n.xlsx", none)).empty());
}
