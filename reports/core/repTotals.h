#pragma once

#include "reports/core/CountReport.h"

#include <QString>

#include <cstdint>

namespace brantock::platform {
class Connection;
}

namespace brantock::reports {

// The totals report: the triggers of a daily time window counted per group of whole days,
// weeks, months or years between two dates, as a table and a chart. The groups' counts come
// from one query; its rows live in memory only.
class repTotals : public CountReport {
    Q_OBJECT
public:
    repTotals();
    ~repTotals() override;

    // Set by the report window before the run.
    // Periods per group; the run raises a value below 1 to 1.
    std::int32_t Units = 0;
    // "Days", "Weeks", "Months" or "Years"; the run replaces it by its interval code.
    QString Period;

    platform::ReportLabel& lblGroup;
    platform::ReportLabel& lblTime;
    platform::ReportLabel& lblPeriod;
    platform::ReportLabel& lblTotal;
    platform::ReportLabel& lblActive;
    platform::ReportField& txtPeriod;
    platform::ReportField& txtTotal;
    platform::ReportField& txtActive;
    platform::ReportLabel& lblGrandTotal;
    platform::ReportField& txtGrandTotal;

    // The window's triggers per day, in day order: ?1 and ?2 the window's minutes, ?3 the
    // first day number and ?4 the day after the last. CountStatement searches the index day by
    // day; ScanStatement, for files without that index, reads the table once.
    static const QString CountStatement;
    static const QString ScanStatement;
    static const QString& CountStatementFor(platform::Connection& connection);

private:
    // Its rows stay with the data control and the chart: there is no end event to free them.
    void ActiveReport_ReportStart();

    // One row per group: its first day and its count.
    void CountGroups(platform::Connection& connection, platform::MemoryRecordset& rows);
};

} // namespace brantock::reports
