#include "reports/core/repDay.h"

#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"
#include "reports/core/modbrUtilsReports.h"
#include "runtime/Conversions.h"
#include "runtime/DateFormat.h"
#include "runtime/DateMath.h"
#include "runtime/RuntimeError.h"

#include <QRegularExpression>

namespace brantock::reports {

using platform::MemoryField;
using platform::MemoryRecordset;

namespace {

const QString Time = QStringLiteral("Time");
// The right end of the header's text line.
constexpr int HeaderRight = 8929;
constexpr int ChartTop = 921;
// The columns take the header's whole width, so that a day's count of eight digits and a
// total of ten fit their boxes.
constexpr int TimeLeft = 142;
constexpr int TimeWidth = 900;
constexpr int DayLeft = 1080;
constexpr int DayPitch = 820;
constexpr int DayWidth = 780;
constexpr int TotalLeft = 6880;
constexpr int TotalWidth = 1000;
constexpr int ActiveLeft = 7980;
constexpr int ActiveWidth = 949;
const QColor Excluded(0x7F, 0x7F, 0x7F);

// A day number's weekday code: 0 Saturday, 1 Sunday, 2 Monday ... 6 Friday; days before
// 1 January 2000 too.
const QString DateCode = QStringLiteral("((%1 % 7) + 7) % 7");

// The weekday code of each column, Monday first.
constexpr int weekdayCode(std::size_t column) {
    return int(column + 2) % 7;
}

std::int32_t checkedLong(std::int64_t value) {
    return RoundToInt32(double(value));
}

// The minute of the day of a slot's "H:NN AM/PM" text, as the platform reads a time text.
std::int32_t minuteOfText(const QString& text) {
    static const QRegularExpression time(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{2})(?::\\d{2})?\\s*([AP]M)?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = time.match(text);
    if (!m.hasMatch())
        throw RuntimeError::of(err::TypeMismatch);
    int hour = m.captured(1).toInt();
    const int minute = m.captured(2).toInt();
    const QString half = m.captured(3).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            throw RuntimeError::of(err::TypeMismatch);
        hour = hour % 12 + (half == u"PM" ? 12 : 0);
    }
    if (hour > 23 || minute > 59)
        throw RuntimeError::of(err::TypeMismatch);
    return ClngTriggerTime(DateValue::fromTime(hour, minute, 0));
}

QString placeholders(int first, int count) {
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?%1").arg(first + i);
    return marks.join(QStringLiteral(", "));
}

} // namespace

const std::array<QString, 7> repDay::DayColumns = {
    QStringLiteral("Monday"),   QStringLiteral("Tuesday"), QStringLiteral("Wednesday"),
    QStringLiteral("Thursday"), QStringLiteral("Friday"),  QStringLiteral("Saturday"),
    QStringLiteral("Sunday")};

