#include "platform/report/export/ReportTable.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace brantock::platform {

namespace {

using Items = std::vector<const PageItem*>;

// Texts that stand side by side make a line: an item below the middle of the line's first
// item starts the next one.
std::vector<Items> linesOf(Items items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const PageItem* a, const PageItem* b) { return a->top < b->top; });
    std::vector<Items> lines;
    int middle = 0;
    for (const PageItem* item : items) {
        if (lines.empty() || item->top >= middle) {
            lines.emplace_back();
            middle = item->top + std::max(1, item->height / 2);
        }
        lines.back().push_back(item);
    }
    for (Items& line : lines)
        std::stable_sort(line.begin(), line.end(),
                         [](const PageItem* a, const PageItem* b) { return a->left < b->left; });
    return lines;
}

// The band's texts, each band instance a list: the report header and footer once, the page
// header as on the first page that has one, the detail a list per data row.
struct Bands {
    Items reportHeader;
    Items pageHeader;
    std::vector<Items> detail;
    Items reportFooter;
};

Bands bandsOf(const ReportDocument& document) {
    Bands bands;
    std::map<int, std::size_t> detailRows; // data row -> its index in bands.detail
    bool pageHeaderSeen = false;
    for (const ReportPage& page : document.pages) {
        bool pageHeaderHere = false;
        for (const PageItem& item : page.items) {
            if (item.kind != PageItem::Kind::Text)
                continue;
            switch (item.source.section) {
            case ReportSectionKind::ReportHeader:
                bands.reportHeader.push_back(&item);
                break;
            case ReportSectionKind::PageHeader:
                if (!pageHeaderSeen) {
                    bands.pageHeader.push_back(&item);
                    pageHeaderHere = true;
                }
                break;
            case ReportSectionKind::Detail: {
                const auto [at, added] =
                    detailRows.try_emplace(item.source.row, bands.detail.size());
                if (added)
                    bands.detail.emplace_back();
                bands.detail[at->second].push_back(&item);
                break;
            }
            case ReportSectionKind::ReportFooter:
                bands.reportFooter.push_back(&item);
                break;
            case ReportSectionKind::PageFooter:
                break;
            }
        }
        pageHeaderSeen = pageHeaderSeen || pageHeaderHere;
    }
    return bands;
}

// The columns are the controls of the first band that has texts: the detail, else the page
// header, else the report footer; each control once, by its place across the page.
std::vector<std::pair<QString, ReportTable::Column>> columnsOf(const Bands& bands) {
    std::vector<const PageItem*> items;
    if (!bands.detail.empty())
        for (const Items& row : bands.detail)
            items.insert(items.end(), row.begin(), row.end());
    else if (!bands.pageHeader.empty())
        items = bands.pageHeader;
    else
        items = bands.reportFooter;
    std::vector<std::pair<QString, ReportTable::Column>> columns;
    for (const PageItem* item : items) {
        const bool known = std::any_of(columns.begin(), columns.end(), [&](const auto& column) {
            return column.first == item->source.control;
        });
        if (!known)
            columns.push_back({item->source.control, {item->left, item->width, false}});
    }
    std::stable_sort(columns.begin(), columns.end(),
                     [](const auto& a, const auto& b) { return a.second.left < b.second.left; });
    return columns;
}

