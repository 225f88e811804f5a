#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/DataFileCreator.h"
#include "platform/data/Recordset.h"
#include "tests/support/DataFiles.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

using namespace brantock::platform;
using brantock::RuntimeError;
using brantock::testsupport::DataFiles;
using brantock::testsupport::RaisedError;
using brantock::testsupport::ScratchFolder;

namespace {

const QString Insert = QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, SensorID, "
                                      "SiteID, CountUp) VALUES (?, ?, ?, ?, ?)");

// The error number Open raises, 0 when it opens.
int openError(Connection& connection, const QString& text) {
    try {
        connection.Open(text);
        return 0;
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.source(), DataError::Source);
        EXPECT_FALSE(e.description().isEmpty());
        return e.number();
    }
}

void overwrite(const QString& path, qint64 offset, qint64 length) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(offset);
    file.write(QByteArray(length, '\x5a'));
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 rowCount(Connection& connection) {
    return connection.Query(QStringLiteral("SELECT count(*) FROM Triggers")).Fields(0).toLongLong();
}

// Makes a file or folder read-only for as long as it lives. The superuser writes through
// permissions; an immutable file or folder stops it as well.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path)
        : path_(path), permissions_(QFile::permissions(path)), superuser_(geteuid() == 0) {
        QFile::setPermissions(path, permissions_ & ~(QFile::WriteOwner | QFile::WriteUser |
                                                     QFile::WriteGroup | QFile::WriteOther));
        made_ = !superuser_ || chattr(QStringLiteral("+i"));
    }
    ~ReadOnly() {
        if (superuser_)
            chattr(QStringLiteral("-i"));
        QFile::setPermissions(path_, permissions_);
    }
    bool made() const { return made_; }

private:
    bool chattr(const QString& flag) const {
        return QProcess::execute(QStringLiteral("chattr"), {flag, path_}) == 0;
    }

    QString path_;
    QFile::Permissions permissions_;
    bool superuser_;
    bool made_ = false;
};

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(DataFiles::copyTemplate(path)); }

    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("data.hbd"));
};

// A file that is not what the programs need; each opens with the layer's error only.
struct BadFile {
    const char* name;
    std::function<void(const QString& path)> make;
    int expected;
};

class RefusedFile : public ::testing::TestWithParam<BadFile> {};

} // namespace

TEST_F(ConnectionTest, OpensOnlyWithItsPassword) {
    Connection connection;
    EXPECT_EQ(connection.State(), 0);
    EXPECT_EQ(openError(connection, DataFiles::connectionText(path)), 0);
    EXPECT_EQ(connection.State(), 1);
    EXPECT_EQ(connection.DataSource(), path);
    Connection handedOver = std::move(connection);
    EXPECT_EQ(connection.State(), 0);
    EXPECT_EQ(rowCount(handedOver), 0);
    handedOver.Close();
    EXPECT_EQ(handedOver.State(), 0);

    for (const QString& wrong :
         {QStringLiteral("rk7m2Q"), QStringLiteral(""), QStringLiteral("rk7m2q ").repeated(2)}) {
        Connection other;
        try {
            other.Open(DataFiles::connectionText(path, wrong));
            ADD_FAILURE() << "opened with " << wrong.toStdString();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), dataErr::WrongPassword);
            EXPECT_EQ(e.description(), QStringLiteral("Not a valid password."));
        }
        EXPECT_EQ(other.State(), 0);
    }
    Connection noPassword;
    EXPECT_EQ(openError(noPassword, QStringLiteral("Data Source=") + path), dataErr::WrongPassword);
}

