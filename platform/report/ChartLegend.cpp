#include "platform/report/ChartLegend.h"

#include "platform/report/ReportError.h"

namespace brantock::platform {

void ChartLegend::SetLocationType(int code) {
    if (!IsLocationType(code))
        throw ReportError::invalidProperty(QStringLiteral("LocationType"));
    locationType_ = code;
}

} // namespace brantock::platform
