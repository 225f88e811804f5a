#include "platform/data/DataError.h"

#include <sqlite3.h>

namespace brantock::platform {

RuntimeError DataError::make(int number, const QString& description) {
    return RuntimeError(number, description, Source);
}

RuntimeError DataError::fromSqlite(int resultCode, sqlite3* db, const QString& path) {
    const QString message =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(resultCode));
    switch (resultCode & 0xff) {
    case SQLITE_NOTADB:
        return make(dataErr::NotADataFile, QStringLiteral("'%1' is not a data file.").arg(path));
    case SQLITE_CORRUPT:
        return make(dataErr::Damaged,
                    QStringLiteral("The data file '%1' is damaged (%2).").arg(path, message));
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return make(dataErr::Locked,
                    QStringLiteral("The data file '%1' is locked by another program and stayed "
                                   "locked for longer than the wait.")
                        .arg(path));
    case SQLITE_READONLY:
        return make(
            dataErr::ReadOnly,
            QStringLiteral("The data file '%1' is read-only and cannot be changed.").arg(path));
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return make(dataErr::CannotOpen,
                    QStringLiteral("Cannot open the data file '%1' (%2).").arg(path, message));
    case SQLITE_FULL:
    case SQLITE_IOERR:
        return make(dataErr::DiskError,
                    QStringLiteral("The data file '%1' could not be read or written (%2).")
                        .arg(path, message));
    case SQLITE_NOMEM:
        return RuntimeError::of(err::OutOfMemory, Source);
    default:
        return make(dataErr::SqlError, message);
    }
}

void DataError::check(int resultCode, sqlite3* db, const QString& path) {
    if (resultCode != SQLITE_OK && resultCode != SQLITE_ROW && resultCode != SQLITE_DONE)
        throw fromSqlite(resultCode, db, path);
}

RuntimeError DataError::noCurrentRow() {
    return make(
        dataErr::NoCurrentRow,
        QStringLiteral("There is no current row: the record set is at its beginning or end."));
}

RuntimeError DataError::connectionClosed() {
    return make(dataErr::ConnectionClosed, QStringLiteral("The connection is closed."));
}

} // namespace brantock::platform
