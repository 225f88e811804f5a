#pragma once

#include "runtime/RuntimeError.h"

#include <QString>

struct sqlite3;

namespace brantock::platform {

// Run-time error numbers of the data layer. Type mismatch (13) and overflow (6) keep their
// standard numbers.
namespace dataErr {
constexpr int BadConnectionText = 3700;
constexpr int FileNotFound = 3701;
constexpr int CannotOpen = 3702;
constexpr int NotADataFile = 3703;
constexpr int NoPasswordRecord = 3704;
constexpr int WrongPassword = 3705;
constexpr int Damaged = 3706;
constexpr int Locked = 3707;
constexpr int ReadOnly = 3708;
constexpr int SqlError = 3709;
constexpr int ConnectionClosed = 3710;
constexpr int NoCurrentRow = 3711;
constexpr int FieldNotFound = 3712;
constexpr int BadFilter = 3713;
constexpr int DiskError = 3714;
constexpr int RowGone = 3715;
constexpr int ValueTooLong = 3716;
constexpr int InvalidOperation = 3717;
} // namespace dataErr

// Builds the layer's run-time errors, all with the same source text.
class DataError {
public:
    static inline const QString Source = QStringLiteral("Brantock data file");

    static RuntimeError make(int number, const QString& description);
    // The error for a failed SQLite call on db (which may be null) working on the file path.
    static RuntimeError fromSqlite(int resultCode, sqlite3* db, const QString& path);
    // Raises fromSqlite unless resultCode is one of SQLite's success codes.
    static void check(int resultCode, sqlite3* db, const QString& path);
    // A record set asked for a row while at its beginning or end.
    static RuntimeError noCurrentRow();
    static RuntimeError connectionClosed();
};

} // namespace brantock::platform
