#include "tests/platform/report/export/ExportReader.h"
#include "tests/platform/report/TableReport.h"
#include "tests/support/TestEnvironment.h"

#include "platform/report/export/ExportFilters.h"

#include <QColor>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <memory>

using namespace brantock;
using namespace brantock::platform;
using namespace brantock::testsupport;

namespace {

// The table report run once, and a folder to export it into.
class ReadBack : public ::testing::Test {
protected:
    QString exported(const QString& classId, const QString& name) const {
        const std::unique_ptr<ExportFilter> filter = ExportFilters::create(classId);
        filter->SetFileName(folder.file(name));
        filter->Export(TableReport::ran().Pages());
        return folder.file(name);
    }

    static QByteArray bytesOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static QString number(double value) { return QString::number(value); }

    ScratchFolder folder;
};

// The cells of a text line, columns being two or more blanks apart.
QStringList columnsOf(const QString& line) {
    return line.trimmed().split(QRegularExpression(QStringLiteral("\\s{2,}")));
}

QStringList rowOf(int row) {
    return {TableReport::place(row), QString::number(TableReport::monday(row)),
            QString::number(TableReport::tuesday(row)), QString::number(TableReport::share(row))};
}

const QStringList Titles{"Place", "Mon", "Tue", "Share"};

// The chart's numbers as the formats without pictures give them: its series across, a row
// per category, before the table.
const QStringList ChartTitles{"Monday", "Tuesday", "Share"};
constexpr int ChartRows = 1 + TableReport::Rows;

QStringList totals() {
    return {"Totals", QString::number(TableReport::mondayTotal()),
            QString::number(TableReport::tuesdayTotal()),
            QString::number(TableReport::shareTotal())};
}

bool hasLine(const QString& page, const QStringList& cells) {
    for (const QString& line : page.split(u'\n'))
        if (columnsOf(line) == cells)
            return true;
    return false;
}

} // namespace

TEST_F(ReadBack, ThePdfHoldsEveryPagesTextsTheTitleAndTheChart) {
    ASSERT_EQ(TableReport::ran().Pages().Count(), 2);
    const QString path = exported(ExportFilters::PdfClassId, QStringLiteral("report.pdf"));
    const QStringList pages = ExportReader::pdfPages(path);
    ASSERT_EQ(pages.size(), 2);

    const QString& first = pages[0];
    EXPECT_TRUE(first.contains(TableReport::Title)) << first.toStdString();
    EXPECT_TRUE(first.contains(TableReport::Range));
    EXPECT_TRUE(first.contains(TableReport::Count));
    // The chart's legend names its series after the columns.
    EXPECT_TRUE(first.contains(QStringLiteral("Monday")));
    EXPECT_TRUE(first.contains(QStringLiteral("Tuesday")));
    EXPECT_TRUE(hasLine(first, Titles));
    EXPECT_TRUE(hasLine(first, rowOf(0))) << first.toStdString();
    EXPECT_TRUE(hasLine(first, rowOf(2)));
    EXPECT_TRUE(first.contains(QRegularExpression(QStringLiteral("Page +1\n"))));

    const QString& second = pages[1];
    EXPECT_TRUE(hasLine(second, Titles)) << "the column titles head every page";
    EXPECT_TRUE(hasLine(second, rowOf(TableReport::Rows - 1))) << second.toStdString();
    EXPECT_TRUE(hasLine(second, totals()));
    EXPECT_TRUE(second.contains(QRegularExpression(QStringLiteral("Page +2\n"))));
    EXPECT_FALSE(second.contains(TableReport::Title));

    const QString info = QString::fromUtf8(ExportReader::run(QStringLiteral("pdfinfo"), {path}));
    EXPECT_TRUE(info.contains(QStringLiteral("Brantock - Table Report"))) << info.toStdString();

    // The chart is drawn in colour in its box in the report header; everything else on the
    // page is black on white.
    const int dpi = 40;
    const QImage image = ExportReader::pdfImage(path, 1, dpi);
    ASSERT_FALSE(image.isNull());
    const double perTwip = dpi / 1440.0;
    const QRect chart =
        QRectF(QPointF(1440 + 75, 1440 + 950) * perTwip, QSizeF(8925, 3550) * perTwip)
            .toAlignedRect();
    int inChart = 0;
    int elsewhere = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (QColor(image.pixel(x, y)).hsvSaturation() > 100)
                ++(chart.contains(x, y) ? inChart : elsewhere);
    EXPECT_GT(inChart, 500);
    EXPECT_EQ(elsewhere, 0);
}

