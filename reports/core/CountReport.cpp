#include "reports/core/CountReport.h"

#include "foundation/ErrorsIgnored.h"
#include "platform/data/MemoryRecordset.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/report/ReportChart.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"
#include "platform/report/ReportLine.h"
#include "runtime/DateFormat.h"

namespace brantock::reports {

namespace {

constexpr int HeaderLine = 567;
constexpr int ChartLeft = 75;
constexpr int ChartWidth = 8925;
constexpr int ChartBottom = 8145;
constexpr int FooterHeight = 600;
// Charts of more slots or groups than this leave the painter to space the labels.
constexpr int SpacedCategories = 12;

} // namespace

CountReport::CountReport(const QString& caption, const QString& reportName, int chartTop)
    : lblReportName(
          ReportHeader().AddLabel(QStringLiteral("lblReportName"), reportName, 71, 0, 4000, 540)),
      lblDateRange(ReportHeader().AddLabel(QStringLiteral("lblDateRange"), QString(), 71,
                                           HeaderLine, 4464, TextHeight)),
      lblHalfCount(ReportHeader().AddLabel(QStringLiteral("lblHalfCount"),
                                           QStringLiteral("Half count"), 7512, HeaderLine, 1417,
                                           TextHeight)),
      chrtReport(ReportHeader().AddChart(QStringLiteral("chrtReport"), ChartLeft, chartTop,
                                         ChartWidth, ChartBottom - chartTop)),
      lblBrantock(PageFooter().AddLabel(QStringLiteral("lblBrantock"), QStringLiteral("Brantock"),
                                        0, 100, 3000, TextHeight)),
      lblPage(PageFooter().AddLabel(QStringLiteral("lblPage"), QStringLiteral("Page"), 6900, 100,
                                    550, TextHeight)),
      txtPageNumber(PageFooter().AddField(QStringLiteral("txtPageNumber"), QString(), 7450, 100,
                                          550, TextHeight)),
      txtPageCount(PageFooter().AddField(QStringLiteral("txtPageCount"), QString(), 8400, 100, 600,
                                         TextHeight)) {
    SetCaption(caption);
    ReportHeader().SetHeight(ChartBottom);
    lblReportName.SetFont(designFont(22, true));
    lblDateRange.SetFont(designFont(9));
    lblHalfCount.SetFont(designFont(9));
    lblHalfCount.SetAlignment(Qt::AlignRight | Qt::AlignTop);

    PageFooter().SetHeight(FooterHeight);
    PageFooter().AddLine(QStringLiteral("linPageFooter"), 0, 40, ReportWidth, 40);
    auto& product =
        PageFooter().AddLabel(QStringLiteral("lblProduct"), QStringLiteral("Event counter reports"),
                              0, 330, 3000, TextHeight);
    auto& of = PageFooter().AddLabel(QStringLiteral("lblOf"), QStringLiteral("of"), 8050, 100, 300,
                                     TextHeight);
    lblBrantock.SetFont(designFont(8, true));
    for (platform::ReportLabel* label : {&product, &lblPage, &of})
        label->SetFont(designFont(8));
    for (platform::ReportField* field : {&txtPageNumber, &txtPageCount})
        field->SetFont(designFont(8));
    txtPageNumber.SetSummaryType(platform::ReportField::Summary::PageNumber);
    txtPageCount.SetSummaryType(platform::ReportField::Summary::PageCount);

    connect(this, &Report::Error, this, &CountReport::ActiveReport_Error);
}

void CountReport::layTableBands() {
    PageHeader().SetHeight(645);
    Detail().SetHeight(TextHeight);
    ReportFooter().SetHeight(500);
    PageHeader().AddLine(QStringLiteral("linPageHeader"), 0, 600, ReportWidth, 600);
    Detail()
        .AddLine(QStringLiteral("linDetail"), 0, TextHeight - 5, ReportWidth, TextHeight - 5)
        .SetLineColor(QColor(0xD0, 0xD0, 0xD0));
    ReportFooter().AddLine(QStringLiteral("linReportFooter"), 0, 30, ReportWidth, 30);
}

void CountReport::style(platform::ReportTextControl& control, bool bold, bool right) {
    control.SetFont(designFont(9, bold));
    if (right)
        control.SetAlignment(Qt::AlignRight | Qt::AlignTop);
}

QFont CountReport::designFont(double points, bool bold) {
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

CountReport::Step CountReport::dateRangeStep() {
    return [this] {
        lblDateRange.SetCaption(QStringLiteral("From ") + DateFormat::ShortDate(StartDate) +
                                QStringLiteral(" to ") + DateFormat::ShortDate(EndDate));
    };
}

CountReport::Steps CountReport::halfCountSteps(int rightEdge) {
    return {
        [this, rightEdge] { lblHalfCount.SetLeft(rightEdge - lblHalfCount.Width()); },
        [this] {
            lblHalfCount.SetCaption(HalfCount ? QStringLiteral("Half count")
                                              : QStringLiteral("Full count"));
        },
    };
}

CountReport::Steps CountReport::bindSteps(platform::MemoryRecordset& rows) {
    return {
        [&rows] {
            if (!rows.IsBOF() && !rows.IsEOF() && rows.HasPendingEdits())
                rows.UpdateBatch();
        },
        [this, &rows] { datReport.SetRecordset(rows.Clone()); },
        [this] { Detail().SetVisible(ShowDetails); },
        [this] { PageHeader().SetVisible(ShowDetails); },
        [this] { ReportFooter().SetVisible(ShowDetails); },
        [this] { PageSettings().SetOrientation(platform::ReportPageSettings::Portrait); },
        [this] { chrtReport.SetChartType(ChartType); },
        [this] { chrtReport.Legend().SetLocationType(platform::ChartLegend::Bottom); },
        [this, &rows] {
            if (rows.RecordCount() > SpacedCategories) {
                chrtReport.Axis(0).SetLabelSpacing(0);
                chrtReport.Axis(0).SetTickSpacing(0);
            }
        },
        [this, &rows] { chrtReport.SetDataSource(rows); },
    };
}

void CountReport::ActiveReport_Error(int Number, const QString& Description, int Scode,
                                     const QString& Source, const QString& HelpFile,
                                     int HelpContext, bool& CancelDisplay) {
    RunIgnoringErrors({
        [&] {
            platform::MessageBoxService::current().show(
                {QStringLiteral("There was a problem building your report. \nDescription: ") +
                     Description,
                 ErrorStyle, ErrorTitle});
        },
        [&] { CancelDisplay = true; },
    });
}

} // namespace brantock::reports
