#pragma once

#include "platform/data/FieldNames.h"
#include "platform/data/FilterCriteria.h"
#include "platform/data/MemoryField.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

namespace brantock::platform {

class Connection;

// A record set held in memory only, with no file behind it: fields are appended, rows added
// and changed, a filter narrows the rows seen, and clones share the same rows with a cursor
// and filter of their own. Changes stay pending until UpdateBatch, which only marks them done.
// A copy is one more cursor on the same rows, keeping the filter it had.
class MemoryRecordset {
public:
    MemoryRecordset();
    // A detached copy of the rows of a query; its fields keep the values as read.
    static MemoryRecordset FromQuery(Connection& connection, const QString& sql,
                                     const QVariantList& values = {});

    // Only while the record set has no rows.
    void AppendField(const QString& name, MemoryField::Type type, int definedSize = 0);
    int FieldCount() const { return table_->names.count(); }
    const MemoryField& Field(int index) const;
    QString FieldName(int index) const { return Field(index).name; }

    // A new row at the end, which becomes the current row; its fields are null until set.
    void AddNew();
    // A new row with the named fields set, in the order given.
    void AddNew(const QStringList& names, const QVariantList& values);
    QVariant Fields(int index) const;
    QVariant Fields(const QString& name) const;
    void SetField(int index, const QVariant& value);
    void SetField(const QString& name, const QVariant& value);
    // Values are in the row as soon as they are set. Update only requires a current row (the
    // row stays pending); UpdateBatch marks every pending row done.
    void Update();
    void UpdateBatch();
    bool HasPendingEdits() const { return !table_->pending.isEmpty(); }

    // "" shows every row again. Moves to the first row seen.
    void SetFilter(const QString& criteria);
    const QString& Filter() const { return filterText_; }

    bool IsEOF() const { return position_ >= viewSize(); }
    bool IsBOF() const { return position_ < 0 || viewSize() == 0; }
    void MoveFirst() { position_ = 0; }
    void MoveNext();
    int RecordCount() const { return viewSize(); }

    // Another cursor on the same rows, without a filter, on the first row.
    MemoryRecordset Clone() const;

private:
    struct Table {
        std::vector<MemoryField> fields;
        FieldNames names;
        std::vector<QVariantList> rows;
        QSet<int> pending;
    };

    int viewSize() const;
    int currentRowIndex() const;

    std::shared_ptr<Table> table_;
    QString filterText_;
    // The rows that passed the filter, by index; none when unfiltered.
    std::optional<std::vector<int>> view_;
    int position_ = 0;
};

} // namespace brantock::platform
