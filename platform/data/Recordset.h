#pragma once

#include "platform/data/FieldNames.h"

#include <QString>
#include <QVariant>
#include <QVariantList>

#include <vector>

namespace brantock::platform {

class Connection;

// The rows of one query, read forward. It starts on the first row (at the end when there is
// none); values come back as the file holds them (integers as qint64, texts as QString,
// null as an invalid QVariant). The rows are read when it opens, so a record set left open
// holds no lock: it never keeps a writer in another program waiting, and the program's own
// write after it cannot deadlock with another program doing the same.
class Recordset {
public:
    Recordset(Connection& connection, const QString& sql, const QVariantList& values = {});

    bool IsEOF() const { return position_ >= rows_.size(); }
    void MoveNext();

    int FieldCount() const { return names_.count(); }
    QString FieldName(int index) const { return names_.at(index); }
    QVariant Fields(int index) const;
    QVariant Fields(const QString& name) const;

private:
    FieldNames names_;
    std::vector<QVariantList> rows_;
    std::size_t position_ = 0;
};

} // namespace brantock::platform
