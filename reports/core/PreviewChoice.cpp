#include "reports/core/PreviewChoice.h"

#include "runtime/Conversions.h"

namespace brantock::reports {

namespace {

const QString Numeric = QStringLiteral("The value entered for Units needs to be a number");

std::optional<PreviewChoice::Refusal> checkRange(const ReportOptions& options) {
    using Focus = PreviewChoice::Focus;
    if (options.EndDate.serial() < options.StartDate.serial())
        return PreviewChoice::Refusal{
            QStringLiteral("The End date needs to be after the Start date."), Focus::DateSelector};
    if (options.StartTime.serial() > options.EndTime.serial())
        return PreviewChoice::Refusal{
            QStringLiteral("The End time needs to be after the Start time."), Focus::EndTime};
    return std::nullopt;
}

} // namespace

std::optional<PreviewChoice::Refusal> PreviewChoice::CheckDayReport(const ReportOptions& options) {
    if (auto refusal = checkRange(options))
        return refusal;
    bool anyDay = false;
    for (const bool day : options.include)
        anyDay = anyDay || day;
    if (!anyDay)
        return Refusal{QStringLiteral("You need to select at least one day."), Focus::Monday};
    if (!IsNumeric(options.dayUnitsText))
        return Refusal{Numeric, Focus::DayUnits};
    return std::nullopt;
}

std::optional<PreviewChoice::Refusal>
PreviewChoice::CheckTotalsReport(const ReportOptions& options) {
    if (auto refusal = checkRange(options))
        return refusal;
    if (!IsNumeric(options.totalsUnitsText))
        return Refusal{Numeric, Focus::TotalsUnits};
    return std::nullopt;
}

std::int32_t PreviewChoice::Units(const QString& text) {
    QString packed = text;
    packed.remove(u' ');
    return RoundToInt32(LeadingNumber(packed));
}

} // namespace brantock::reports