TEST_P(RefusedFile, GivesTheLayersError) {
    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("data.hbd"));
    GetParam().make(path);
    Connection connection;
    EXPECT_EQ(openError(connection, DataFiles::connectionText(path)), GetParam().expected);
    EXPECT_EQ(connection.State(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, RefusedFile,
    ::testing::Values(
        BadFile{"Missing", [](const QString&) {}, dataErr::FileNotFound},
        BadFile{"Folder", [](const QString& p) { QDir().mkpath(p); }, dataErr::NotADataFile},
        BadFile{"Text",
                [](const QString& p) {
                    QFile f(p);
                    f.open(QIODevice::WriteOnly);
                    f.write(QByteArray("Just some words, not a database at all.\n").repeated(200));
                },
                dataErr::NotADataFile},
        BadFile{"Empty",
                [](const QString& p) {
                    QFile f(p);
                    f.open(QIODevice::WriteOnly);
                },
                dataErr::NotADataFile},
        BadFile{"NoPasswordRecord",
                [](const QString& p) {
                    DataFileCreator::create(p,
                                            QStringLiteral("CREATE TABLE Triggers (TriggerDate);"
                                                           "CREATE TABLE BrantockFile (Salt, "
                                                           "PasswordHash);"),
                                            DataFiles::Password);
                    Connection c;
                    c.Open(DataFiles::connectionText(p));
                    c.Execute(QStringLiteral("DROP TABLE BrantockFile"));
                },
                dataErr::NoPasswordRecord},
        BadFile{"AnotherPassword",
                [](const QString& p) { DataFiles::createFirstFormat(p, QStringLiteral("other")); },
                dataErr::WrongPassword},
        BadFile{"HeaderOverwritten",
                [](const QString& p) {
                    DataFiles::copyTemplate(p);
                    overwrite(p, 0, 100);
                },
                dataErr::NotADataFile},
        BadFile{"SchemaPageOverwritten",
                [](const QString& p) {
                    DataFiles::copyTemplate(p);
                    overwrite(p, 100, 4096 - 100);
                },
                dataErr::Damaged}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.name); });

TEST_F(ConnectionTest, OpeningAMissingFileDoesNotCreateIt) {
    const QString missing = folder.file(QStringLiteral("none.hbd"));
    Connection connection;
    EXPECT_EQ(openError(connection, DataFiles::connectionText(missing)), dataErr::FileNotFound);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(
        openError(connection, QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=; "
                                             "Jet OLEDB:Database Password = rk7m2q")),
        dataErr::BadConnectionText);
}

TEST_F(ConnectionTest, ReadOnlyFileOrFolderReadsButRefusesWrites) {
    {
        Connection writer;
        writer.Open(DataFiles::connectionText(path));
        writer.Execute(Insert, {1, 2, 3, 0, true});
    }
    // An empty journal left beside the file would still let a write through a read-only folder.
    QFile::remove(path + QStringLiteral("-journal"));
    for (const bool wholeFolder : {false, true}) {
        SCOPED_TRACE(wholeFolder ? "read-only folder" : "read-only file");
        const ReadOnly guard(wholeFolder ? folder.path() : path);
        if (!guard.made())
            GTEST_SKIP() << "cannot make a file read-only for the superuser here";
        Connection connection;
        ASSERT_EQ(openError(connection, DataFiles::connectionText(path)), 0);
        EXPECT_EQ(connection.IsReadOnly(), !wholeFolder);
        EXPECT_EQ(rowCount(connection), 1);
        EXPECT_EQ(RaisedError::numberOf([&] {
                      connection.Execute(Insert, {1, 2, 3, 0, true});
                  }),
                  dataErr::ReadOnly);
        EXPECT_EQ(rowCount(connection), 1);
    }
}

TEST_F(ConnectionTest, LockHeldPastTheWaitFailsAndNothingIsLost) {
    Connection holder;
    holder.Open(DataFiles::connectionText(path));
    Connection waiter;
    Connection::Settings shortWait;
    shortWait.lockWaitMs = 200;
    waiter.setSettings(shortWait);
    waiter.Open(DataFiles::connectionText(path));

    holder.Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    holder.Execute(Insert, {1, 1, 1, 0, true});
    EXPECT_EQ(RaisedError::numberOf([&] {
                  waiter.Execute(Insert, {2, 2, 2, 0, false});
              }),
              dataErr::Locked);
    Connection late;
    late.setSettings(shortWait);
    EXPECT_EQ(openError(late, DataFiles::connectionText(path)), dataErr::Locked);
    holder.Execute(QStringLiteral("COMMIT"));

    waiter.Execute(Insert, {2, 2, 2, 0, false});
    EXPECT_EQ(rowCount(waiter), 2);
}

TEST_F(ConnectionTest, OpenRecordSetKeepsNoWriterWaiting) {
    Connection reader;
    reader.Open(DataFiles::connectionText(path));
    reader.Execute(Insert, {1, 1, 1, 0, true});
    reader.Execute(Insert, {2, 2, 2, 0, true});
    Connection::Settings shortWait;
    shortWait.lockWaitMs = 200;
    Connection writer;
    writer.setSettings(shortWait);
    writer.Open(DataFiles::connectionText(path));

    // Both read, neither has finished with its rows, both write: as two counters' minute
    // ticks may do.
    Recordset left = reader.Query(QStringLiteral("SELECT TriggerDate FROM Triggers"));
    Recordset right = writer.Query(QStringLiteral("SELECT TriggerDate FROM Triggers"));
    EXPECT_EQ(RaisedError::numberOf([&] { writer.Execute(Insert, {3, 3, 3, 0, true}); }), 0);
    EXPECT_EQ(RaisedError::numberOf([&] { reader.Execute(Insert, {4, 4, 4, 0, true}); }), 0);
    left.MoveNext();
    EXPECT_EQ(left.Fields(0).toInt(), 2);
    EXPECT_EQ(rowCount(writer), 4);
}

