#pragma once

#include <QString>
#include <QStringList>

namespace brantock::platform {

// The field names of a record set, found without regard to case as the programs spell them.
class FieldNames {
public:
    FieldNames() = default;
    explicit FieldNames(QStringList names) : names_(std::move(names)) {}

    int count() const { return int(names_.size()); }
    const QString& at(int index) const;
    // -1 when there is no such field.
    int find(const QString& name) const;
    // Raises the "no such field" error when there is none.
    int indexOf(const QString& name) const;
    // Raises the same error for an index outside the fields.
    void checkIndex(int index) const;
    void append(const QString& name) { names_ << name; }
    const QStringList& list() const { return names_; }

private:
    QStringList names_;
};

} // namespace brantock::platform
