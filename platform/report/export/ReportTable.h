#pragma once

#include "platform/report/ChartContent.h"
#include "platform/report/ItemStyle.h"
#include "platform/report/ReportDocument.h"
#include "platform/report/ReportSectionKind.h"

#include <QString>

#include <optional>
#include <vector>

namespace brantock::platform {

// The report's content rebuilt from its pages for the exports that have no pages of their
// own (text, rich text, spreadsheet): the report header's lines, then one table of the
// column titles (the page header, once), a row per data row and the report footer's rows.
// The columns are the detail band's fields, in their order across the page; a title or
// total goes into the column it stands over. A chart, which these formats cannot draw, gives
// its numbers instead: a table of its own after the header's lines, its series across and a
// row per category. Page footers (page numbers) are left out.
class ReportTable {
public:
    struct Cell {
        QString text;
        ItemStyle style;
        int left = 0; // twips from the page's left edge
    };
    struct Column {
        int left = 0; // twips from the page's left edge
        int width = 0;
        // Every filled detail cell of the column is a number.
        bool numeric = false;
    };
    struct Row {
        ReportSectionKind section = ReportSectionKind::Detail;
        std::vector<Cell> cells; // one per column, empty text where nothing stands
    };

    // Columns and rows of one table.
    struct Grid {
        std::vector<Column> columns;
        std::vector<Row> rows;
    };

    QString caption;
    // The report header's texts, a line each, left to right; empty texts left out.
    std::vector<std::vector<Cell>> lines;
    // The charts' numbers, a table each.
    std::vector<Grid> charts;
    std::vector<Column> columns;
    std::vector<Row> rows;

    static ReportTable of(const ReportDocument& document);

    // The value of a text that is a plain decimal number as the report writes numbers ("12",
    // "-3", "0.5"); none for any other text, so that "007", "1e3" or "8:00 AM" stay texts.
    static std::optional<double> numberOf(const QString& text);

private:
    static Grid chartGrid(const ChartContent& chart, int left);
};

} // namespace brantock::platform