TEST_F(ConnectionTest, StatementErrorsCarrySQLitesMessage) {
    Connection connection;
    EXPECT_EQ(RaisedError::numberOf([&] { connection.Execute(QStringLiteral("SELECT 1")); }),
              dataErr::ConnectionClosed);
    connection.Open(DataFiles::connectionText(path));
    try {
        connection.Execute(QStringLiteral("INSERT INTO Nowhere (a) VALUES (?)"), {1});
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), dataErr::SqlError);
        EXPECT_TRUE(e.description().contains(QStringLiteral("no such table: Nowhere")))
            << e.description().toStdString();
    }
    EXPECT_EQ(RaisedError::numberOf([&] {
                  connection.Execute(Insert, {1, 2});
              }),
              dataErr::SqlError);
    EXPECT_EQ(RaisedError::numberOf([&] {
                  connection.Execute(QStringLiteral("DELETE FROM Sites; DROP TABLE Sites"));
              }),
              dataErr::SqlError);
    EXPECT_EQ(connection.Execute(QStringLiteral("SELECT count(*) FROM Sites")), 0);
}

TEST_F(ConnectionTest, ListsTheColumnsOfATable) {
    const auto columns = [](const QString& file, const QString& table) {
        Connection connection;
        connection.Open(DataFiles::connectionText(file));
        QStringList names;
        for (Recordset rows = connection.Columns(table); !rows.IsEOF(); rows.MoveNext()) {
            EXPECT_EQ(rows.Fields(QStringLiteral("TABLE_NAME")).toString(), table);
            names << rows.Fields(QStringLiteral("column_name")).toString();
        }
        return names;
    };
    EXPECT_EQ(
        columns(path, QStringLiteral("Triggers")),
        QStringList({"TriggerDate", "TriggerTime", "SensorID", "SiteID", "CountUp", "Archived"}));
    EXPECT_EQ(columns(path, QStringLiteral("triggers")).size(), 6);
    EXPECT_TRUE(columns(path, QStringLiteral("Nowhere")).isEmpty());

    const QString first = folder.file(QStringLiteral("first.hbd"));
    DataFiles::createFirstFormat(first);
    EXPECT_EQ(columns(first, QStringLiteral("Triggers")),
              QStringList({"TriggerDate", "TriggerTime"}));
    EXPECT_EQ(columns(first, QStringLiteral("AppActivity")),
              QStringList({"ActiveDate", "ActiveFrom", "ActiveTo"}));
}

TEST(ForeignFile, IsRefusedWithoutBeingChanged) {
    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("notes.db"));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &raw,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> owner(raw, sqlite3_close_v2);
    ASSERT_EQ(sqlite3_exec(raw,
                           "PRAGMA journal_mode = WAL; CREATE TABLE Notes (a);"
                           "INSERT INTO Notes VALUES (1);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    const auto journalMode = [&] {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, "PRAGMA journal_mode", -1, &stmt, nullptr);
        sqlite3_step(stmt);
        const QString mode =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
        return mode;
    };
    const auto refuse = [&] {
        const QStringList names = QDir(folder.path()).entryList(QDir::Files);
        const QByteArray file = bytesOf(path);
        const QByteArray log = bytesOf(path + QStringLiteral("-wal"));
        Connection connection;
        Connection::Settings shortWait;
        shortWait.lockWaitMs = 200;
        connection.setSettings(shortWait);
        EXPECT_EQ(openError(connection, DataFiles::connectionText(path)),
                  dataErr::NoPasswordRecord);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), names);
        EXPECT_EQ(bytesOf(path), file);
        EXPECT_EQ(bytesOf(path + QStringLiteral("-wal")), log);
    };
    {
        SCOPED_TRACE("held open by its program");
        refuse();
        EXPECT_EQ(journalMode(), QStringLiteral("wal"));
    }
    owner.reset();
    {
        SCOPED_TRACE("closed");
        refuse();
        // Byte 18 of the header is 2 for a file in WAL mode.
        EXPECT_EQ(bytesOf(path).at(18), 2);
    }
}
