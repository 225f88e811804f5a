#include "tests/reports/support/TriggerFile.h"

#include "tests/support/DataFiles.h"

#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QFile>
#include <QStringList>

namespace brantock::reports::testsupport {

using brantock::testsupport::DataFiles;

TriggerFile::TriggerFile(Format format)
    : folderPath_(folder_.path()), path_(folder_.file(QStringLiteral("data.hbd"))),
      format_(format) {
    if (format == Format::First)
        DataFiles::createFirstFormat(path_);
    else
        DataFiles::copyTemplate(path_);
    CommandLineDataPath = path_;
    ResetData();
}

void TriggerFile::execute(const QString& sql, const QVariantList& values) const {
    platform::Connection connection;
    connection.Open(DataFiles::connectionText(path_));
    connection.Execute(sql, values);
}

int TriggerFile::spoil(Fault fault) const {
    QFile::remove(path_);
    if (fault == Fault::Missing)
        return 3701;
    QFile text(path_);
    if (text.open(QIODevice::WriteOnly))
        text.write("Time,Count\n8:00,3\n");
    return 3703;
}

QString TriggerFile::plan(const QString& sql, const QVariantList& values) const {
    platform::Connection connection;
    connection.Open(DataFiles::connectionText(path_));
    QStringList steps;
    for (platform::Recordset rows =
             connection.Query(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, values);
         !rows.IsEOF(); rows.MoveNext())
        steps << rows.Fields(QStringLiteral("detail")).toString();
    return steps.join(QStringLiteral("; "));
}

void TriggerFile::add(const std::vector<Trigger>& triggers) const {
    platform::Connection connection;
    connection.Open(DataFiles::connectionText(path_));
    connection.Execute(QStringLiteral("BEGIN"));
    for (const Trigger& t : triggers) {
        if (format_ == Format::First)
            connection.Execute(
                QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime) VALUES (?, ?)"),
                {t.date, t.minute});
        else
            connection.Execute(QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, "
                                              "SensorID, SiteID, CountUp) VALUES (?, ?, ?, 1, ?)"),
                               {t.date, t.minute, t.countUp ? 1 : 2, t.countUp});
    }
    connection.Execute(QStringLiteral("COMMIT"));
}

void TriggerFile::add(const std::vector<Activity>& periods) const {
    platform::Connection connection;
    connection.Open(DataFiles::connectionText(path_));
    for (const Activity& a : periods) {
        if (format_ == Format::First)
            connection.Execute(QStringLiteral("INSERT INTO AppActivity (ActiveDate, ActiveFrom, "
                                              "ActiveTo) VALUES (?, ?, ?)"),
                               {a.date, a.from, a.to});
        else
            connection.Execute(
                QStringLiteral("INSERT INTO AppActivity (ActiveDate, ActiveFrom, ActiveTo, "
                               "Machine, Interface, InterfaceOffset, SiteID) "
                               "VALUES (?, ?, ?, ?, '1', 0, 1)"),
                {a.date, a.from, a.to, a.machine});
    }
}

} // namespace brantock::reports::testsupport
