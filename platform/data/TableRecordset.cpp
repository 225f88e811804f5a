#include "platform/data/TableRecordset.h"

#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/SqlStatement.h"

#include <sqlite3.h>

namespace brantock::platform {

namespace {

RuntimeError rowGone() {
    return DataError::make(dataErr::RowGone,
                           QStringLiteral("The row has been deleted by another program."));
}

QString quoted(const QString& identifier) {
    return u'"' + QString(identifier).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

TableRecordset::TableRecordset(Connection& connection, const QString& table, const QString& where,
                               const QVariantList& values)
    : db_(connection.handle()), path_(connection.DataSource()), table_(table) {
    QString sql = QStringLiteral("SELECT _rowid_, * FROM %1").arg(quoted(table));
    if (!where.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    SqlStatement select(connection.handle().get(), sql, path_);
    select.bind(values);
    QStringList columns = select.columnNames();
    columns.removeFirst();
    names_ = FieldNames(columns);
    while (select.step()) {
        QVariantList row = select.rowValues();
        const qint64 rowId = row.takeFirst().toLongLong();
        rows_.push_back({rowId, row});
    }
}

const TableRecordset::Row& TableRecordset::currentRow() const {
    if (IsEOF() || IsBOF())
        throw DataError::noCurrentRow();
    return rows_[current_];
}

void TableRecordset::MoveFirst() {
    Update();
    current_ = 0;
}

void TableRecordset::MoveNext() {
    currentRow();
    Update();
    ++current_;
}

QVariant TableRecordset::Fields(int index) const {
    names_.checkIndex(index);
    if (pending_.contains(index))
        return pending_.value(index);
    return currentRow().values.at(index);
}

QVariant TableRecordset::Fields(const QString& name) const {
    return Fields(names_.indexOf(name));
}

void TableRecordset::SetField(const QString& name, const QVariant& value) {
    const int index = names_.indexOf(name);
    currentRow();
    pending_.insert(index, value);
}

void TableRecordset::AddNew() {
    Update();
    rows_.push_back({0, QVariantList(names_.count())});
    current_ = int(rows_.size()) - 1;
    adding_ = true;
}

QString TableRecordset::quotedColumns(const QList<int>& columns, const QString& separator,
                                      const QString& suffix) const {
    QStringList parts;
    for (int column : columns)
        parts << quoted(names_.at(column)) + suffix;
    return parts.join(separator);
}

TableRecordset::Row TableRecordset::readRow(sqlite3* db, qint64 rowId) const {
    SqlStatement select(
        db, QStringLiteral("SELECT * FROM %1 WHERE _rowid_ = ?").arg(quoted(table_)), path_);
    select.bind({rowId});
    if (!select.step())
        throw rowGone();
    return {rowId, select.rowValues()};
}

void TableRecordset::Update() {
    if (!HasPendingChanges())
        return;
    const std::shared_ptr<sqlite3> db = db_.lock();
    if (!db)
        throw DataError::connectionClosed();
    const QList<int> columns = pending_.keys();
    QVariantList values = pending_.values();
    Row& row = rows_[current_];
    if (adding_) {
        const QString sql =
            columns.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table_))
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(quoted(table_), quotedColumns(columns, QStringLiteral(", "), {}),
                           QStringList(columns.size(), QStringLiteral("?")).join(u','));
        SqlStatement insert(db.get(), sql, path_);
        insert.bind(values);
        insert.step();
        // Read back what the table made of the values (defaults, affinities).
        row = readRow(db.get(), sqlite3_last_insert_rowid(db.get()));
    } else {
        SqlStatement update(db.get(),
                            QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_ = ?")
                                .arg(quoted(table_), quotedColumns(columns, QStringLiteral(", "),
                                                                   QStringLiteral(" = ?"))),
                            path_);
        values << row.rowId;
        update.bind(values);
        update.step();
        if (sqlite3_changes(db.get()) == 0)
            throw rowGone();
        row = readRow(db.get(), row.rowId);
    }
    adding_ = false;
    pending_.clear();
}

} // namespace brantock::platform
