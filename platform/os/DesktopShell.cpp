#include "platform/os/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

namespace brantock::platform {

namespace {
constexpr int Started = 42;
constexpr int FileNotFound = 2;
constexpr int PathNotFound = 3;
constexpr int AccessDenied = 5;
constexpr int NoAssociation = 31;

bool looksLikeAddress(const QString& file) {
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return scheme.match(file).hasMatch() && !file.startsWith(u'/');
}
} // namespace

int DesktopShell::ShellExecute(QWidget*, const QString& verb, const QString& file,
                               const QString& parameters, const QString& directory, int) {
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return NoAssociation;
    if (file.isEmpty())
        return FileNotFound;
    if (looksLikeAddress(file))
        return QDesktopServices::openUrl(QUrl(file)) ? Started : NoAssociation;
    // A web address written without its scheme, as people write them.
    if (file.startsWith(QLatin1String("www."), Qt::CaseInsensitive) &&
        !QFileInfo::exists(
            QDir(directory.isEmpty() ? QDir::currentPath() : directory).filePath(file)))
        return QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + file)) ? Started
                                                                                 : NoAssociation;

    const QString folder = directory.isEmpty() ? QDir::currentPath() : directory;
    if (!QFileInfo(folder).isDir())
        return PathNotFound;
    QFileInfo target(QDir(folder), file);
    // A bare program name not in the folder is looked for on the program search path.
    if (!target.exists() && !file.contains(u'/')) {
        const QString found = QStandardPaths::findExecutable(file);
        if (!found.isEmpty())
            target = QFileInfo(found);
    }
    if (!target.exists())
        return target.dir().exists() ? FileNotFound : PathNotFound;
    if (target.isDir() || !target.isExecutable())
        return QDesktopServices::openUrl(QUrl::fromLocalFile(target.absoluteFilePath()))
                   ? Started
                   : NoAssociation;
    QStringList arguments;
    if (!parameters.isEmpty())
        arguments << parameters;
    qint64 pid = 0;
    if (!QProcess::startDetached(target.absoluteFilePath(), arguments, folder, &pid))
        return AccessDenied;
    return Started;
}

} // namespace brantock::platform
