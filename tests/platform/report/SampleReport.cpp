#include "tests/platform/report/SampleReport.h"

#include "platform/report/ReportLine.h"

namespace brantock::testsupport {

using namespace platform;

const QStringList SampleReport::Workdays = {QStringLiteral("Monday"), QStringLiteral("Tuesday"),
                                            QStringLiteral("Wednesday"), QStringLiteral("Thursday"),
                                            QStringLiteral("Friday")};

MemoryRecordset SampleReport::table(int slots, const QStringList& days) {
    MemoryRecordset rows;
    rows.AppendField(QStringLiteral("Time"), MemoryField::Type::Text, 250);
    for (const QString& day : days)
        rows.AppendField(day, MemoryField::Type::Integer);
    for (int i = 0; i < slots; ++i) {
        QStringList names{QStringLiteral("Time")};
        QVariantList values{QStringLiteral("%1:00 %2").arg(i % 12 + 1).arg(i < 12 ? "AM" : "PM")};
        for (qsizetype d = 0; d < days.size(); ++d) {
            names << days.at(d);
            values << int((i * 37 + d * 11) % 23 * (d + 1));
        }
        rows.AddNew(names, values);
    }
    rows.UpdateBatch();
    rows.MoveFirst();
    return rows;
}

SampleReport::SampleReport(int slotCount, const QStringList& dayColumns)
    : chrtReport(ReportHeader().AddChart(QStringLiteral("chrtReport"), 75, 850, 8925, 4850)),
      lblDateRange(
          ReportHeader().AddLabel(QStringLiteral("lblDateRange"), QString(), 71, 520, 4464, 285)),
      txtTime(
          Detail().AddField(QStringLiteral("txtTime"), QStringLiteral("Time"), 142, 0, 1417, 255)),
      txtPageNumber(
          PageFooter().AddField(QStringLiteral("txtPageNumber"), QString(), 7000, 100, 600, 255)),
      txtPageCount(
          PageFooter().AddField(QStringLiteral("txtPageCount"), QString(), 7900, 100, 600, 255)),
      slots(slotCount), days(dayColumns) {
    SetCaption(QStringLiteral("Brantock - Sample Report"));
    ReportHeader().SetHeight(5800);
    QFont title(QStringLiteral("Sans Serif"), 22);
    ReportHeader()
        .AddLabel(QStringLiteral("lblReportName"), QStringLiteral("Day Report"), 71, 0, 4000, 520)
        .SetFont(title);

    PageHeader().SetHeight(400);
    PageHeader().AddLabel(QStringLiteral("lblTime"), QStringLiteral("Time"), 142, 80, 1417, 255);
    ReportFooter().SetHeight(400);
    ReportFooter().AddLabel(QStringLiteral("lblGrandTotal"), QStringLiteral("Totals"), 142, 71,
                            1417, 255);
    for (qsizetype d = 0; d < days.size(); ++d) {
        const int left = 1600 + int(d) * 1000;
        PageHeader().AddLabel(QStringLiteral("lblDay%1").arg(d + 1), days.at(d).left(3), left, 80,
                              900, 255);
        Detail().AddField(QStringLiteral("txtDay%1").arg(d + 1), days.at(d), left, 0, 900, 255);
        ReportFooter()
            .AddField(QStringLiteral("txtDay%1Total").arg(d + 1), days.at(d), left, 71, 900, 255)
            .SetSummaryType(ReportField::Summary::GrandTotal);
    }
    PageHeader().AddLine(QStringLiteral("linHeader"), 0, 380, 9000, 380);
    Detail().SetHeight(255);

    PageFooter().SetHeight(400);
    PageFooter().AddLabel(QStringLiteral("lblBrantock"), QStringLiteral("Brantock"), 0, 100, 3000,
                          255);
    PageFooter().AddLabel(QStringLiteral("lblPage"), QStringLiteral("Page"), 6400, 100, 600, 255);
    PageFooter().AddLabel(QStringLiteral("lblOf"), QStringLiteral("of"), 7600, 100, 300, 255);
    txtPageNumber.SetSummaryType(ReportField::Summary::PageNumber);
    txtPageCount.SetSummaryType(ReportField::Summary::PageCount);

    connect(this, &Report::ReportStart, this, [this] {
        PageSettings().SetOrientation(ReportPageSettings::Portrait);
        lblDateRange.SetCaption(QStringLiteral("From 1/1/2024 to 1/31/2024"));
        if (slots > 0) {
            MemoryRecordset rows = table(slots, days);
            datReport.SetRecordset(rows.Clone());
            chrtReport.SetDataSource(rows);
            if (rows.RecordCount() > 12) {
                chrtReport.Axis(0).SetLabelSpacing(0);
                chrtReport.Axis(0).SetTickSpacing(0);
            }
        }
        chrtReport.SetChartType(3);
        chrtReport.Legend().SetLocationType(6);
    });
}

} // namespace brantock::testsupport
