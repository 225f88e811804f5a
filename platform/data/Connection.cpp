#include "platform/data/Connection.h"

#include "platform/data/ConnectionText.h"
#include "platform/data/DataError.h"
#include "platform/data/PasswordRecord.h"
#include "platform/data/Recordset.h"
#include "platform/data/SqlStatement.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace brantock::platform {

namespace {

void closeHandle(sqlite3* db) {
    sqlite3_close_v2(db);
}

void runPragma(sqlite3* db, const QString& path, const QString& name, const QString& value) {
    SqlStatement pragma(db, QStringLiteral("PRAGMA %1 = %2").arg(name, value), path);
    while (pragma.step()) {
    }
}

} // namespace

Connection::Connection() = default;

Connection::~Connection() = default;

Connection::Connection(Connection&& other) noexcept
    : settings_(other.settings_), db_(std::move(other.db_)), path_(std::move(other.path_)) {
    other.Close();
}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        settings_ = other.settings_;
        db_ = std::move(other.db_);
        path_ = std::move(other.path_);
        other.Close();
    }
    return *this;
}

void Connection::Open(const QString& connectionText) {
    if (db_)
        throw DataError::make(dataErr::InvalidOperation,
                              QStringLiteral("The connection is already open."));
    const ConnectionText text = ConnectionText::parse(connectionText);
    if (text.dataSource().isEmpty())
        throw DataError::make(dataErr::BadConnectionText,
                              QStringLiteral("The connection text names no data file."));
    const QFileInfo file(text.dataSource());
    const QString path = text.dataSource();
    if (!file.exists())
        throw DataError::make(dataErr::FileNotFound,
                              QStringLiteral("Could not find the data file '%1'.").arg(path));
    if (file.isDir())
        throw DataError::make(dataErr::NotADataFile,
                              QStringLiteral("'%1' is not a data file.").arg(path));

    sqlite3* raw = nullptr;
    // An absolute path, so that no name is ever taken for a URI.
    const int rc = sqlite3_open_v2(file.absoluteFilePath().toUtf8().constData(), &raw,
                                   SQLITE_OPEN_READWRITE, nullptr);
    std::shared_ptr<sqlite3> db(raw, closeHandle);
    DataError::check(rc, raw, path);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, settings_.lockWaitMs);
    // Setting the journal mode writes the file: another program's file is left as it is.
    PasswordRecord::verify(raw, path, text.password());
    runPragma(raw, path, QStringLiteral("journal_mode"), settings_.journalMode);
    runPragma(raw, path, QStringLiteral("synchronous"), settings_.synchronous);
    db_ = std::move(db);
    path_ = path;
}

void Connection::Close() {
    db_.reset();
    path_.clear();
}

int Connection::State() const {
    return db_ ? StateOpen : StateClosed;
}

const std::shared_ptr<sqlite3>& Connection::handle() const {
    if (!db_)
        throw DataError::connectionClosed();
    return db_;
}

qint64 Connection::Execute(const QString& sql, const QVariantList& values) {
    sqlite3* db = handle().get();
    SqlStatement statement(db, sql, path_);
    statement.bind(values);
    const sqlite3_int64 before = sqlite3_total_changes64(db);
    while (statement.step()) {
    }
    // The count of the last change stays behind after statements that change no rows.
    return sqlite3_total_changes64(db) == before ? 0 : sqlite3_changes64(db);
}

Recordset Connection::Query(const QString& sql, const QVariantList& values) {
    return Recordset(*this, sql, values);
}

Recordset Connection::Columns(const QString& table) {
    return Query(QStringLiteral("SELECT ?1 AS TABLE_NAME, name AS COLUMN_NAME, cid + 1 AS "
                                "ORDINAL_POSITION, type AS DATA_TYPE FROM pragma_table_info(?1)"),
                 {table});
}

bool Connection::IsReadOnly() const {
    return sqlite3_db_readonly(handle().get(), "main") == 1;
}

} // namespace brantock::platform
