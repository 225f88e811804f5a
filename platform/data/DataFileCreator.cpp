#include "platform/data/DataFileCreator.h"

#include "platform/data/DataError.h"
#include "platform/data/DataFileReplacer.h"
#include "platform/data/PasswordRecord.h"

#include <sqlite3.h>

#include <memory>

namespace brantock::platform {

void DataFileCreator::create(const QString& path, const QString& schemaSql,
                             const QString& password) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, sqlite3_close_v2);
    DataError::check(rc, raw, path);

    char* message = nullptr;
    if (sqlite3_exec(raw, schemaSql.toUtf8().constData(), nullptr, nullptr, &message) !=
        SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        throw DataError::make(dataErr::SqlError, text);
    }
    PasswordRecord::write(raw, path, password);

    sqlite3_int64 size = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> bytes(
        sqlite3_serialize(raw, "main", &size, 0), sqlite3_free);
    if (!bytes)
        throw RuntimeError::of(err::OutOfMemory, DataError::Source);
    DataFileReplacer::replace(
        path, QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.get()), qsizetype(size)));
}

} // namespace brantock::platform
