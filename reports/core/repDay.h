#pragma once

#include "platform/data/MemoryRecordset.h"
#include "reports/core/CountReport.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace brantock::reports {

// The day report: the triggers of a range of dates counted per time slot of the day (a row
// each) and per chosen weekday (a column each), with a chart of them; with details, a table
// of the slots that had triggers, each line's total and the share of the slot during which a
// counter was running, and the column totals. One grouped query counts; its groups fill an
// in-memory table that feeds the fields and the chart.
class repDay : public CountReport {
    Q_OBJECT
public:
    repDay();
    ~repDay() override;

    // Set by the report window before the run.
    bool IncludeMonday = false;
    bool IncludeTuesday = false;
    bool IncludeWednesday = false;
    bool IncludeThursday = false;
    bool IncludeFriday = false;
    bool IncludeSaturday = false;
    bool IncludeSunday = false;
    // Slot length in minutes; the run raises a value below 1 to 1.
    std::int32_t TimeUnits = 0;

    // The table's column of each weekday, Monday first.
    static const std::array<QString, 7> DayColumns;

    // Monday first: lblDay1 ... lblDay7, txtDay1 ..., txtDay1Total ...
    std::array<platform::ReportLabel*, 7> lblDay{};
    std::array<platform::ReportField*, 7> txtDay{};
    std::array<platform::ReportField*, 7> txtDayTotal{};
    platform::ReportLabel& lblTime;
    platform::ReportLabel& lblTotal;
    platform::ReportLabel& lblActive;
    platform::ReportField& txtTime;
    platform::ReportField& txtTotal;
    platform::ReportField& txtActive;
    platform::ReportLabel& lblGrandTotal;
    platform::ReportField& txtGrandTotal;

    // Minutes a slot could have been active over the range (0 until the run computes it).
    std::int32_t maxActive() const { return MaxActive; }

    // The count statement with that many weekday codes: ?1 the start minute, ?2 the slot
    // length, ?3 and ?4 the first and last day numbers, ?5 the end minute, then the codes.
    static QString CountStatement(int weekdays);
    // The activity rows' statement: ?1 and ?2 the window's minutes, ?3 and ?4 the day
    // numbers, then the weekday codes (7 or more: every day, no codes).
    static QString ActivityStatement(int weekdays);

private:
    void ActiveReport_ReportStart();
    void Detail_Format();
    void ReportFooter_Format();
    void ActiveReport_ReportEnd();
    void CalcMaxActive();
    QString GetActive(const std::int32_t& s, const std::int32_t& e);

    std::array<bool, 7> included() const;
    // The count statement's groups spread over the table's rows.
    void CountSlots(platform::Connection& connection, platform::MemoryRecordset& table);
    QVariantList ActivityValues() const;

    std::optional<platform::MemoryRecordset> ActiveRecordset;
    std::int32_t MaxActive = 0;
};

} // namespace brantock::reports
