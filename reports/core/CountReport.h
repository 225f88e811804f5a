#pragma once

#include "foundation/ReportingHandler.h"
#include "platform/report/Report.h"
#include "runtime/DateValue.h"

#include <QFont>
#include <QString>

#include <cstdint>
#include <vector>

namespace brantock::platform {
class MemoryRecordset;
class ReportChart;
class ReportField;
class ReportLabel;
class ReportTextControl;
} // namespace brantock::platform

namespace brantock::reports {

// What the day report and the totals report share: the options the report window sets, the
// report header with its title, date range, count label and chart, the page footer, the box
// that shows an error of the run.
class CountReport : public platform::Report {
    Q_OBJECT
public:
    // Set by the report window before the run.
    DateValue StartDate;
    DateValue EndDate;
    DateValue StartTime;
    DateValue EndTime;
    std::int32_t ChartType = 0;
    bool HalfCount = false;
    bool ShowDetails = false;

    platform::ReportLabel& lblReportName;
    platform::ReportLabel& lblDateRange;
    platform::ReportLabel& lblHalfCount;
    platform::ReportChart& chrtReport;
    platform::ReportLabel& lblBrantock;
    platform::ReportLabel& lblPage;
    platform::ReportField& txtPageNumber;
    platform::ReportField& txtPageCount;

    static inline const QString ErrorTitle = QStringLiteral("Report error");
    static constexpr int ErrorStyle = 4144;

protected:
    using Step = ReportingHandler::Step;
    using Steps = std::vector<Step>;

    static constexpr int ReportWidth = 9000;
    static constexpr int TextHeight = 285;
    // The tops of the column titles in the page header and of the totals in the report footer.
    static constexpr int TitleTop = 283;
    static constexpr int TotalsTop = 71;

    // The report header down to the chart, which starts at chartTop; the page footer.
    CountReport(const QString& caption, const QString& reportName, int chartTop);

    // lblDateRange: "From <start> to <end>" in the short date format.
    Step dateRangeStep();
    // lblHalfCount moved to end at rightEdge, then captioned by HalfCount.
    Steps halfCountSteps(int rightEdge);
    // The rows committed, handed to datReport (a clone) and to the chart, the table bands
    // shown or hidden by ShowDetails, the settings value, the chart's type and legend.
    Steps bindSteps(platform::MemoryRecordset& rows);

    // The heights and ruling lines of the page header, the detail and the report footer.
    void layTableBands();
    // A text in the design's Tahoma (the painter substitutes where it is missing): titles
    // and totals bold, counts right-aligned.
    static void style(platform::ReportTextControl& control, bool bold, bool right = false);
    static QFont designFont(double points, bool bold = false);

private:
    void ActiveReport_Error(int Number, const QString& Description, int Scode,
                            const QString& Source, const QString& HelpFile, int HelpContext,
                            bool& CancelDisplay);
};

} // namespace brantock::reports
