#include "platform/data/Connection.h"
#include "platform/data/DataError.h"
#include "platform/data/DataFileCreator.h"
#include "platform/data/MemoryRecordset.h"
#include "platform/data/Recordset.h"
#include "platform/data/TableRecordset.h"
#include "tests/support/DataFiles.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace brantock::platform;
using brantock::RuntimeError;
using brantock::testsupport::DataFiles;
using brantock::testsupport::ScratchFolder;

namespace {

// What the counter writes and the reports read, on a fresh copy of the template.
class StatementsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(DataFiles::copyTemplate(path));
        connection.Open(DataFiles::connectionText(path));
    }

    // The one row of a query, every field with its type.
    QVariantList onlyRow(const QString& sql, const QVariantList& values = {}) {
        Recordset rows = connection.Query(sql, values);
        EXPECT_FALSE(rows.IsEOF());
        QVariantList row;
        for (int i = 0; i < rows.FieldCount(); ++i)
            row << rows.Fields(i);
        rows.MoveNext();
        EXPECT_TRUE(rows.IsEOF());
        return row;
    }

    ScratchFolder folder;
    const QString path = folder.file(QStringLiteral("data.hbd"));
    Connection connection;
};

void expectExactly(const QVariantList& actual, const QVariantList& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i) {
        EXPECT_EQ(actual[i].metaType(), expected[i].metaType()) << "field " << i;
        EXPECT_EQ(actual[i], expected[i]) << "field " << i;
    }
}

} // namespace

TEST_F(StatementsTest, TriggerRowsComeBackAsWritten) {
    const QString insert =
        QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, SensorID, "
                       "SiteID, CountUp) VALUES (?, ?, ?, ?, ?)");
    EXPECT_EQ(connection.Execute(insert, {8766, 1439, 4, -3, true}), 1);
    EXPECT_EQ(
        connection.Execute(insert, {qint64(8767), 0, short(6), 32767, QStringLiteral("False")}), 1);
    EXPECT_EQ(connection.Execute(QStringLiteral("UPDATE Triggers SET SiteID = 1 WHERE SiteID = 2")),
              0);
    EXPECT_EQ(connection.Execute(insert, {8768, 1, 1, 0, true}), 1);
    EXPECT_EQ(
        connection.Execute(QStringLiteral("DELETE FROM Triggers WHERE TriggerDate = ?"), {8768}),
        1);
    EXPECT_EQ(connection.Execute(QStringLiteral("CREATE TEMP TABLE Scratch (a)")), 0);
    Recordset rows = connection.Query(QStringLiteral("SELECT TriggerDate, TriggerTime, SensorID, "
                                                     "SiteID, CountUp, Archived FROM Triggers "
                                                     "ORDER BY TriggerDate"));
    QList<QVariantList> read;
    for (; !rows.IsEOF(); rows.MoveNext())
        read << QVariantList{rows.Fields(0),
                             rows.Fields(1),
                             rows.Fields(2),
                             rows.Fields(QStringLiteral("siteid")),
                             rows.Fields(QStringLiteral("CountUp")),
                             rows.Fields(5)};
    ASSERT_EQ(read.size(), 2);
    expectExactly(read[0],
                  {qint64(8766), qint64(1439), qint64(4), qint64(-3), qint64(1), QVariant()});
    expectExactly(read[1],
                  {qint64(8767), qint64(0), qint64(6), qint64(32767), qint64(0), QVariant()});
    EXPECT_EQ(rows.FieldCount(), 6);
}

TEST_F(StatementsTest, CountUpHoldsOneOrZeroHoweverItIsWritten) {
    const QString bound =
        QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, CountUp) VALUES (?, 0, ?)");
    const QString words =
        QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, CountUp) SELECT %1, 0, %2");
    // Each pair: a count up and a count down, written one way.
    connection.Execute(bound, {1, true});
    connection.Execute(bound, {1, false});
    connection.Execute(bound, {2, QStringLiteral("True")});
    connection.Execute(bound, {2, QStringLiteral("false ")});
    connection.Execute(words.arg(3).arg(QStringLiteral("True")));
    connection.Execute(words.arg(3).arg(QStringLiteral("False")));
    connection.Execute(words.arg(4).arg(QStringLiteral("'TRUE'")));
    connection.Execute(words.arg(4).arg(QStringLiteral("'False'")));
    connection.Execute(bound, {5, 0});
    connection.Execute(
        QStringLiteral("UPDATE Triggers SET CountUp = 'True' WHERE TriggerDate = 5"));
    connection.Execute(bound, {5, 0});
    connection.Execute(bound, {6, -1});
    connection.Execute(bound, {6, 0});
    connection.Execute(bound, {7, 0});
    connection.Execute(QStringLiteral("UPDATE Triggers SET CountUp = 2.5 WHERE TriggerDate = 7"));
    connection.Execute(bound, {7, 0});
    for (int way = 1; way <= 7; ++way) {
        SCOPED_TRACE(way);
        expectExactly(
            onlyRow(QStringLiteral("SELECT sum(CountUp = 1), sum(CASE WHEN CountUp THEN 1 ELSE 0 "
                                   "END), sum(typeof(CountUp) = 'integer'), sum(CountUp = True) "
                                   "FROM Triggers WHERE TriggerDate = ?"),
                    {way}),
            {qint64(1), qint64(1), qint64(2), qint64(1)});
    }
    // Other texts are not Yes/No words and stay as they were given.
    connection.Execute(bound, {8, QStringLiteral("maybe")});
    expectExactly(onlyRow(QStringLiteral("SELECT CountUp FROM Triggers WHERE TriggerDate = 8")),
                  {QStringLiteral("maybe")});
}

