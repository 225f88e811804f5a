#pragma once

#include <QString>
#include <QVariantList>

#include <memory>

struct sqlite3;

namespace brantock::platform {

class Recordset;

// A connection to one data file, opened from a connection text whose "Data Source" item names
// the file and whose "Jet OLEDB:Database Password" item gives its password. Opening never
// creates a file; a read-only file opens for reading and refuses writes. Every failure is a
// RuntimeError with one of the numbers in DataError.h.
class Connection {
public:
    enum : int { StateClosed = 0, StateOpen = 1 };

    // How a connection uses the file; the defaults are what the programs run with.
    struct Settings {
        // Rollback journal truncated at each commit, every commit synced: a commit that
        // returned survives a power cut and nothing is left for a reader to trip over.
        QString journalMode = QStringLiteral("TRUNCATE");
        QString synchronous = QStringLiteral("FULL");
        // How long a statement waits for another program's lock before it fails.
        int lockWaitMs = 15000;
    };

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    // A moved-from connection is closed.
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;

    // Used by the next Open.
    void setSettings(const Settings& settings) { settings_ = settings; }
    const Settings& GetSettings() const { return settings_; }

    void Open(const QString& connectionText);
    void Close();
    // 0 closed, 1 open.
    int State() const;

    // Runs one statement with a value for each "?"; returns the rows it changed.
    qint64 Execute(const QString& sql, const QVariantList& values = {});
    // A record set read forward over the rows of one query.
    Recordset Query(const QString& sql, const QVariantList& values = {});
    // The columns of table, one row each with TABLE_NAME, COLUMN_NAME, ORDINAL_POSITION
    // (from 1) and DATA_TYPE (the declared type); no rows for a table that does not exist.
    Recordset Columns(const QString& table);

    // The file's path ("" while closed) and whether it was opened read-only.
    const QString& DataSource() const { return path_; }
    bool IsReadOnly() const;

    // For the record sets of this layer: raises the closed error while closed.
    const std::shared_ptr<sqlite3>& handle() const;

private:
    Settings settings_;
    std::shared_ptr<sqlite3> db_;
    QString path_;
};

} // namespace brantock::platform
