#include "platform/data/DataFileReplacer.h"
#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/DataFileCreator.h"
#include "platform/data/Recordset.h"
#include "tests/support/DataFiles.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::testsupport::DataFiles;
using brantock::testsupport::RaisedError;
using brantock::testsupport::ScratchFolder;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString integrity(Connection& connection) {
    return connection.Query(QStringLiteral("PRAGMA integrity_check")).Fields(0).toString();
}

qint64 triggers(Connection& connection) {
    return connection.Query(QStringLiteral("SELECT count(*) FROM Triggers")).Fields(0).toLongLong();
}

const QString Schema =
    QStringLiteral("CREATE TABLE Triggers (TriggerDate INTEGER, TriggerTime INTEGER);"
                   "CREATE TABLE BrantockFile (Salt BLOB NOT NULL, PasswordHash BLOB NOT NULL);");

} // namespace

TEST(DataFileReplacer, CrashedFileLeavesNothingInItsReplacement) {
    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("data.hbd"));
    {
        // What is left is what a killed program leaves: the next open rolls its delete back.
        DataFiles::createCrashed(path);
        ASSERT_GT(QFileInfo(path + QStringLiteral("-journal")).size(), 0);
        Connection crashed;
        crashed.Open(DataFiles::connectionText(path));
        EXPECT_EQ(triggers(crashed), 3000);
    }
    // Both ways a new file is put over an old one: the template's copy and a made file.
    const std::function<void()> makers[] = {
        [&] { DataFileReplacer::copy(DataFiles::templatePath(), path); },
        [&] { DataFileCreator::create(path, Schema, DataFiles::Password); }};
    for (const auto& make : makers) {
        DataFiles::createCrashed(path);
        make();
        EXPECT_FALSE(QFile::exists(path + QStringLiteral("-journal")));
        Connection fresh;
        fresh.Open(DataFiles::connectionText(path));
        EXPECT_EQ(integrity(fresh).toStdString(), "ok");
        EXPECT_EQ(triggers(fresh), 0);
    }
}

TEST(DataFileReplacer, ALinkedFileIsReplacedWithItsOwnJournal) {
    ScratchFolder folder;
    const QString real = folder.file(QStringLiteral("real.hbd"));
    const QString link = folder.file(QStringLiteral("link.hbd"));
    DataFiles::createCrashed(real);
    ASSERT_TRUE(QFile::link(real, link));
    DataFileReplacer::copy(DataFiles::templatePath(), link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_FALSE(QFile::exists(real + QStringLiteral("-journal")));
    Connection fresh;
    fresh.Open(DataFiles::connectionText(link));
    EXPECT_EQ(integrity(fresh).toStdString(), "ok");
    EXPECT_EQ(triggers(fresh), 0);
}

TEST(DataFileReplacer, WaitsForTheOldFilesLock) {
    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("data.hbd"));
    ASSERT_TRUE(DataFiles::copyTemplate(path));
    Connection writer;
    writer.Open(DataFiles::connectionText(path));
    // Read first: closing any other handle of the file would drop this process's locks on it.
    const QByteArray before = bytesOf(path);
    writer.Execute(QStringLiteral("BEGIN IMMEDIATE"));
    writer.Execute(QStringLiteral("INSERT INTO Triggers (TriggerDate) VALUES (1)"));
    EXPECT_EQ(RaisedError::numberOf(
                  [&] { DataFileReplacer::copy(DataFiles::templatePath(), path, 100); }),
              dataErr::Locked);
    EXPECT_EQ(bytesOf(path), before);
    writer.Execute(QStringLiteral("COMMIT"));
    EXPECT_EQ(triggers(writer), 1);
    writer.Close();

    DataFileReplacer::copy(DataFiles::templatePath(), path, 100);
    EXPECT_EQ(bytesOf(path), bytesOf(DataFiles::templatePath()));
}
