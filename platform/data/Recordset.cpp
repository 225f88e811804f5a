#include "data/Recordset.h"

#include "data/Connection.h"
#include "data/DataError.h"
#include "data/SqlStatement.h"

namespace brantock::platform {

Recordset::Recordset(Connection& connection, const QString& sql, const QVariantList& values)
    : statement_(
          std::make_shared<SqlStatement>(connection.handle().get(), sql, connection.DataSource())) {
    statement_->bind(values);
    names_ = FieldNames(statement_->columnNames());
    readRow();
}

void Recordset::readRow() {
    eof_ = !statement_->step();
    row_ = eof_ ? QVariantList() : statement_->rowValues();
}

void Recordset::MoveNext() {
    if (eof_)
        throw DataError::noCurrentRow();
    readRow();
}

QVariant Recordset::Fields(int index) const {
    names_.checkIndex(index);
    if (eof_)
        throw DataError::noCurrentRow();
    return row_.at(index);
}

QVariant Recordset::Fields(const QString& name) const {
    return Fields(names_.indexOf(name));
}

} // namespace brantock::platform