TEST_F(ReadBack, TheSpreadsheetHoldsTheNumbersAsNumbersAndTheTextsAsText) {
    const QString path = exported(ExportFilters::ExcelClassId, QStringLiteral("report.xlsx"));
    EXPECT_TRUE(bytesOf(path).startsWith("PK\x03\x04"));
    const auto cells = ExportReader::sheetCells(path);
    const auto text = [&](const QString& ref) {
        const auto at = cells.find(ref);
        return at == cells.end() || at->second.number ? QStringLiteral("<none>") : at->second.text;
    };
    const auto value = [&](const QString& ref) {
        const auto at = cells.find(ref);
        return at == cells.end() ? std::nullopt : at->second.number;
    };

    EXPECT_EQ(text("A1"), TableReport::Title);
    EXPECT_EQ(text("A2"), TableReport::Range);
    EXPECT_EQ(text("B2"), TableReport::Count);
    EXPECT_EQ(cells.count("A3"), 0u) << "a blank row between the header and the chart's numbers";
    EXPECT_EQ(cells.count("A4"), 0u);
    EXPECT_EQ(text("B4"), "Monday");
    EXPECT_EQ(text("C4"), "Tuesday");
    EXPECT_EQ(text("D4"), "Share");
    for (int row = 0; row < TableReport::Rows; ++row) {
        const QString line = QString::number(row + 5);
        EXPECT_EQ(text("A" + line), TableReport::place(row));
        EXPECT_EQ(value("B" + line), TableReport::monday(row)) << row;
        EXPECT_EQ(value("D" + line), TableReport::share(row)) << row;
    }
    const int table = 4 + ChartRows + 1; // after a blank row
    EXPECT_EQ(cells.count("A" + QString::number(table - 1)), 0u);
    EXPECT_EQ(text("A" + QString::number(table)), "Place");
    EXPECT_EQ(text("B" + QString::number(table)), "Mon");
    EXPECT_EQ(text("C" + QString::number(table)), "Tue");
    EXPECT_EQ(text("D" + QString::number(table)), "Share");
    for (int row = 0; row < TableReport::Rows; ++row) {
        const QString line = QString::number(table + 1 + row);
        EXPECT_EQ(text("A" + line), TableReport::place(row));
        EXPECT_EQ(value("B" + line), TableReport::monday(row)) << row;
        EXPECT_EQ(value("C" + line), TableReport::tuesday(row)) << row;
        EXPECT_EQ(value("D" + line), TableReport::share(row)) << row;
    }
    const int last = table + 1 + TableReport::Rows;
    EXPECT_EQ(text("A" + QString::number(last)), "Totals");
    EXPECT_EQ(value("B" + QString::number(last)), TableReport::mondayTotal());
    EXPECT_EQ(value("C" + QString::number(last)), TableReport::tuesdayTotal());
    EXPECT_EQ(value("D" + QString::number(last)), TableReport::shareTotal());
    // Nothing of the page footers, nothing after the totals.
    for (const auto& [ref, cell] : cells) {
        EXPECT_NE(cell.text, "Page") << ref.toStdString();
        EXPECT_LE(ref.mid(1).toInt(), last) << ref.toStdString();
    }

    const QString workbook = QString::fromUtf8(ExportReader::run(
        QStringLiteral("unzip"), {QStringLiteral("-p"), path, QStringLiteral("xl/workbook.xml")}));
    EXPECT_TRUE(workbook.contains(QStringLiteral("name=\"Brantock - Table Report\"")));
}

TEST_F(ReadBack, TheRichTextHoldsTheHeaderLinesAndTheTableCellByCell) {
    const QByteArray rtf =
        bytesOf(exported(ExportFilters::RtfClassId, QStringLiteral("report.rtf")));
    ASSERT_TRUE(rtf.startsWith("{\\rtf1"));
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }))
        << "texts beyond ASCII are escaped";
    EXPECT_EQ(rtf.count('{'), rtf.count('}') + rtf.count("\\{") - rtf.count("\\}"));

    const ExportReader::RichText read = ExportReader::richText(rtf);
    ASSERT_GE(read.paragraphs.size(), 2);
    EXPECT_EQ(read.paragraphs[0], TableReport::Title);
    EXPECT_EQ(read.paragraphs[1], TableReport::Range + u'\t' + TableReport::Count);
    ASSERT_EQ(read.rows.size(), std::size_t(ChartRows + TableReport::Rows + 2));
    EXPECT_EQ(read.rows.front(), QStringList{""} + ChartTitles);
    EXPECT_EQ(read.rows[1], rowOf(0)) << "the chart's numbers";
    EXPECT_EQ(read.rows[ChartRows], Titles);
    for (int row = 0; row < TableReport::Rows; ++row)
        EXPECT_EQ(read.rows[std::size_t(ChartRows + row) + 1], rowOf(row)) << row;
    EXPECT_EQ(read.rows.back(), totals());
    // The titles row repeats on every page; the others do not.
    EXPECT_EQ(rtf.count("\\trhdr"), 1);
}

TEST_F(ReadBack, TheTextHoldsTheHeaderLinesAndTheTableInAlignedColumns) {
    const QString text = QString::fromUtf8(
        bytesOf(exported(ExportFilters::TextClassId, QStringLiteral("report.txt"))));
    ASSERT_TRUE(text.endsWith(u'\n'));
    const QStringList lines = text.chopped(1).split(u'\n');
    ASSERT_EQ(lines.size(), 3 + ChartRows + 1 + 1 + TableReport::Rows + 1);
    EXPECT_EQ(lines[0], TableReport::Title);
    EXPECT_EQ(lines[1], TableReport::Range + QStringLiteral("  ") + TableReport::Count);
    EXPECT_EQ(lines[2], QString());
    EXPECT_EQ(columnsOf(lines[3]), ChartTitles);
    for (int row = 0; row < TableReport::Rows; ++row)
        EXPECT_EQ(columnsOf(lines[4 + row]), rowOf(row)) << row;
    const int table = 3 + ChartRows + 1;
    EXPECT_EQ(lines[table - 1], QString());
    EXPECT_EQ(columnsOf(lines[table]), Titles);
    for (int row = 0; row < TableReport::Rows; ++row)
        EXPECT_EQ(columnsOf(lines[table + 1 + row]), rowOf(row)) << row;
    EXPECT_EQ(columnsOf(lines.last()), totals());
    // The numbers stand right-aligned, so every line of the table ends in the same column
    // (counted in characters: the clef is one), and each column starts where its title does.
    for (qsizetype i = table; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].toUcs4().size(), lines[table].toUcs4().size()) << lines[i].toStdString();
    EXPECT_EQ(lines[table + 1].indexOf(TableReport::place(0)), lines[table].indexOf("Place"));
    EXPECT_FALSE(text.contains(QStringLiteral("Page")));
}
