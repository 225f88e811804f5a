#include "platform/data/FieldNames.h"

#include "platform/data/DataError.h"

namespace brantock::platform {

const QString& FieldNames::at(int index) const {
    checkIndex(index);
    return names_.at(index);
}

int FieldNames::find(const QString& name) const {
    for (int i = 0; i < names_.size(); ++i)
        if (names_.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int FieldNames::indexOf(const QString& name) const {
    const int index = find(name);
    if (index < 0)
        throw DataError::make(dataErr::FieldNotFound,
                              QStringLiteral("The record set has no field named '%1'.").arg(name));
    return index;
}

void FieldNames::checkIndex(int index) const {
    if (index < 0 || index >= names_.size())
        throw DataError::make(dataErr::FieldNotFound,
                              QStringLiteral("The record set has no field number %1.").arg(index));
}

} // namespace brantock::platform
