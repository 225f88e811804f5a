#include "reports/core/modbrUtilsReports.h"

#include "foundation/ReportingHandler.h"
#include "runtime/Conversions.h"
#include "runtime/DateMath.h"
#include "runtime/RuntimeError.h"

#include <limits>

namespace brantock::reports {

namespace {
// The serial date of 1 January 2000, day 0 of the data file.
constexpr std::int64_t FirstTriggerSerial = 36526;
constexpr std::int32_t MinutesPerDay = 1440;
} // namespace

std::int32_t ClngTriggerDate(const DateValue& value) {
    std::int32_t result = 0;
    ReportingHandler("ClngTriggerDate&").run([&] {
        const std::int64_t day = std::int64_t(RoundToInt32(value.serial())) - FirstTriggerSerial;
        if (day < std::numeric_limits<std::int32_t>::min())
            throw RuntimeError::of(err::Overflow);
        result = std::int32_t(day);
    });
    return result;
}

std::int32_t ClngTriggerTime(const DateValue& value) {
    std::int32_t result = 0;
    ReportingHandler("ClngTriggerTime&").run([&] {
        // A value outside the date range has no time of day; as a date it would not convert.
        if (!value.isValid())
            throw RuntimeError::of(err::Overflow);
        const QTime time = value.time();
        result = time.hour() * 60 + time.minute();
    });
    return result;
}

DateValue CDateTriggerTime(const std::int32_t& minutes) {
    DateValue result;
    ReportingHandler("CDateTriggerTime&").run([&] {
        // Added as minutes to day 0, so that a negative remainder lands on the evening before
        // rather than on a negative fraction, which would read as that many minutes after 00:00.
        result = DateMath::DateAdd(QStringLiteral("n"), minutes % MinutesPerDay, DateValue());
    });
    return result;
}

} // namespace brantock::reports
