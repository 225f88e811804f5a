#include "tests/platform/report/TableReport.h"

#include "platform/report/ReportChart.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"

namespace brantock::testsupport {

using namespace platform;

const QString TableReport::Title = QStringLiteral("Export check \u00dcn\u00efcode \u2713");
const QString TableReport::Range = QStringLiteral("From 1/1/2024 to 1/31/2024");
const QString TableReport::Count = QStringLiteral("Full count");

QString TableReport::place(int row) {
    if (row == 0)
        return QStringLiteral("Z\u00fcrich {north} \\ 5 \u20ac");
    if (row == 1)
        return QStringLiteral("Clef \U0001D11E");
    return QStringLiteral("Slot %1").arg(row);
}

const TableReport& TableReport::ran() {
    static TableReport* report = [] {
        auto* made = new TableReport;
        made->Run();
        return made;
    }();
    return *report;
}

MemoryRecordset TableReport::table() {
    MemoryRecordset rows;
    rows.AppendField(QStringLiteral("Place"), MemoryField::Type::Text, 250);
    rows.AppendField(QStringLiteral("Monday"), MemoryField::Type::Integer);
    rows.AppendField(QStringLiteral("Tuesday"), MemoryField::Type::Integer);
    rows.AppendField(QStringLiteral("Share"), MemoryField::Type::Double);
    const QStringList names{QStringLiteral("Place"), QStringLiteral("Monday"),
                            QStringLiteral("Tuesday"), QStringLiteral("Share")};
    for (int row = 0; row < Rows; ++row)
        rows.AddNew(names, {place(row), monday(row), tuesday(row), share(row)});
    rows.UpdateBatch();
    rows.MoveFirst();
    return rows;
}

TableReport::TableReport() {
    SetCaption(QStringLiteral("Brantock - Table Report"));
    ReportHeader().SetHeight(4600);
    ReportHeader()
        .AddLabel(QStringLiteral("lblReportName"), Title, 71, 0, 6000, 520)
        .SetFont(QFont(QStringLiteral("Sans Serif"), 16, QFont::Bold));
    ReportHeader().AddLabel(QStringLiteral("lblDateRange"), Range, 71, 600, 4464, 285);
    ReportHeader()
        .AddLabel(QStringLiteral("lblHalfCount"), Count, 7512, 600, 1417, 285)
        .SetAlignment(Qt::AlignRight | Qt::AlignTop);
    ReportChart* chart =
        &ReportHeader().AddChart(QStringLiteral("chrtReport"), 75, 950, 8925, 3550);

    const struct {
        const char* name;
        const char* caption;
        const char* field;
        int left;
        int width;
    } columns[] = {
        {"Place", "Place", "Place", 142, 2800},
        {"Day1", "Mon", "Monday", 3100, 1000},
        {"Day2", "Tue", "Tuesday", 4200, 1000},
        {"Share", "Share", "Share", 5300, 1200},
    };
    PageHeader().SetHeight(400);
    Detail().SetHeight(255);
    ReportFooter().SetHeight(400);
    for (const auto& c : columns) {
        const QString name = QString::fromLatin1(c.name);
        const Qt::Alignment align = name == u"Place" ? Qt::AlignLeft : Qt::AlignRight;
        PageHeader()
            .AddLabel(QStringLiteral("lbl") + name, QString::fromLatin1(c.caption), c.left, 80,
                      c.width, 255)
            .SetAlignment(align);
        Detail()
            .AddField(QStringLiteral("txt") + name, QString::fromLatin1(c.field), c.left, 0,
                      c.width, 255)
            .SetAlignment(align);
        if (name != u"Place") {
            ReportField& total =
                ReportFooter().AddField(QStringLiteral("txt%1Total").arg(name),
                                        QString::fromLatin1(c.field), c.left, 71, c.width, 255);
            total.SetSummaryType(ReportField::Summary::GrandTotal);
            total.SetAlignment(align);
        }
    }
    ReportFooter().AddLabel(QStringLiteral("lblGrandTotal"), QStringLiteral("Totals"), 142, 71,
                            1417, 255);
    PageHeader().AddLine(QStringLiteral("linHeader"), 0, 380, 9000, 380);

    PageFooter().SetHeight(400);
    PageFooter().AddLabel(QStringLiteral("lblPage"), QStringLiteral("Page"), 6400, 100, 600, 255);
    PageFooter()
        .AddField(QStringLiteral("txtPageNumber"), QString(), 7000, 100, 600, 255)
        .SetSummaryType(ReportField::Summary::PageNumber);

    connect(this, &Report::ReportStart, this, [this, chart] {
        MemoryRecordset rows = table();
        datReport.SetRecordset(rows.Clone());
        chart->SetChartType(1);
        chart->Legend().SetLocationType(6);
        chart->SetDataSource(rows);
    });
}

} // namespace brantock::testsupport