repDay::repDay()
    : CountReport(QStringLiteral("Brantock - Day Report"), QStringLiteral("Day Report"), ChartTop),
      lblTime(PageHeader().AddLabel(QStringLiteral("lblTime"), Time, TimeLeft, TitleTop, TimeWidth,
                                    TextHeight)),
      lblTotal(PageHeader().AddLabel(QStringLiteral("lblTotal"), QStringLiteral("Total"), TotalLeft,
                                     TitleTop, TotalWidth, TextHeight)),
      lblActive(PageHeader().AddLabel(QStringLiteral("lblActive"), QStringLiteral("% Active"),
                                      ActiveLeft, TitleTop, ActiveWidth, TextHeight)),
      txtTime(
          Detail().AddField(QStringLiteral("txtTime"), Time, TimeLeft, 0, TimeWidth, TextHeight)),
      txtTotal(Detail().AddField(QStringLiteral("txtTotal"), QString(), TotalLeft, 0, TotalWidth,
                                 TextHeight)),
      txtActive(Detail().AddField(QStringLiteral("txtActive"), QString(), ActiveLeft, 0,
                                  ActiveWidth, TextHeight)),
      lblGrandTotal(ReportFooter().AddLabel(QStringLiteral("lblGrandTotal"),
                                            QStringLiteral("Totals"), TimeLeft, TotalsTop,
                                            TimeWidth, TextHeight)),
      txtGrandTotal(ReportFooter().AddField(QStringLiteral("txtGrandTotal"), QString(), TotalLeft,
                                            TotalsTop, TotalWidth, TextHeight)) {
    static const std::array<QString, 7> titles = {
        QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"), QStringLiteral("Thu"),
        QStringLiteral("Fri"), QStringLiteral("Sat"), QStringLiteral("Sun")};
    layTableBands();
    for (std::size_t d = 0; d < DayColumns.size(); ++d) {
        const int left = DayLeft + int(d) * DayPitch;
        const QString n = QString::number(d + 1);
        lblDay[d] = &PageHeader().AddLabel(QStringLiteral("lblDay") + n, titles[d], left, TitleTop,
                                           DayWidth, TextHeight);
        txtDay[d] = &Detail().AddField(QStringLiteral("txtDay") + n, DayColumns[d], left, 0,
                                       DayWidth, TextHeight);
        txtDayTotal[d] =
            &ReportFooter().AddField(QStringLiteral("txtDay%1Total").arg(n), DayColumns[d], left,
                                     TotalsTop, DayWidth, TextHeight);
        txtDayTotal[d]->SetSummaryType(platform::ReportField::Summary::GrandTotal);
        style(*lblDay[d], true, true);
        style(*txtDay[d], false, true);
        style(*txtDayTotal[d], true, true);
    }
    style(lblTime, true);
    style(lblTotal, true, true);
    style(lblActive, true, true);
    style(lblGrandTotal, true);
    style(txtTime, false);
    style(txtTotal, false, true);
    style(txtActive, false, true);
    style(txtGrandTotal, true, true);

    connect(this, &Report::ReportStart, this, &repDay::ActiveReport_ReportStart);
    connect(&Detail(), &platform::ReportSection::Format, this, &repDay::Detail_Format);
    connect(&ReportFooter(), &platform::ReportSection::Format, this, &repDay::ReportFooter_Format);
    connect(this, &Report::ReportEnd, this, &repDay::ActiveReport_ReportEnd);
}

repDay::~repDay() = default;

std::array<bool, 7> repDay::included() const {
    return {IncludeMonday, IncludeTuesday,  IncludeWednesday, IncludeThursday,
            IncludeFriday, IncludeSaturday, IncludeSunday};
}

void repDay::ActiveReport_ReportStart() {
    MemoryRecordset table;
    DataConnection cn;
    bool opened = false;
    Steps steps{
        // The slots step by TimeUnits, and the count statement divides by it.
        [&] { TimeUnits = std::max(TimeUnits, std::int32_t(1)); },
        [&] {
            if (ShowDetails)
                CalcMaxActive();
        },
        dateRangeStep(),
    };
    for (Step& step : halfCountSteps(HeaderRight))
        steps.push_back(std::move(step));
    const Steps tableSteps{
        [&] {
            const std::array<bool, 7> days = included();
            for (std::size_t d = 0; d < days.size(); ++d)
                if (!days[d]) {
                    lblDay[d]->SetForeColor(Excluded);
                    txtDayTotal[d]->SetVisible(false);
                }
        },
        [&] {
            table.AppendField(Time, MemoryField::Type::Text, 250);
            const std::array<bool, 7> days = included();
            for (std::size_t d = 0; d < days.size(); ++d)
                if (days[d])
                    table.AppendField(DayColumns[d], MemoryField::Type::Integer);
        },
        [&] {
            // A slot of each TimeUnits minutes from the start time's minute up to the end
            // time's, so that every minute the count statement counts has its row.
            QStringList names;
            QVariantList values;
            for (int i = 0; i < table.FieldCount(); ++i) {
                names << table.FieldName(i);
                values << (i == 0 ? QVariant(QStringLiteral("0:00")) : QVariant(0));
            }
            const std::int32_t last = ClngTriggerTime(EndTime);
            for (std::int64_t t = ClngTriggerTime(StartTime); t <= last; t += TimeUnits) {
                values[0] = DateFormat::HourMinuteAmPm(CDateTriggerTime(std::int32_t(t)));
                table.AddNew(names, values);
            }
            table.MoveFirst();
        },
        [&] { opened = OpenCN(cn, QString()); },
        [&] {
            if (opened)
                CountSlots(*cn, table);
        },
        [&] {
            if (opened)
                CloseCN(cn);
        },
    };
    steps.insert(steps.end(), tableSteps.begin(), tableSteps.end());
    for (Step& step : bindSteps(table))
        steps.push_back(std::move(step));
    if (!ReportingHandler("repDay - ReportStart&").run(steps))
        Cancel();
}

