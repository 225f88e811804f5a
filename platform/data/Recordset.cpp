#include "platform/data/Recordset.h"

#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/SqlStatement.h"

namespace brantock::platform {

Recordset::Recordset(Connection& connection, const QString& sql, const QVariantList& values) {
    SqlStatement statement(connection.handle().get(), sql, connection.DataSource());
    statement.bind(values);
    names_ = FieldNames(statement.columnNames());
    while (statement.step())
        rows_.push_back(statement.rowValues());
}

void Recordset::MoveNext() {
    if (IsEOF())
        throw DataError::noCurrentRow();
    ++position_;
}

QVariant Recordset::Fields(int index) const {
    names_.checkIndex(index);
    if (IsEOF())
        throw DataError::noCurrentRow();
    return rows_[position_].at(index);
}

QVariant Recordset::Fields(const QString& name) const {
    return Fields(names_.indexOf(name));
}

} // namespace brantock::platform
