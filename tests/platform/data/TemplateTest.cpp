#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "tests/support/DataFiles.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::testsupport::DataFiles;
using brantock::testsupport::ScratchFolder;

namespace {

QStringList columnsOf(Connection& connection, const QString& table) {
    QStringList names;
    for (Recordset rows = connection.Columns(table); !rows.IsEOF(); rows.MoveNext())
        names << rows.Fields(QStringLiteral("COLUMN_NAME")).toString();
    return names;
}

QString queryPlan(Connection& connection, const QString& sql, const QVariantList& values) {
    QStringList steps;
    for (Recordset rows = connection.Query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, values);
         !rows.IsEOF(); rows.MoveNext())
        steps << rows.Fields(QStringLiteral("detail")).toString();
    return steps.join(QStringLiteral("; "));
}

} // namespace

TEST(Template, LiesBesideTheProgramsWithTheTablesAndThePasswordRecord) {
    ASSERT_TRUE(QFile::exists(DataFiles::templatePath()));
    QFile raw(DataFiles::templatePath());
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_FALSE(raw.readAll().contains(DataFiles::Password.toUtf8()));

    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("new.hbd"));
    ASSERT_TRUE(DataFiles::copyTemplate(path));
    Connection connection;
    connection.Open(DataFiles::connectionText(path));
    EXPECT_EQ(
        columnsOf(connection, QStringLiteral("Triggers")),
        QStringList({"TriggerDate", "TriggerTime", "SensorID", "SiteID", "CountUp", "Archived"}));
    EXPECT_EQ(columnsOf(connection, QStringLiteral("AppActivity")),
              QStringList({"ActiveDate", "ActiveFrom", "ActiveTo", "Machine", "Interface",
                           "InterfaceOffset", "SiteID"}));
    EXPECT_EQ(columnsOf(connection, QStringLiteral("Sites")),
              QStringList({"SiteID", "SiteName", "MachineName", "Interface"}));
    for (const char* table : {"Triggers", "AppActivity", "Sites"})
        EXPECT_EQ(connection.Query(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table))
                      .Fields(0)
                      .toLongLong(),
                  0)
            << table;
}

TEST(Template, DateRangeCountsReadOnlyTheIndex) {
    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("new.hbd"));
    ASSERT_TRUE(DataFiles::copyTemplate(path));
    Connection connection;
    connection.Open(DataFiles::connectionText(path));
    const QString day = queryPlan(
        connection,
        QStringLiteral(
            "SELECT ((TriggerTime - ?1) / ?2) * ?2 + ?1, TriggerDate % 7, count(*) FROM "
            "Triggers WHERE TriggerDate BETWEEN ?3 AND ?4 AND TriggerTime BETWEEN ?1 AND ?5 "
            "GROUP BY 1, 2"),
        {480, 60, 8766, 8796, 1020});
    EXPECT_TRUE(day.contains(QStringLiteral("COVERING INDEX TriggersByDateTime")))
        << day.toStdString();
    const QString totals = queryPlan(
        connection,
        QStringLiteral("SELECT count(*) FROM Triggers WHERE (TriggerTime BETWEEN ? AND ?) AND "
                       "(TriggerDate >= ? AND TriggerDate < ?)"),
        {480, 1020, 8766, 8773});
    EXPECT_TRUE(totals.contains(QStringLiteral("COVERING INDEX TriggersByDateTime")))
        << totals.toStdString();
    const QString latest = queryPlan(
        connection,
        QStringLiteral(
            "SELECT ActiveTo FROM AppActivity WHERE ActiveDate = ? ORDER BY ActiveTo DESC "
            "LIMIT 1"),
        {8766});
    EXPECT_TRUE(latest.contains(QStringLiteral("INDEX AppActivityByDate"))) << latest.toStdString();
}
