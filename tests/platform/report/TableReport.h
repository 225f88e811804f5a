#pragma once

#include "platform/data/MemoryRecordset.h"
#include "platform/report/Report.h"

#include <QString>

namespace brantock::testsupport {

// A report whose every text and number is known, for reading its exports back: a title and
// a line of two labels above a chart of the rows in the report header, the column titles
// "Place", "Mon", "Tue" and "Share", a line per row with a text and three numbers, the
// column totals under "Totals", and page numbers in the page footer. Its rows make two pages.
class TableReport : public platform::Report {
public:
    static constexpr int Rows = 60;
    static const QString Title;
    static const QString Range;
    static const QString Count;

    // The row's texts and numbers: row 0's place holds RTF's own characters and text beyond
    // Latin-1, row 1's a character beyond 16 bits; the others are "Slot n".
    static QString place(int row);
    static int monday(int row) { return row * 3; }
    static int tuesday(int row) { return 100 - row; }
    static double share(int row) { return row + 0.25; }
    static int mondayTotal() { return int(totalOf(monday)); }
    static int tuesdayTotal() { return int(totalOf(tuesday)); }
    static double shareTotal() { return totalOf(share); }

    static platform::MemoryRecordset table();

    TableReport();

    // One table report, run the first time it is asked for, shared by the tests that only
    // read its pages.
    static const TableReport& ran();

private:
    template <class F> static double totalOf(F value) {
        double total = 0;
        for (int row = 0; row < Rows; ++row)
            total += value(row);
        return total;
    }
};

} // namespace brantock::testsupport
