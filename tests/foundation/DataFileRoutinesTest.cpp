#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/TemporaryRegistry.h"

#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "platform/data/Connection.h"
#include "platform/data/DataFileCreator.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;

namespace {

const QString PasswordTable =
    "CREATE TABLE BrantockFile (Salt BLOB NOT NULL, PasswordHash BLOB NOT NULL);";

class DataFileRoutines : public ::testing::Test {
protected:
    DataFileRoutines() {
        App::SetPath(programFolder.path());
        CommandLineDataPath.clear();
        ResetData();
        documents = QDir::homePath() + "/Documents";
        QDir(documents).removeRecursively();
        QDir().mkpath(documents);
    }
    ~DataFileRoutines() override {
        App::SetPath(QString());
        CommandLineDataPath.clear();
        ResetData();
    }
    static void touch(const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScratchFolder programFolder;
    ScratchFolder files;
    QString documents;
};

} // namespace

TEST_F(DataFileRoutines, CommandLinePathWinsAndIsNeverStored) {
    SetRegSetting("DatabasePath", "/from/registry.hbd", "", true, HKEY_CURRENT_USER);
    CommandLineDataPath = "/from/command/line.hbd";
    EXPECT_EQ(GetDataPath(), "/from/command/line.hbd");
    SaveDataPath("/chosen/in/dialog.hbd");
    EXPECT_EQ(CommandLineDataPath, "/chosen/in/dialog.hbd");
    EXPECT_EQ(GetRegSetting("DatabasePath", "", "", true, HKEY_CURRENT_USER), "/from/registry.hbd");
    EXPECT_EQ(GetDataPath(), "/from/command/line.hbd"); // cached until reset
    ResetData();
    EXPECT_EQ(GetDataPath(), "/chosen/in/dialog.hbd");
}

TEST_F(DataFileRoutines, RegistryValueFallsBackToTheMachine) {
    SetRegSetting("DatabasePath", "/machine/data.hbd", "", true, HKEY_LOCAL_MACHINE);
    SetRegSetting("DatabasePath", "", "", true, HKEY_CURRENT_USER);
    EXPECT_EQ(GetDataPath(), "/machine/data.hbd");
    SetRegSetting("DatabasePath", "/user/data.hbd", "", true, HKEY_CURRENT_USER);
    EXPECT_EQ(GetDataPath(), "/machine/data.hbd"); // the cache hides the change
    ResetData();
    EXPECT_EQ(GetDataPath(), "/user/data.hbd");
    SaveDataPath("/saved/data.hbd");
    EXPECT_EQ(GetRegSetting("DatabasePath", "", "", true, HKEY_CURRENT_USER), "/saved/data.hbd");
}

TEST_F(DataFileRoutines, DefaultFoldersWithoutASetting) {
    // Neither file: the documents path stands.
    EXPECT_EQ(GetDataPath(), documents + "/Brantock/data.hbd");
    ResetData();
    touch(programFolder.file("data.hbd"));
    EXPECT_EQ(GetDataPath(), programFolder.file("data.hbd"));
    ResetData();
    touch(documents + "/Brantock/data.hbd");
    EXPECT_EQ(GetDataPath(), documents + "/Brantock/data.hbd");
    ResetData();
    QString name = "other.hbd";
    EXPECT_EQ(GetDataPath(name), documents + "/Brantock/other.hbd");
    EXPECT_EQ(name, "/other.hbd");
}

TEST_F(DataFileRoutines, WithoutADocumentsFolderItsPathIsStillProposed) {
    // A fresh account: "Make a new data file" makes the folder when asked.
    QDir(documents).removeRecursively();
    EXPECT_EQ(GetDataPath(), documents + "/Brantock/data.hbd");
    EXPECT_FALSE(QFileInfo::exists(documents)); // looking makes nothing
    ResetData();
    touch(programFolder.file("data.hbd"));
    EXPECT_EQ(GetDataPath(), programFolder.file("data.hbd"));
}

TEST_F(DataFileRoutines, ADocumentsFolderTheDesktopNamesIsProposedBeforeItExists) {
    const QString dirs = qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs";
    ASSERT_FALSE(QFileInfo::exists(dirs));
    touch(dirs);
    QFile file(dirs);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("XDG_DOCUMENTS_DIR=\"$HOME/Papiere\"\n");
    file.close();
    EXPECT_EQ(GetDataPath(), QDir::homePath() + "/Papiere/Brantock/data.hbd");
    QFile::remove(dirs);
}

TEST_F(DataFileRoutines, ConnectionTextIsExact) {
    EXPECT_EQ(ConnectionString("/d/x.hbd"),
              "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/d/x.hbd; Jet OLEDB:Database Password "
              "= rk7m2q");
    CommandLineDataPath = "/cmd/data.hbd";
    EXPECT_EQ(ConnectionString(""), "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/cmd/data.hbd; "
                                    "Jet OLEDB:Database Password = rk7m2q");
}

TEST_F(DataFileRoutines, FileInAFolderOfAnyNameOpens) {
    for (const char* name : {"a; Backup=1", "q\"uote;", " blank ", "x; Data Source=y"}) {
        const QString path = files.file(name) + "/data.hbd";
        QDir().mkpath(files.file(name));
        ASSERT_TRUE(DataFiles::copyTemplate(path)) << name;
        EXPECT_TRUE(CheckData(path)) << name;
        DataConnection cn;
        ASSERT_TRUE(OpenCN(cn, path)) << name;
        EXPECT_EQ(cn->DataSource(), path);
        CloseCN(cn);
    }
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_EQ(ConnectionString("/a; Backup=1/data.hbd"),
              "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=\"/a; Backup=1/data.hbd\"; Jet "
              "OLEDB:Database Password = rk7m2q");
}

TEST_F(DataFileRoutines, CheckDataTellsTheFormatLevel) {
    const QString full = files.file("full.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(full));
    SiteLoaded = true;
    EXPECT_TRUE(CheckData(full));
    EXPECT_EQ(DataVersion, 2);
    EXPECT_FALSE(SiteLoaded);

    const QString first = files.file("first.hbd");
    DataFiles::createFirstFormat(first);
    EXPECT_TRUE(CheckData(first));
    EXPECT_EQ(DataVersion, 1);

    const QString archived = files.file("archived.hbd");
    platform::DataFileCreator::create(
        archived, "CREATE TABLE Triggers (triggerDATE INTEGER, ARCHIVED INTEGER);" + PasswordTable,
        DataPassword);
    EXPECT_TRUE(CheckData(archived));
    EXPECT_EQ(DataVersion, 2);

    const QString foreign = files.file("foreign.hbd");
    platform::DataFileCreator::create(
        foreign,
        "CREATE TABLE Triggers (Other INTEGER); CREATE TABLE X (TriggerDate INTEGER);" +
            PasswordTable,
        DataPassword);
    EXPECT_FALSE(CheckData(foreign));
    EXPECT_EQ(DataVersion, 2); // a failed check keeps the level
    EXPECT_TRUE(errors.reports().empty());

    CommandLineDataPath = first;
    EXPECT_TRUE(CheckData(""));
    EXPECT_EQ(DataVersion, 1);
}

TEST_F(DataFileRoutines, CheckDataOfWhatIsNoDataFile) {
    touch(files.file("plain.txt"));
    {
        QFile f(files.file("plain.txt"));
        f.open(QIODevice::WriteOnly);
        f.write("not a data file at all");
    }
    EXPECT_FALSE(CheckData(files.path()));           // a folder
    EXPECT_FALSE(CheckData(files.file("none.hbd"))); // missing
    EXPECT_TRUE(errors.reports().empty());

    EXPECT_FALSE(CheckData(files.file("plain.txt")));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "OpenCN&");

    const QString other = files.file("other.hbd");
    DataFiles::createFirstFormat(other, "another password");
    errors.answer("5"); // going on leaves a closed connection, which is no data file
    EXPECT_FALSE(CheckData(other));
    ASSERT_EQ(errors.reports().size(), 2u);
    EXPECT_EQ(errors.reports()[1].trail, "OpenCN&");
}

TEST_F(DataFileRoutines, OpenConnectionHandsOutAnOpenConnection) {
    CommandLineDataPath = files.file("data.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(CommandLineDataPath));
    DataConnection cn = OpenConnection();
    ASSERT_TRUE(cn);
    EXPECT_EQ(cn->State(), platform::Connection::StateOpen);
    EXPECT_TRUE(CloseCN(cn));
    EXPECT_FALSE(cn);
    EXPECT_TRUE(CloseCN(cn)); // closing nothing is fine
}
