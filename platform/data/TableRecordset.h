#pragma once

#include "platform/data/FieldNames.h"

#include <QMap>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <vector>

struct sqlite3;

namespace brantock::platform {

class Connection;

// The rows of one table that match a where clause, which can be changed and added to.
// Changes of a row are collected until Update (or a move, which updates first) writes them;
// a row changed this way is found again by its row id, so another program's changes to other
// rows are left alone. The connection must stay open until the last Update.
class TableRecordset {
public:
    // where is the text after WHERE ("" for every row) with a value for each "?".
    TableRecordset(Connection& connection, const QString& table, const QString& where = {},
                   const QVariantList& values = {});

    bool IsEOF() const { return current_ >= int(rows_.size()); }
    bool IsBOF() const { return current_ < 0 || rows_.empty(); }
    int RecordCount() const { return int(rows_.size()); }
    void MoveFirst();
    void MoveNext();

    int FieldCount() const { return names_.count(); }
    QString FieldName(int index) const { return names_.at(index); }
    QVariant Fields(int index) const;
    QVariant Fields(const QString& name) const;
    void SetField(const QString& name, const QVariant& value);

    // Starts a new row, after the others; its fields are null until set.
    void AddNew();
    // Writes the current row's pending changes (or the new row) into the table.
    void Update();
    bool HasPendingChanges() const { return adding_ || !pending_.isEmpty(); }

private:
    struct Row {
        qint64 rowId = 0;
        QVariantList values;
    };

    const Row& currentRow() const;
    Row readRow(sqlite3* db, qint64 rowId) const;
    QString quotedColumns(const QList<int>& columns, const QString& separator,
                          const QString& suffix) const;

    std::weak_ptr<sqlite3> db_;
    QString path_;
    QString table_;
    FieldNames names_;
    std::vector<Row> rows_;
    int current_ = 0;
    bool adding_ = false;
    QMap<int, QVariant> pending_;
};

} // namespace brantock::platform
