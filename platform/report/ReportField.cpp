#include "platform/report/ReportField.h"

#include <cmath>

namespace brantock::platform {

ReportField::ReportField(QString name, QString dataField, int left, int top, int width, int height)
    : ReportTextControl(std::move(name), left, top, width, height),
      dataField_(std::move(dataField)) {}

PageItem ReportField::Item() const {
    PageItem item = textItem(text_);
    item.source.field = dataField_;
    return item;
}

QString ReportField::TextOf(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::trunc(d) && std::abs(d) < 1e15)
            return QString::number(qint64(d));
        return QString::number(d, 'g', 15);
    }
    default:
        return value.toString();
    }
}

} // namespace brantock::platform
