#include "platform/report/ChartAxis.h"

#include "platform/report/ReportError.h"

namespace brantock::platform {

namespace {

int checkedSpacing(int categories, const char* property) {
    if (categories < 0)
        throw ReportError::invalidProperty(QString::fromLatin1(property));
    return categories;
}

} // namespace

void ChartAxis::SetLabelSpacing(int categories) {
    labelSpacing_ = checkedSpacing(categories, "LabelSpacing");
}

void ChartAxis::SetTickSpacing(int categories) {
    tickSpacing_ = checkedSpacing(categories, "TickSpacing");
}

} // namespace brantock::platform
