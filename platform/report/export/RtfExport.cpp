#include "platform/report/export/RtfExport.h"

#include "platform/report/export/ReportTable.h"

#include <QColor>
#include <QStringList>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace brantock::platform {

namespace {

// Cells narrower than this would not show a digit.
constexpr int MinCellWidth = 120;

// The fonts and colours the texts use, as the document's tables number them.
class Styles {
public:
    int font(const QString& family) { return indexOf(fonts_, family); }
    // Colour 0 of the table is the automatic one; the colours follow it.
    int color(QRgb rgb) { return indexOf(colors_, rgb & 0xffffff) + 1; }

    QByteArray tables() const {
        QByteArray out = "{\\fonttbl";
        if (fonts_.empty())
            out += "{\\f0\\fnil\\fcharset0 Helvetica;}";
        for (std::size_t i = 0; i < fonts_.size(); ++i)
            out += "{\\f" + QByteArray::number(qsizetype(i)) + "\\fnil\\fcharset0 " +
                   RtfExport::escaped(fonts_[i]) + ";}";
        out += "}\n{\\colortbl;";
        for (QRgb rgb : colors_)
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" +
                   QByteArray::number(qGreen(rgb)) + "\\blue" + QByteArray::number(qBlue(rgb)) +
                   ";";
        return out + "}\n";
    }

private:
    template <class T> static int indexOf(std::vector<T>& list, const T& value) {
        const auto at = std::find(list.begin(), list.end(), value);
        if (at != list.end())
            return int(at - list.begin());
        list.push_back(value);
        return int(list.size() - 1);
    }

    std::vector<QString> fonts_;
    std::vector<QRgb> colors_;
};

// A text in its style, as one group.
QByteArray run(Styles& styles, const ReportTable::Cell& cell) {
    const ItemStyle& s = cell.style;
    const QString family = s.fontFamily.isEmpty() ? QStringLiteral("Helvetica") : s.fontFamily;
    QByteArray out = "{\\f" + QByteArray::number(styles.font(family)) + "\\fs" +
                     QByteArray::number(std::lround(s.fontSize * 2));
    if (s.bold)
        out += "\\b";
    if (s.italic)
        out += "\\i";
    if (s.underline)
        out += "\\ul";
    out += "\\cf" + QByteArray::number(styles.color(s.color)) + ' ' + RtfExport::escaped(cell.text);
    return out + '}';
}

QByteArray alignment(const ItemStyle& style) {
    if (style.alignment & Qt::AlignRight)
        return "\\qr";
    if (style.alignment & Qt::AlignHCenter)
        return "\\qc";
    return "\\ql";
}

} // namespace

QByteArray RtfExport::escaped(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u == u'\n') {
            out += "\\line ";
        } else if (u < 0x20 || u == 0x7f) {
            continue;
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

namespace {

// A table, a row of cells at a time; its column titles head it again on every page.
QByteArray gridRtf(Styles& styles, int margin, const std::vector<ReportTable::Column>& columns,
                   const std::vector<ReportTable::Row>& rows) {
    QByteArray body;
    QByteArray rowDefinition;
    if (!columns.empty()) {
        const int left = columns.front().left;
        rowDefinition = "\\trgaph60\\trleft" + QByteArray::number(left - margin);
        int edge = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const ReportTable::Column& column = columns[i];
            const int end =
                i + 1 < columns.size() ? columns[i + 1].left : column.left + column.width;
            edge = std::max(edge + MinCellWidth, end - margin);
            rowDefinition += "\\cellx" + QByteArray::number(edge);
        }
    }
    for (const ReportTable::Row& row : rows) {
        body += "\\trowd";
        // The column titles head the table again on every page.
        if (row.section == ReportSectionKind::PageHeader)
            body += "\\trhdr";
        body += rowDefinition + '\n';
        for (const ReportTable::Cell& cell : row.cells) {
            body += "\\pard\\plain\\intbl" + alignment(cell.style) + ' ';
            if (!cell.text.isEmpty())
                body += run(styles, cell);
            body += "\\cell\n";
        }
        body += "\\row\n";
    }

    return body;
}

} // namespace

QByteArray RtfExport::render(const ReportDocument& pages) const {
    const ReportTable table = ReportTable::of(pages);
    Styles styles;

    // The page's left margin is where its leftmost text starts.
    int margin = INT_MAX;
    for (const auto& line : table.lines)
        for (const ReportTable::Cell& cell : line)
            margin = std::min(margin, cell.left);
    for (const ReportTable::Column& column : table.columns)
        margin = std::min(margin, column.left);
    for (const ReportTable::Grid& chart : table.charts)
        for (const ReportTable::Column& column : chart.columns)
            margin = std::min(margin, column.left);
    if (margin == INT_MAX)
        margin = 1440;

    QByteArray body;
    for (const auto& line : table.lines) {
        body += "\\pard\\plain";
        for (std::size_t i = 1; i < line.size(); ++i)
            body += "\\tx" + QByteArray::number(std::max(0, line[i].left - margin));
        body += ' ';
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (i > 0)
                body += "\\tab ";
            body += run(styles, line[i]);
        }
        body += "\\par\n";
    }
    // An empty paragraph between the header, each chart's numbers and the table.
    bool any = !table.lines.empty();
    const auto grid = [&](const std::vector<ReportTable::Column>& columns,
                          const std::vector<ReportTable::Row>& rows) {
        if (rows.empty())
            return;
        if (any)
            body += "\\pard\\plain\\par\n";
        any = true;
        body += gridRtf(styles, margin, columns, rows);
    };
    for (const ReportTable::Grid& chart : table.charts)
        grid(chart.columns, chart.rows);
    grid(table.columns, table.rows);

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    out += styles.tables();
    out += "{\\info{\\title " + escaped(table.caption) + "}}\n";
    if (!pages.pages.empty()) {
        const ReportPage& first = pages.pages.front();
        out += "\\paperw" + QByteArray::number(first.width) + "\\paperh" +
               QByteArray::number(first.height);
        if (first.width > first.height)
            out += "\\landscape";
    }
    const QByteArray side = QByteArray::number(margin);
    out += "\\margl" + side + "\\margr" + side + "\\margt1440\\margb1440\n";
    out += body;
    return out + "}\n";
}

} // namespace brantock::platform
