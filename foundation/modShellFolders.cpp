#include "foundation/modShellFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace brantock {

QString SpecialFolderPath(std::int32_t folderId) {
    QString folder;
    switch (folderId & 0xFF) {
    case csidl::Personal:
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case csidl::Desktop:
    case csidl::DesktopDirectory:
        folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        break;
    case csidl::AppData:
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        break;
    case csidl::LocalAppData:
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    default:
        break;
    }
    return folder;
}

QString GetSpecialFolder(std::int32_t folderId, bool create) {
    const QString folder = SpecialFolderPath(folderId);
    if (folder.isEmpty())
        return QString();
    if (create || (folderId & csidl::FlagCreate))
        QDir().mkpath(folder);
    return QFileInfo(folder).isDir() ? folder : QString();
}

} // namespace brantock
