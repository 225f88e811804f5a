#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "tests/support/DataFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::testsupport::DataFiles;
using brantock::testsupport::ScratchFolder;

namespace {

QString writer() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/datafile_writer");
}

QVariant single(Connection& connection, const QString& sql) {
    return connection.Query(sql).Fields(0);
}

QSet<qint64> idsPrinted(const QByteArray& output) {
    QSet<qint64> ids;
    for (const QByteArray& line : output.split('\n'))
        if (!line.isEmpty())
            ids.insert(line.toLongLong());
    return ids;
}

class ConcurrencyTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(DataFiles::copyTemplate(path)); }

    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("data.hbd"));
};

} // namespace

TEST_F(ConcurrencyTest, TwoCountersLoseNoRow) {
    QProcess first, second;
    first.start(writer(),
                {DataFiles::connectionText(path), QStringLiteral("2000"), QStringLiteral("1")});
    second.start(writer(),
                 {DataFiles::connectionText(path), QStringLiteral("2000"), QStringLiteral("4")});
    ASSERT_TRUE(first.waitForFinished(240000));
    ASSERT_TRUE(second.waitForFinished(240000));
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    const QSet<qint64> ids =
        idsPrinted(first.readAllStandardOutput()) + idsPrinted(second.readAllStandardOutput());
    EXPECT_EQ(ids.size(), 4000);

    Connection connection;
    connection.Open(DataFiles::connectionText(path));
    EXPECT_EQ(single(connection, QStringLiteral("SELECT count(*) FROM Triggers")).toLongLong(),
              4000);
    EXPECT_EQ(single(connection, QStringLiteral("SELECT count(*) FROM Triggers WHERE SensorID = 4"))
                  .toLongLong(),
              2000);
    EXPECT_EQ(single(connection, QStringLiteral("PRAGMA integrity_check")).toString(),
              QStringLiteral("ok"));
}

TEST_F(ConcurrencyTest, KilledWriterLeavesASoundFileWithEveryReturnedRow) {
    QSet<qint64> returned;
    int kills = 0;
    // Kill at a few different points; each run adds to the same file.
    for (const int killAfter : {150, 400, 777}) {
        QProcess child;
        child.start(writer(), {DataFiles::connectionText(path), QStringLiteral("1000000"),
                               QStringLiteral("2")});
        ASSERT_TRUE(child.waitForStarted());
        QByteArray output;
        while (output.count('\n') < killAfter && child.state() == QProcess::Running) {
            child.waitForReadyRead(10000);
            output += child.readAllStandardOutput();
        }
        child.kill();
        ++kills;
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit)
            << child.readAllStandardError().toStdString();
        output += child.readAllStandardOutput();
        returned += idsPrinted(output);

        Connection connection;
        connection.Open(DataFiles::connectionText(path));
        EXPECT_EQ(single(connection, QStringLiteral("PRAGMA integrity_check")).toString(),
                  QStringLiteral("ok"));
        QSet<qint64> stored;
        for (Recordset rows = connection.Query(QStringLiteral("SELECT rowid FROM Triggers"));
             !rows.IsEOF(); rows.MoveNext())
            stored.insert(rows.Fields(0).toLongLong());
        EXPECT_TRUE(stored.contains(returned)) << (returned - stored).size() << " rows missing";
        // A kill between an insert and its line may leave one row unreported.
        EXPECT_LE(stored.size() - returned.size(), kills);
    }
}
