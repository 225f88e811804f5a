#include "platform/report/export/TextExport.h"

#include "platform/report/export/ReportTable.h"

#include <QStringList>

#include <algorithm>

namespace brantock::platform {

namespace {

constexpr QLatin1String Gap("  ");

// Line breaks and tabs inside a text would break the columns.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    return text;
}

// Characters, not UTF-16 units: a character beyond 16 bits takes one column too.
qsizetype widthOf(const QString& text) {
    return text.size() -
           std::count_if(text.begin(), text.end(), [](QChar c) { return c.isLowSurrogate(); });
}

} // namespace

namespace {

// A table in aligned columns, numbers to the right.
QString gridText(const std::vector<ReportTable::Column>& columns,
                 const std::vector<ReportTable::Row>& rows) {
    QString out;
    std::vector<qsizetype> widths(columns.size(), 0);
    for (const ReportTable::Row& row : rows)
        for (std::size_t i = 0; i < row.cells.size(); ++i)
            widths[i] = std::max(widths[i], widthOf(oneLine(row.cells[i].text)));
    for (const ReportTable::Row& row : rows) {
        QString line;
        for (std::size_t i = 0; i < row.cells.size(); ++i) {
            if (widths[i] == 0)
                continue;
            const QString text = oneLine(row.cells[i].text);
            const QString padding(widths[i] - widthOf(text), u' ');
            if (!line.isEmpty())
                line += Gap;
            line += columns[i].numeric ? padding + text : text + padding;
        }
        while (line.endsWith(u' '))
            line.chop(1);
        out += line + u'\n';
    }
    return out;
}

} // namespace

QByteArray TextExport::render(const ReportDocument& pages) const {
    const ReportTable table = ReportTable::of(pages);
    QStringList blocks;
    QString header;
    for (const auto& line : table.lines) {
        QStringList texts;
        for (const ReportTable::Cell& cell : line)
            texts << oneLine(cell.text);
        header += texts.join(Gap) + u'\n';
    }
    if (!header.isEmpty())
        blocks << header;
    for (const ReportTable::Grid& chart : table.charts)
        blocks << gridText(chart.columns, chart.rows);
    if (!table.rows.empty())
        blocks << gridText(table.columns, table.rows);
    // A blank line between the header, each chart's numbers and the table.
    return blocks.join(u'\n').toUtf8();
}

} // namespace brantock::platform