QString repDay::CountStatement(int weekdays) {
    // The index is searched day by day, the included days only, each within the window; the
    // minutes come grouped in the index's order, so that only the minutes that had triggers
    // are grouped again into slots and weekdays.
    return QStringLiteral(
               "WITH RECURSIVE Days(Day) AS (SELECT ?3 WHERE ?3 <= ?4 "
               "UNION ALL SELECT Day + 1 FROM Days WHERE Day < ?4) "
               "SELECT ((TriggerTime - ?1) / ?2) * ?2 + ?1 AS TimeOfDay, %1 AS DayOfWeek, "
               "sum(Triggered) AS TotalCount "
               "FROM (SELECT TriggerDate, TriggerTime, count(*) AS Triggered FROM Triggers "
               "WHERE TriggerDate IN (SELECT Day FROM Days WHERE %2 IN (%3)) "
               "AND (TriggerTime BETWEEN ?1 AND ?5) "
               "GROUP BY TriggerDate, TriggerTime) "
               "GROUP BY TimeOfDay, DayOfWeek ORDER BY TimeOfDay, DayOfWeek")
        .arg(DateCode.arg(QStringLiteral("TriggerDate")), DateCode.arg(QStringLiteral("Day")),
             placeholders(6, weekdays));
}

QString repDay::ActivityStatement(int weekdays) {
    const QString days = weekdays >= 7 ? QString()
                                       : QStringLiteral("AND (%1 IN (%2)) ")
                                             .arg(DateCode.arg(QStringLiteral("ActiveDate")),
                                                  placeholders(5, weekdays));
    // The periods of the report's days and weekdays that reach into its time window.
    return QStringLiteral("SELECT ActiveFrom, ActiveTo FROM AppActivity "
                          "WHERE (ActiveDate BETWEEN ?3 AND ?4) %1"
                          "AND (((ActiveFrom < ?1) AND (ActiveTo > ?2)) OR "
                          "(ActiveFrom >= ?1 AND ActiveFrom <= ?2) OR "
                          "(ActiveTo >= ?1 AND ActiveTo <= ?2) OR "
                          "((ActiveFrom >= ?1) AND (ActiveTo <= ?2))) "
                          "ORDER BY ActiveFrom, ActiveTo, ActiveDate")
        .arg(days);
}

void repDay::CountSlots(platform::Connection& connection, MemoryRecordset& table) {
    const std::int32_t n = ClngTriggerTime(StartTime);
    const std::int32_t u = TimeUnits;
    QVariantList values{n, u, ClngTriggerDate(StartDate), ClngTriggerDate(EndDate),
                        ClngTriggerTime(EndTime)};
    QStringList columns;
    const std::array<bool, 7> days = included();
    for (std::size_t d = 0; d < days.size(); ++d)
        if (days[d]) {
            values << weekdayCode(d);
            columns << DayColumns[d];
        }
    const QString sql = CountStatement(int(columns.size()));
    // The rows come in slot order: the table's cursor walks forward to each one's slot.
    std::int64_t row = 0;
    table.MoveFirst();
    for (platform::Recordset rs = connection.Query(sql, values); !rs.IsEOF(); rs.MoveNext()) {
        const std::int64_t slot = (rs.Fields(0).toLongLong() - n) / u;
        if (slot < row) {
            table.MoveFirst();
            row = 0;
        }
        for (; row < slot && !table.IsEOF(); ++row)
            table.MoveNext();
        if (table.IsEOF())
            continue;
        const std::int64_t code = rs.Fields(1).toLongLong();
        const QString day =
            code >= 0 && code < 7 ? DayColumns[std::size_t(code + 5) % 7] : QString();
        if (!columns.contains(day))
            continue;
        const qint64 count = rs.Fields(2).toLongLong();
        // A halved count is a real number; the integer column rounds it half to even.
        table.SetField(day, HalfCount ? QVariant(double(count) / 2) : QVariant(count));
    }
    table.MoveFirst();
}

