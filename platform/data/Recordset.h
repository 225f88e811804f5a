#pragma once

#include "data/FieldNames.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

namespace brantock::platform {

class Connection;
class SqlStatement;

// The rows of one query, read forward. It starts on the first row (at the end when there is
// none); values come back as the file holds them (integers as qint64, texts as QString,
// null as an invalid QVariant).
class Recordset {
public:
    Recordset(Connection& connection, const QString& sql, const QVariantList& values = {});

    bool IsEOF() const { return eof_; }
    void MoveNext();

    int FieldCount() const { return names_.count(); }
    QString FieldName(int index) const { return names_.at(index); }
    QVariant Fields(int index) const;
    QVariant Fields(const QString& name) const;

private:
    void readRow();

    std::shared_ptr<SqlStatement> statement_;
    FieldNames names_;
    QVariantList row_;
    bool eof_ = true;
};

} // namespace brantock::platform
