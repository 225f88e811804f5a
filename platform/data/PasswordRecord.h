#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

namespace brantock::platform {

// The record that makes a data file open only with its password: one row of the table
// BrantockFile (Salt, PasswordHash) holding a random salt and SHA-256(salt + password in
// UTF-8). The password itself is never stored.
class PasswordRecord {
public:
    static inline const QString TableName = QStringLiteral("BrantockFile");

    static QByteArray newSalt();
    static QByteArray hash(const QByteArray& salt, const QString& password);

    // Raises the layer's error unless the file's record matches password. path names the
    // file in the error.
    static void verify(sqlite3* db, const QString& path, const QString& password);
    // Replaces the file's record by one for password (the table must exist).
    static void write(sqlite3* db, const QString& path, const QString& password);
};

} // namespace brantock::platform