TEST_F(StatementsTest, OlderFileWithTheWordsReadsThemAsNumbers) {
    const QString older = folder.file(QStringLiteral("older.hbd"));
    DataFileCreator::create(
        older,
        QStringLiteral("CREATE TABLE Triggers (TriggerDate INTEGER, TriggerTime INTEGER, "
                       "SensorID INTEGER, SiteID INTEGER, CountUp TEXT, Archived INTEGER);"
                       "CREATE TABLE BrantockFile (Salt BLOB NOT NULL, PasswordHash BLOB NOT "
                       "NULL);"
                       "INSERT INTO Triggers (TriggerDate, CountUp) VALUES (1, 'True'), "
                       "(2, 'False');"),
        DataFiles::Password);
    Connection file;
    file.Open(DataFiles::connectionText(older));
    Recordset rows = file.Query(QStringLiteral(
        "SELECT CountUp, CountUp AS Direction, 'True' AS Word FROM Triggers ORDER BY 1 DESC"));
    expectExactly({rows.Fields(0), rows.Fields(1), rows.Fields(2)},
                  {qint64(1), qint64(1), QStringLiteral("True")});
    rows.MoveNext();
    expectExactly({rows.Fields(0), rows.Fields(1)}, {qint64(0), qint64(0)});
    MemoryRecordset detached = MemoryRecordset::FromQuery(
        file, QStringLiteral("SELECT CountUp FROM Triggers WHERE TriggerDate = 1"));
    EXPECT_EQ(detached.Fields(0), QVariant(qint64(1)));
}

TEST_F(StatementsTest, FirstFormatFileTakesTheShortInsert) {
    const QString first = folder.file(QStringLiteral("first.hbd"));
    DataFiles::createFirstFormat(first);
    Connection old;
    old.Open(DataFiles::connectionText(first));
    old.Execute(QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime ) VALUES (?, ?)"),
                {9000, 600});
    Recordset row = old.Query(QStringLiteral("SELECT * FROM Triggers"));
    expectExactly({row.Fields(0), row.Fields(1)}, {qint64(9000), qint64(600)});
}

TEST_F(StatementsTest, ActivityPeriodIsFoundAndExtendedForItsInstanceOnly) {
    const QString insert = QStringLiteral(
        "INSERT INTO AppActivity (ActiveDate, ActiveFrom, ActiveTo, Machine, Interface, "
        "InterfaceOffset, SiteID) VALUES (?, ?, ?, ?, ?, ?, ?)");
    // Names that a statement built from text would break or turn into numbers.
    const QString machine = QStringLiteral("Ann's \"PC\"; DROP TABLE x");
    connection.Execute(insert, {8800, 600, 600, machine, QStringLiteral("3"), 0, 0});
    connection.Execute(insert,
                       {8800, 600, 605, QStringLiteral("007"), QStringLiteral("Manual"), 1, 0});

    const QString latest = QStringLiteral(
        "SELECT ActiveTo FROM AppActivity WHERE ActiveDate = ? AND Machine = ? AND Interface = ? "
        "AND InterfaceOffset = ? AND SiteID = ? ORDER BY ActiveTo DESC LIMIT 1");
    const QVariantList instance = {8800, machine, QStringLiteral("3"), 0, 0};
    expectExactly(onlyRow(latest, instance), {qint64(600)});

    const qint64 changed = connection.Execute(
        QStringLiteral(
            "UPDATE AppActivity SET ActiveTo = ? WHERE ActiveTo = ? AND ActiveDate = ? AND "
            "Machine = ? AND Interface = ? AND InterfaceOffset = ? AND SiteID = ?"),
        QVariantList{602, 600} + instance);
    EXPECT_EQ(changed, 1);
    expectExactly(onlyRow(latest, instance), {qint64(602)});
    expectExactly(onlyRow(QStringLiteral("SELECT Machine, Interface, ActiveTo FROM AppActivity "
                                         "WHERE InterfaceOffset = 1")),
                  {QStringLiteral("007"), QStringLiteral("Manual"), qint64(605)});
    EXPECT_TRUE(connection.Query(latest, {8801, machine, QStringLiteral("3"), 0, 0}).IsEOF());
}