void repDay::Detail_Format() {
    if (!ShowDetails)
        return;
    std::int32_t total = 0;
    if (!ReportingHandler("repDay - Format&")
             .run({
                 [&] {
                     double sum = 0;
                     for (const platform::ReportField* field : txtDay)
                         sum += LeadingNumber(field->Text());
                     total = RoundToInt32(sum);
                 },
                 [&] {
                     if (total > 0) {
                         Detail().SetVisible(true);
                         txtTotal.SetText(QString::number(total));
                         const std::int32_t s = minuteOfText(txtTime.Text());
                         const std::int32_t e = checkedLong(std::int64_t(s) + TimeUnits);
                         txtActive.SetText(GetActive(s, e));
                     } else {
                         // Slots without triggers are not printed.
                         Detail().SetVisible(false);
                     }
                 },
             }))
        Cancel();
}

void repDay::ReportFooter_Format() {
    if (!ShowDetails)
        return;
    if (!ReportingHandler("repDay - ReportFooter_Format()&").run({[&] {
            double sum = 0;
            for (const platform::ReportField* field : txtDayTotal)
                sum += LeadingNumber(field->Text());
            txtGrandTotal.SetText(platform::ReportField::TextOf(sum));
        }}))
        Cancel();
}

void repDay::ActiveReport_ReportEnd() {
    RunIgnoringErrors({[&] { ActiveRecordset.reset(); }});
}

void repDay::CalcMaxActive() {
    if (!ReportingHandler("repDay - CalcMaxActive&").run({[&] {
            // Weekday numbers count from Sunday: 1 Sunday ... 7 Saturday.
            const std::array<bool, 7> days = included();
            const std::array<bool, 8> byWeekday = {false,   days[6], days[0], days[1],
                                                   days[2], days[3], days[4], days[5]};
            std::int64_t count = 0;
            for (DateValue d = StartDate; d <= EndDate;
                 d = DateMath::DateAdd(QStringLiteral("d"), 1, d))
                if (byWeekday[DateMath::Weekday(d)])
                    ++count;
            MaxActive = checkedLong(count * TimeUnits);
        }}))
        Cancel();
}

QVariantList repDay::ActivityValues() const {
    QVariantList values{ClngTriggerTime(StartTime), ClngTriggerTime(EndTime),
                        ClngTriggerDate(StartDate), ClngTriggerDate(EndDate)};
    // The included weekdays, Saturday first; none when every day is included.
    const std::array<bool, 7> days = included();
    if (std::find(days.begin(), days.end(), false) != days.end())
        for (int code = 0; code < 7; ++code)
            if (days[std::size_t(code + 5) % 7])
                values << code;
    return values;
}

QString repDay::GetActive(const std::int32_t& s, const std::int32_t& e) {
    QString result;
    DataConnection cn;
    std::int64_t sum = 0;
    if (!ReportingHandler("repDay - GetActive&")
             .run({
                 [&] {
                     if (MaxActive >= 1)
                         return Flow::Next;
                     result = QStringLiteral("0");
                     return Flow::Leave;
                 },
                 [&] {
                     if (ActiveRecordset)
                         return;
                     const QVariantList values = ActivityValues();
                     const std::array<bool, 7> days = included();
                     const QString sql =
                         ActivityStatement(int(std::count(days.begin(), days.end(), true)));
                     if (OpenCN(cn, QString())) {
                         ActiveRecordset = MemoryRecordset::FromQuery(*cn, sql, values);
                         CloseCN(cn);
                     }
                 },
                 // The next line tries again.
                 [&] { return ActiveRecordset ? Flow::Next : Flow::Leave; },
                 [&] {
                     ActiveRecordset->SetFilter(
                         QStringLiteral("(ActiveFrom < %1 AND ActiveTo > %2) OR "
                                        "(ActiveFrom >= %1 AND ActiveFrom <= %2) OR "
                                        "(ActiveTo >= %1 AND ActiveTo <= %2) OR "
                                        "(ActiveFrom >= %1 AND ActiveTo <= %2) ")
                             .arg(s)
                             .arg(e));
                 },
                 [&] {
                     MemoryRecordset& rows = *ActiveRecordset;
                     for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
                         const std::int64_t from = rows.Fields(0).toLongLong();
                         const std::int64_t to = rows.Fields(1).toLongLong();
                         if (from <= s)
                             sum += to > e ? TimeUnits : to - s;
                         else
                             sum += to > e ? e - from : to - from;
                         checkedLong(sum);
                     }
                 },
                 [&] {
                     const std::int64_t pct = checkedLong(sum * 100) / MaxActive;
                     result = QString::number(std::clamp<std::int64_t>(pct, 0, 100));
                 },
             }))
        Cancel();
    return result;
}

} // namespace brantock::reports
