#include "reports/core/repTotals.h"

#include "foundation/modbrUtilsData.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/MemoryRecordset.h"
#include "platform/data/Recordset.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"
#include "reports/core/modbrUtilsReports.h"
#include "runtime/DateFormat.h"
#include "runtime/DateMath.h"

#include <vector>

namespace brantock::reports {

using platform::MemoryField;
using platform::MemoryRecordset;

namespace {

const QString PeriodField = QStringLiteral("Period");
const QString TotalField = QStringLiteral("Total");
constexpr int ChartTop = 1350;
constexpr int PeriodLeft = 142;
constexpr int PeriodWidth = 1417;
constexpr int TotalLeft = 1701;
constexpr int TotalWidth = 1063;
constexpr int ActiveLeft = 3000;
constexpr int ActiveWidth = 1100;

// The interval code of the window's period word.
QString intervalOf(const QString& period) {
    const QString word = period.toUpper();
    if (word == u"YEARS")
        return QStringLiteral("YYYY");
    if (word == u"MONTHS")
        return QStringLiteral("M");
    if (word == u"WEEKS")
        return QStringLiteral("WW");
    if (word == u"HOURS")
        return QStringLiteral("H");
    return QStringLiteral("D");
}

} // namespace

// A search of the index for each day, within the window: the entries outside it are never
// read.
const QString repTotals::CountStatement =
    QStringLiteral("WITH RECURSIVE Days(Day) AS (SELECT ?3 WHERE ?3 < ?4 "
                   "UNION ALL SELECT Day + 1 FROM Days WHERE Day + 1 < ?4) "
                   "SELECT Day AS TriggerDate, (SELECT count(*) FROM Triggers "
                   "WHERE TriggerDate = Day AND TriggerTime BETWEEN ?1 AND ?2) AS TotalCount "
                   "FROM Days");

// Without an index that starts with the day, one pass over the table: a search per day
// would read the whole table for each.
const QString repTotals::ScanStatement =
    QStringLiteral("SELECT TriggerDate, count(*) AS TotalCount FROM Triggers "
                   "WHERE (TriggerTime BETWEEN ?1 AND ?2) AND "
                   "(TriggerDate >= ?3 AND TriggerDate < ?4) "
                   "GROUP BY TriggerDate ORDER BY TriggerDate");

const QString& repTotals::CountStatementFor(platform::Connection& connection) {
    const bool indexed =
        connection
            .Query(
                QStringLiteral("SELECT count(*) FROM pragma_index_list('Triggers') AS List, "
                               "pragma_index_info(List.name) AS Info "
                               "WHERE Info.seqno = 0 AND Info.name = 'TriggerDate' COLLATE NOCASE"))
            .Fields(0)
            .toLongLong() > 0;
    return indexed ? CountStatement : ScanStatement;
}

repTotals::repTotals()
    : CountReport(QStringLiteral("Brantock - Totals Report"), QStringLiteral("Totals Report"),
                  ChartTop),
      lblGroup(ReportHeader().AddLabel(QStringLiteral("lblGroup"), QString(), 71, 567, 4606,
                                       TextHeight)),
      lblTime(ReportHeader().AddLabel(QStringLiteral("lblTime"), QString(), 4677, 921, 4252,
                                      TextHeight)),
      lblPeriod(PageHeader().AddLabel(QStringLiteral("lblPeriod"), PeriodField, PeriodLeft,
                                      TitleTop, PeriodWidth, TextHeight)),
      lblTotal(PageHeader().AddLabel(QStringLiteral("lblTotal"), TotalField, 1913, TitleTop,
                                     TotalLeft + TotalWidth - 1913, TextHeight)),
      lblActive(PageHeader().AddLabel(QStringLiteral("lblActive"), QStringLiteral("% Active"),
                                      ActiveLeft, TitleTop, ActiveWidth, TextHeight)),
      txtPeriod(Detail().AddField(QStringLiteral("txtPeriod"), PeriodField, PeriodLeft, 0,
                                  PeriodWidth, TextHeight)),
      txtTotal(Detail().AddField(QStringLiteral("txtTotal"), TotalField, TotalLeft, 0, TotalWidth,
                                 TextHeight)),
      txtActive(Detail().AddField(QStringLiteral("txtActive"), QString(), ActiveLeft, 0,
                                  ActiveWidth, TextHeight)),
      lblGrandTotal(ReportFooter().AddLabel(QStringLiteral("lblGrandTotal"),
                                            QStringLiteral("Totals"), PeriodLeft, TotalsTop,
                                            PeriodWidth, TextHeight)),
      txtGrandTotal(ReportFooter().AddField(QStringLiteral("txtGrandTotal"), TotalField, TotalLeft,
                                            TotalsTop, TotalWidth, TextHeight)) {
    lblDateRange.SetTop(921);
    txtGrandTotal.SetSummaryType(platform::ReportField::Summary::GrandTotal);
    layTableBands();
    style(lblGroup, false);
    style(lblTime, false, true);
    style(lblPeriod, true);
    style(lblTotal, true, true);
    style(lblActive, true, true);
    style(lblGrandTotal, true);
    style(txtPeriod, false);
    style(txtTotal, false, true);
    style(txtActive, false, true);
    style(txtGrandTotal, true, true);

    connect(this, &Report::ReportStart, this, &repTotals::ActiveReport_ReportStart);
}

repTotals::~repTotals() = default;

void repTotals::ActiveReport_ReportStart() {
    MemoryRecordset rows;
    DataConnection cn;
    bool opened = false;
    Steps steps{
        dateRangeStep(),
        [&] {
            // From the values as the window gave them, before they are corrected below.
            lblGroup.SetCaption(QStringLiteral("Grouped into ") + QString::number(Units) + u' ' +
                                Period.left(Period.size() - 1).trimmed().toLower() +
                                QStringLiteral(" periods"));
        },
        [&] {
            lblTime.SetCaption(QStringLiteral("From ") + DateFormat::MediumTime(StartTime) +
                               QStringLiteral(" to ") + DateFormat::MediumTime(EndTime));
        },
    };
    for (Step& step : halfCountSteps(ReportWidth))
        steps.push_back(std::move(step));
    const Steps countSteps{
        [&] { Period = intervalOf(Period); },
        [&] { Units = std::max(Units, std::int32_t(1)); },
        [&] {
            rows.AppendField(PeriodField, MemoryField::Type::Text, 250);
            rows.AppendField(TotalField, MemoryField::Type::Integer);
        },
        [&] { opened = OpenCN(cn, QString()); },
        [&] {
            if (opened)
                CountGroups(*cn, rows);
        },
        [&] {
            if (opened)
                CloseCN(cn);
        },
    };
    steps.insert(steps.end(), countSteps.begin(), countSteps.end());
    for (Step& step : bindSteps(rows))
        steps.push_back(std::move(step));
    if (!ReportingHandler("repTotals - ReportStart&").run(steps))
        Cancel();
}

void repTotals::CountGroups(platform::Connection& connection, MemoryRecordset& rows) {
    // Each group runs from its first day up to the next group's; a group that starts on or
    // before the end date counts whole, past the end date.
    struct Group {
        DateValue start;
        std::int32_t from;
        std::int32_t to;
        qint64 count = 0;
    };
    std::vector<Group> groups;
    for (DateValue d = StartDate; d <= EndDate;) {
        const DateValue next = DateMath::DateAdd(Period, Units, d);
        groups.push_back({d, ClngTriggerDate(d), ClngTriggerDate(next)});
        d = next;
    }
    if (groups.empty())
        return;
    // One query counts the window's triggers of each day the groups cover, in day order;
    // the days are added up into their groups.
    platform::Recordset days = connection.Query(
        CountStatementFor(connection), {ClngTriggerTime(StartTime), ClngTriggerTime(EndTime),
                                        groups.front().from, groups.back().to});
    auto group = groups.begin();
    for (; !days.IsEOF(); days.MoveNext()) {
        const qint64 day = days.Fields(0).toLongLong();
        while (group != groups.end() && day >= group->to)
            ++group;
        if (group == groups.end())
            break;
        if (day >= group->from)
            group->count += days.Fields(1).toLongLong();
    }
    for (const Group& g : groups)
        rows.AddNew({PeriodField, TotalField},
                    {DateFormat::DayMonthYear(g.start),
                     HalfCount ? QVariant(double(g.count) / 2) : QVariant(g.count)});
}

} // namespace brantock::reports
