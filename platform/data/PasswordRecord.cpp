#include "platform/data/PasswordRecord.h"

#include "platform/data/DataError.h"
#include "platform/data/SqlStatement.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace brantock::platform {

namespace {

constexpr int SaltBytes = 16;

// Compares without stopping at the first difference.
bool sameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

// Tells a file that has no password record apart from one that holds nothing at all.
bool holdsAnything(sqlite3* db, const QString& path) {
    SqlStatement count(db, QStringLiteral("SELECT count(*) FROM sqlite_schema"), path);
    return count.step() && count.value(0).toLongLong() > 0;
}

} // namespace

QByteArray PasswordRecord::newSalt() {
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    return salt;
}

QByteArray PasswordRecord::hash(const QByteArray& salt, const QString& password) {
    QCryptographicHash sha(QCryptographicHash::Sha256);
    sha.addData(salt);
    sha.addData(password.toUtf8());
    return sha.result();
}

void PasswordRecord::verify(sqlite3* db, const QString& path, const QString& password) {
    QByteArray salt, stored;
    bool found = false;
    try {
        SqlStatement read(
            db, QStringLiteral("SELECT Salt, PasswordHash FROM %1 LIMIT 1").arg(TableName), path);
        if (read.step()) {
            salt = read.value(0).toByteArray();
            stored = read.value(1).toByteArray();
            found = true;
        }
    } catch (const RuntimeError& e) {
        if (e.number() != dataErr::SqlError)
            throw;
    }
    if (!found && !holdsAnything(db, path))
        throw DataError::make(dataErr::NotADataFile,
                              QStringLiteral("'%1' is not a data file.").arg(path));
    if (!found)
        throw DataError::make(
            dataErr::NoPasswordRecord,
            QStringLiteral("The data file '%1' has no password record.").arg(path));
    if (!sameBytes(hash(salt, password), stored))
        throw DataError::make(dataErr::WrongPassword, QStringLiteral("Not a valid password."));
}

void PasswordRecord::write(sqlite3* db, const QString& path, const QString& password) {
    SqlStatement clear(db, QStringLiteral("DELETE FROM %1").arg(TableName), path);
    clear.step();
    const QByteArray salt = newSalt();
    SqlStatement insert(
        db, QStringLiteral("INSERT INTO %1 (Salt, PasswordHash) VALUES (?, ?)").arg(TableName),
        path);
    insert.bind({salt, hash(salt, password)});
    insert.step();
}

} // namespace brantock::platform
