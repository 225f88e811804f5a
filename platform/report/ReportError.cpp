#include "platform/report/ReportError.h"

namespace brantock::platform {

RuntimeError ReportError::make(int number, const QString& description) {
    return RuntimeError(number, description, Source);
}

RuntimeError ReportError::invalidProperty(const QString& property) {
    return make(err::InvalidPropertyValue,
                QStringLiteral("Invalid property value (%1)").arg(property));
}

} // namespace brantock::platform