// The column a text stands in: its own control's, else the one it overlaps most, else the
// one whose middle is nearest.
std::size_t columnOf(const std::vector<std::pair<QString, ReportTable::Column>>& columns,
                     const PageItem& item) {
    std::size_t best = 0;
    int bestOverlap = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const auto& [control, column] = columns[i];
        if (control == item.source.control)
            return i;
        const int overlap = std::min(column.left + column.width, item.left + item.width) -
                            std::max(column.left, item.left);
        const long distance =
            std::labs(long(column.left) * 2 + column.width - (long(item.left) * 2 + item.width));
        if (overlap > bestOverlap ||
            (bestOverlap == 0 && overlap <= 0 && (bestDistance < 0 || distance < bestDistance))) {
            best = i;
            bestOverlap = std::max(overlap, 0);
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

std::optional<double> ReportTable::numberOf(const QString& text) {
    static const QRegularExpression plain(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?$"));
    if (!plain.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ReportTable::Grid ReportTable::chartGrid(const ChartContent& chart, int left) {
    constexpr int ColumnWidth = 1200;
    Grid grid;
    const qsizetype width = chart.seriesNames.size() + 1;
    for (qsizetype i = 0; i < width; ++i)
        grid.columns.push_back({left + int(i) * ColumnWidth, ColumnWidth, i > 0});
    ItemStyle heading;
    heading.bold = true;
    ItemStyle figure;
    figure.alignment = int(Qt::AlignRight | Qt::AlignTop);
    Row titles{ReportSectionKind::ReportHeader, {{QString(), heading, left}}};
    for (qsizetype s = 0; s < chart.seriesNames.size(); ++s)
        titles.cells.push_back({chart.seriesNames[s], figure, grid.columns[s + 1].left});
    for (Cell& cell : titles.cells)
        cell.style.bold = true;
    grid.rows.push_back(std::move(titles));
    for (qsizetype c = 0; c < chart.categories.size(); ++c) {
        Row row{ReportSectionKind::Detail, {{chart.categories[c], ItemStyle(), left}}};
        for (qsizetype s = 0; s < chart.seriesNames.size(); ++s) {
            const double value =
                s < chart.values.size() && c < chart.values[s].size() ? chart.values[s][c] : 0.0;
            row.cells.push_back(
                {QString::number(value, 'g', 15), figure, grid.columns[s + 1].left});
        }
        grid.rows.push_back(std::move(row));
    }
    return grid;
}

ReportTable ReportTable::of(const ReportDocument& document) {
    ReportTable table;
    table.caption = document.caption;
    const Bands bands = bandsOf(document);

    for (const Items& line : linesOf(bands.reportHeader)) {
        std::vector<Cell> cells;
        for (const PageItem* item : line)
            if (!item->text.isEmpty())
                cells.push_back({item->text, item->style, item->left});
        if (!cells.empty())
            table.lines.push_back(std::move(cells));
    }
    // So that a report of a chart alone still gives its counts.
    for (const ReportPage& page : document.pages)
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Chart && item.chart &&
                !item.chart->categories.isEmpty() && !item.chart->seriesNames.isEmpty())
                table.charts.push_back(chartGrid(*item.chart, item.left));

    const auto columns = columnsOf(bands);
    for (const auto& [control, column] : columns)
        table.columns.push_back(column);
    if (columns.empty())
        return table;

    const auto addRows = [&](ReportSectionKind section, const Items& items) {
        for (const Items& line : linesOf(items)) {
            Row row{section, std::vector<Cell>(columns.size())};
            for (const PageItem* item : line) {
                Cell& cell = row.cells[columnOf(columns, *item)];
                if (cell.text.isEmpty())
                    cell = {item->text, item->style, item->left};
                else if (!item->text.isEmpty())
                    cell.text += u' ' + item->text;
            }
            table.rows.push_back(std::move(row));
        }
    };
    addRows(ReportSectionKind::PageHeader, bands.pageHeader);
    for (const Items& row : bands.detail)
        addRows(ReportSectionKind::Detail, row);
    addRows(ReportSectionKind::ReportFooter, bands.reportFooter);

    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        bool filled = false;
        bool numbers = true;
        for (const Row& row : table.rows) {
            if (row.section != ReportSectionKind::Detail || row.cells[i].text.isEmpty())
                continue;
            filled = true;
            numbers = numbers && numberOf(row.cells[i].text).has_value();
        }
        table.columns[i].numeric = filled && numbers;
    }
    return table;
}

} // namespace brantock::platform