TEST_F(StatementsTest, SiteRowIsAddedAndRenamedThroughATableRecordset) {
    {
        TableRecordset sites(connection, QStringLiteral("Sites"), QStringLiteral("SiteID = ?"),
                             {7});
        EXPECT_TRUE(sites.IsEOF());
        EXPECT_TRUE(sites.IsBOF());
        sites.AddNew();
        sites.SetField(QStringLiteral("SiteID"), QStringLiteral("7"));
        sites.SetField(QStringLiteral("SiteName"), QStringLiteral("North Door"));
        sites.SetField(QStringLiteral("MachineName"), QStringLiteral("till-2"));
        sites.SetField(QStringLiteral("Interface"), QStringLiteral("Manual"));
        sites.Update();
        // Read back as the file holds it: the decimal text became a number.
        EXPECT_EQ(sites.Fields(QStringLiteral("SiteID")).metaType().id(), QMetaType::LongLong);
        EXPECT_EQ(sites.Fields(QStringLiteral("SiteID")).toLongLong(), 7);
    }
    TableRecordset again(connection, QStringLiteral("Sites"), QStringLiteral("SiteID = ?"), {7});
    ASSERT_EQ(again.RecordCount(), 1);
    EXPECT_EQ(again.Fields(QStringLiteral("sitename")).toString(), QStringLiteral("North Door"));
    again.SetField(QStringLiteral("SiteName"), QStringLiteral("Depot"));
    EXPECT_EQ(again.Fields(QStringLiteral("SiteName")).toString(), QStringLiteral("Depot"));
    again.Update();
    expectExactly(
        onlyRow(QStringLiteral("SELECT SiteID, SiteName, MachineName, Interface FROM Sites")),
        {qint64(7), QStringLiteral("Depot"), QStringLiteral("till-2"), QStringLiteral("Manual")});
}

TEST_F(StatementsTest, TableRecordsetRefusesToWriteARowAnotherProgramDeleted) {
    connection.Execute(QStringLiteral("INSERT INTO Sites (SiteID, SiteName) VALUES (1, 'A')"));
    TableRecordset sites(connection, QStringLiteral("Sites"));
    Connection other;
    other.Open(DataFiles::connectionText(path));
    other.Execute(QStringLiteral("DELETE FROM Sites"));
    sites.SetField(QStringLiteral("SiteName"), QStringLiteral("B"));
    try {
        sites.Update();
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), dataErr::RowGone);
    }
    EXPECT_TRUE(connection.Query(QStringLiteral("SELECT * FROM Sites")).IsEOF());
}

TEST_F(StatementsTest, GroupedCountsUseWholeNumberDivision) {
    const QString insert =
        QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime) VALUES (?, ?)");
    for (const auto& [day, minute] : std::initializer_list<std::pair<int, int>>{
             {8766, 480}, {8766, 539}, {8766, 540}, {8773, 481}})
        connection.Execute(insert, {day, minute});
    // Slots of 60 minutes aligned to 8:00 and weekday codes, as the day report counts them.
    Recordset groups = connection.Query(
        QStringLiteral(
            "SELECT ((TriggerTime - ?1) / ?2) * ?2 + ?1 AS TimeOfDay, TriggerDate % 7 AS "
            "DayOfWeek, count(*) AS TotalCount FROM Triggers WHERE TriggerDate BETWEEN "
            "?3 AND ?4 GROUP BY 1, 2 ORDER BY 1, 2"),
        {480, 60, 8766, 8796});
    QList<QVariantList> read;
    for (; !groups.IsEOF(); groups.MoveNext())
        read << QVariantList{groups.Fields(QStringLiteral("TimeOfDay")),
                             groups.Fields(QStringLiteral("DayOfWeek")),
                             groups.Fields(QStringLiteral("TotalCount"))};
    ASSERT_EQ(read.size(), 2);
    expectExactly(read[0], {qint64(480), qint64(2), qint64(3)});
    expectExactly(read[1], {qint64(540), qint64(2), qint64(1)});
}

TEST_F(StatementsTest, DetachedRowsOutliveTheirConnection) {
    connection.Execute(
        QStringLiteral("INSERT INTO AppActivity (ActiveDate, ActiveFrom, ActiveTo) "
                       "VALUES (8800, 470, 500), (8801, 530, 700), (8802, 900, 910)"));
    MemoryRecordset activity = MemoryRecordset::FromQuery(
        connection,
        QStringLiteral("SELECT ActiveFrom, ActiveTo FROM AppActivity WHERE ActiveDate "
                       "BETWEEN ? AND ? ORDER BY ActiveFrom"),
        {8800, 8802});
    connection.Close();
    EXPECT_EQ(activity.RecordCount(), 3);
    activity.SetFilter(
        QStringLiteral("(ActiveFrom < 480 AND ActiveTo > 540) OR (ActiveFrom >= 480 "
                       "AND ActiveFrom <= 540) OR (ActiveTo >= 480 AND ActiveTo <= 540) "
                       "OR (ActiveFrom >= 480 AND ActiveTo <= 540) "));
    ASSERT_EQ(activity.RecordCount(), 2);
    EXPECT_EQ(activity.Fields(QStringLiteral("ActiveTo")), QVariant(qint64(500)));
    activity.MoveNext();
    EXPECT_EQ(activity.Fields(QStringLiteral("ActiveFrom")), QVariant(qint64(530)));
}
