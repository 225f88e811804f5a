#include "platform/data/MemoryRecordset.h"

#include "platform/data/DataError.h"
#include "platform/data/Recordset.h"

namespace brantock::platform {

MemoryRecordset::MemoryRecordset() : table_(std::make_shared<Table>()) {}

MemoryRecordset MemoryRecordset::FromQuery(Connection& connection, const QString& sql,
                                           const QVariantList& values) {
    Recordset source(connection, sql, values);
    MemoryRecordset copy;
    for (int i = 0; i < source.FieldCount(); ++i)
        copy.AppendField(source.FieldName(i), MemoryField::Type::Variant);
    for (; !source.IsEOF(); source.MoveNext()) {
        QVariantList row;
        for (int i = 0; i < source.FieldCount(); ++i)
            row << source.Fields(i);
        copy.table_->rows.push_back(row);
    }
    return copy;
}

void MemoryRecordset::AppendField(const QString& name, MemoryField::Type type, int definedSize) {
    if (!table_->rows.empty())
        throw DataError::make(
            dataErr::InvalidOperation,
            QStringLiteral("Fields cannot be appended to a record set that has rows."));
    if (table_->names.find(name) >= 0)
        throw DataError::make(
            dataErr::InvalidOperation,
            QStringLiteral("The record set already has a field named '%1'.").arg(name));
    table_->fields.push_back({name, type, definedSize});
    table_->names.append(name);
}

const MemoryField& MemoryRecordset::Field(int index) const {
    table_->names.checkIndex(index);
    return table_->fields[index];
}

int MemoryRecordset::viewSize() const {
    return view_ ? int(view_->size()) : int(table_->rows.size());
}

int MemoryRecordset::currentRowIndex() const {
    if (IsEOF() || IsBOF())
        throw DataError::noCurrentRow();
    return view_ ? (*view_)[position_] : position_;
}

void MemoryRecordset::AddNew() {
    Table& table = *table_;
    table.rows.push_back(QVariantList(table.names.count()));
    const int index = int(table.rows.size()) - 1;
    table.pending.insert(index);
    if (view_)
        view_->push_back(index);
    position_ = viewSize() - 1;
}

void MemoryRecordset::AddNew(const QStringList& names, const QVariantList& values) {
    if (names.size() != values.size())
        throw RuntimeError::of(err::InvalidProcedureCall, DataError::Source);
    // Check every value before the row exists, so a bad one adds nothing.
    QVariantList row(table_->names.count());
    for (qsizetype i = 0; i < names.size(); ++i) {
        const int field = table_->names.indexOf(names.at(i));
        row[field] = table_->fields[field].convert(values.at(i));
    }
    AddNew();
    table_->rows.back() = row;
}

QVariant MemoryRecordset::Fields(int index) const {
    table_->names.checkIndex(index);
    return table_->rows[currentRowIndex()].at(index);
}

QVariant MemoryRecordset::Fields(const QString& name) const {
    return Fields(table_->names.indexOf(name));
}

void MemoryRecordset::SetField(int index, const QVariant& value) {
    const QVariant stored = Field(index).convert(value);
    const int row = currentRowIndex();
    table_->rows[row][index] = stored;
    table_->pending.insert(row);
}

void MemoryRecordset::SetField(const QString& name, const QVariant& value) {
    SetField(table_->names.indexOf(name), value);
}

void MemoryRecordset::Update() {
    currentRowIndex();
}

void MemoryRecordset::UpdateBatch() {
    table_->pending.clear();
}

void MemoryRecordset::SetFilter(const QString& criteria) {
    if (criteria.trimmed().isEmpty()) {
        view_.reset();
        filterText_.clear();
    } else {
        const FilterCriteria filter = FilterCriteria::parse(criteria, table_->names);
        std::vector<int> rows;
        for (int i = 0; i < int(table_->rows.size()); ++i)
            if (filter.matches(table_->rows[i]))
                rows.push_back(i);
        view_ = std::move(rows);
        filterText_ = criteria;
    }
    position_ = 0;
}

void MemoryRecordset::MoveNext() {
    currentRowIndex();
    ++position_;
}

MemoryRecordset MemoryRecordset::Clone() const {
    MemoryRecordset clone;
    clone.table_ = table_;
    return clone;
}

} // namespace brantock::platform
