#pragma once

#include "platform/data/MemoryRecordset.h"
#include "platform/report/Report.h"
#include "platform/report/ReportChart.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"

#include <QStringList>

namespace brantock::testsupport {

// A report built the way the reports program builds its own: a header with a chart of the
// slots, column titles, one line per time slot with a count per day, the day totals and the
// page numbers. Its start event fills the table and binds the data control and the chart,
// as the program's reports do.
class SampleReport : public platform::Report {
public:
    static const QStringList Workdays;

    explicit SampleReport(int slots = 10, const QStringList& days = Workdays);

    // "Time" (text) and a count column per day, counts that rise and fall as real ones do:
    // slot i of day d counts (37 i + 11 d) mod 23, times d + 1.
    static platform::MemoryRecordset table(int slots, const QStringList& days);

    platform::ReportChart& chrtReport;
    platform::ReportLabel& lblDateRange;
    platform::ReportField& txtTime;
    platform::ReportField& txtPageNumber;
    platform::ReportField& txtPageCount;

    // The rows the start event binds; 0 binds none.
    int slots;
    QStringList days;
};

} // namespace brantock::testsupport
