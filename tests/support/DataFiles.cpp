#include "DataFiles.h"

#include "data/DataFileCreator.h"

#include <QFile>

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

} // namespace brantock::testsupport
