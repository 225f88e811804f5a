#pragma once

#include <QString>
#include <QVariant>

namespace brantock::platform {

// One field of an in-memory record set; a value stored into it is converted to its type.
struct MemoryField {
    enum class Type {
        Integer, // 32-bit; reals are rounded half to even
        Double,
        Text, // at most definedSize characters when that is above 0
        Boolean,
        Variant, // kept as given (the fields of rows read from a query)
    };

    QString name;
    Type type = Type::Variant;
    int definedSize = 0;

    // Raises type mismatch (13), overflow (6) or value-too-long for a value the field cannot hold.
    QVariant convert(const QVariant& value) const;
};

} // namespace brantock::platform
