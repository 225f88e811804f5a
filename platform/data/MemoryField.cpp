#include "platform/data/MemoryField.h"

#include "platform/data/DataError.h"

#include "runtime/Conversions.h"

namespace brantock::platform {

namespace {

bool isText(const QVariant& value) {
    return value.metaType().id() == QMetaType::QString;
}

double toDouble(const QVariant& value) {
    bool ok = false;
    const double d = isText(value) ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok)
        throw RuntimeError::of(err::TypeMismatch, DataError::Source);
    return d;
}

bool toBoolean(const QVariant& value) {
    if (isText(value)) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return toDouble(value) != 0.0;
}

} // namespace

QVariant MemoryField::convert(const QVariant& value) const {
    if (!value.isValid() || value.metaType().id() == QMetaType::Nullptr)
        return QVariant();
    switch (type) {
    case Type::Integer:
        return QVariant(qint32(ToLong(value)));
    case Type::Double:
        return QVariant(toDouble(value));
    case Type::Boolean:
        return QVariant(value.metaType().id() == QMetaType::Bool ? value.toBool()
                                                                 : toBoolean(value));
    case Type::Text: {
        const QString text = value.metaType().id() == QMetaType::Bool
                                 ? QString::fromLatin1(value.toBool() ? "True" : "False")
                                 : value.toString();
        if (definedSize > 0 && text.size() > definedSize)
            throw DataError::make(dataErr::ValueTooLong,
                                  QStringLiteral("The value is too long for the field '%1' "
                                                 "(%2 characters at most).")
                                      .arg(name)
                                      .arg(definedSize));
        return QVariant(text);
    }
    case Type::Variant:
        break;
    }
    return value;
}

} // namespace brantock::platform
