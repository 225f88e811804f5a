#include "tests/support/DataFiles.h"
#include "tests/support/TestEnvironment.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace brantock;
using brantock::testsupport::DataFiles;
using brantock::testsupport::ScratchFolder;

namespace {

// The generator program run as tests and benchmarks run it.
class DataGenTool : public ::testing::Test {
protected:
    int run(const QStringList& options) {
        QProcess tool;
        tool.start(QStringLiteral(BRANTOCK_DATAGEN), options);
        EXPECT_TRUE(tool.waitForFinished(60000));
        output = QString::fromLocal8Bit(tool.readAllStandardOutput());
        return tool.exitCode();
    }
    QVariant value(const QString& path, const QString& sql) {
        platform::Connection cn;
        cn.Open(DataFiles::connectionText(path));
        return cn.Query(sql).Fields(0);
    }

    ScratchFolder folder;
    QString output;
};

} // namespace

TEST_F(DataGenTool, TwoDaysOfTriggersActivityAndTheSiteInAFileTheDataLayerOpens) {
    const QString file = folder.file("two.hbd");
    ASSERT_EQ(run({"--days", "2", "--out", file, "--seed", "5", "--from", "2024-06-07"}), 0);
    // The printed count is the file's count; 7 and 8 June 2024 are a Friday and a Saturday.
    const qint64 rows = value(file, "SELECT count(*) FROM Triggers").toLongLong();
    EXPECT_TRUE(output.startsWith(QString::number(rows) + " triggers")) << output.toStdString();
    const qint64 friday =
        value(file, "SELECT count(*) FROM Triggers WHERE TriggerDate = 8924").toLongLong();
    const qint64 saturday =
        value(file, "SELECT count(*) FROM Triggers WHERE TriggerDate = 8925").toLongLong();
    EXPECT_EQ(friday + saturday, rows);
    EXPECT_GT(friday, 4000);
    EXPECT_GT(friday, saturday);
    EXPECT_GT(saturday, 2500);
    // More by day than at night; every sensor; mostly counting up.
    EXPECT_GT(
        value(file, "SELECT count(*) FROM Triggers WHERE TriggerTime BETWEEN 600 AND 899")
            .toLongLong(),
        10 * value(file, "SELECT count(*) FROM Triggers WHERE TriggerTime < 300").toLongLong());
    EXPECT_EQ(value(file, "SELECT group_concat(DISTINCT SensorID) FROM (SELECT SensorID FROM "
                          "Triggers ORDER BY SensorID)")
                  .toString(),
              "1,2,3");
    const qint64 down = value(file, "SELECT count(*) FROM Triggers WHERE CountUp = 0").toLongLong();
    EXPECT_GT(down, 0);
    EXPECT_LT(down, rows / 4);
    EXPECT_EQ(value(file, "SELECT count(*) FROM Triggers WHERE SiteID <> 1").toLongLong(), 0);
    EXPECT_EQ(value(file, "SELECT count(DISTINCT ActiveDate) FROM AppActivity WHERE SiteID = 1 "
                          "AND InterfaceOffset = 0")
                  .toLongLong(),
              2);
    EXPECT_EQ(value(file, "SELECT count(*) FROM Sites WHERE SiteID = 1").toLongLong(), 1);
    EXPECT_FALSE(QFile::exists(file + ".part"));
    EXPECT_FALSE(QFile::exists(file + ".part-journal"));
}

TEST_F(DataGenTool, TheSameSeedGivesTheSameRows) {
    const auto rowsOf = [&](const QString& name, const QString& seed) {
        const QString file = folder.file(name);
        EXPECT_EQ(run({"--days", "1", "--out", file, "--seed", seed}), 0);
        return value(file, "SELECT group_concat(TriggerDate || ':' || TriggerTime || ':' || "
                           "SensorID || ':' || CountUp) FROM Triggers")
            .toString();
    };
    const QString first = rowsOf("a.hbd", "9");
    EXPECT_EQ(rowsOf("b.hbd", "9"), first);
    EXPECT_NE(rowsOf("c.hbd", "10"), first);
}

TEST_F(DataGenTool, BadOptionsAreRefusedAndWriteNothing) {
    const QString file = folder.file("bad.hbd");
    const QList<QStringList> cases = {
        {"--out", file},
        {"--days", "0", "--out", file},
        {"--days", "2", "--years", "1", "--out", file},
        {"--days", "two", "--out", file},
        {"--days", "2"},
        {"--days", "2", "--out", file, "--from", "2024-02-30"},
        {"--days", "2", "--out", file, "--colour", "red"},
    };
    for (const QStringList& options : cases) {
        EXPECT_EQ(run(options), 2) << options.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(file)) << options.join(' ').toStdString();
    }
    EXPECT_EQ(run({"--days", "2", "--out", file, "--template", folder.file("none.hbt")}), 1);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(QFile::exists(file + ".part"));
}
