#include "tests/support/DataFiles.h"

#include "platform/data/Connection.h"
#include "platform/data/DataFileCreator.h"

#include <QFile>
#include <QVariantList>

namespace brantock::testsupport {

QString DataFiles::programFolder() {
    return QStringLiteral(BRANTOCK_PROGRAM_DIR);
}

QString DataFiles::templatePath() {
    return programFolder() + QStringLiteral("/empty.hbt");
}

QString DataFiles::connectionText(const QString& path, const QString& password) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + path +
           QStringLiteral("; Jet OLEDB:Database Password = ") + password;
}

bool DataFiles::copyTemplate(const QString& path) {
    QFile::remove(path);
    return QFile::copy(templatePath(), path) &&
           QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
}

void DataFiles::createFirstFormat(const QString& path, const QString& password) {
    platform::DataFileCreator::create(
        path,
        QStringLiteral(
            "CREATE TABLE Triggers (TriggerDate INTEGER, TriggerTime INTEGER);"
            "CREATE TABLE AppActivity (ActiveDate INTEGER, ActiveFrom INTEGER,"
            " ActiveTo INTEGER);"
            "CREATE TABLE BrantockFile (Salt BLOB NOT NULL, PasswordHash BLOB NOT NULL);"),
        password);
}

void DataFiles::createCrashed(const QString& path, int rowCount) {
    const QString live = path + QStringLiteral(".live");
    copyTemplate(live);
    platform::Connection connection;
    connection.Open(connectionText(live));
    connection.Execute(QStringLiteral("BEGIN"));
    for (int i = 0; i < rowCount; ++i)
        connection.Execute(QStringLiteral("INSERT INTO Triggers (TriggerDate, TriggerTime, "
                                          "SensorID, SiteID, CountUp) VALUES (?, ?, 1, 0, 1)"),
                           {9000 + i / 1440, i % 1440});
    connection.Execute(QStringLiteral("COMMIT"));
    // A small cache makes the delete write its pages into the file before it commits, so the
    // journal is synced and hot.
    connection.Execute(QStringLiteral("PRAGMA cache_size = 10"));
    connection.Execute(QStringLiteral("BEGIN"));
    connection.Execute(QStringLiteral("DELETE FROM Triggers"));
    for (const QString& side : {QString(), QStringLiteral("-journal")}) {
        QFile::remove(path + side);
        QFile::copy(live + side, path + side);
    }
    connection.Execute(QStringLiteral("ROLLBACK"));
    connection.Close();
    QFile::remove(live);
    QFile::remove(live + QStringLiteral("-journal"));
}

} // namespace brantock::testsupport
