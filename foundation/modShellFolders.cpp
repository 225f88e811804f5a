#include "foundation/modShellFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace brantock {

QString GetSpecialFolder(std::int32_t folderId, bool create) {
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
        return QString();
    }
    if (folder.isEmpty())
        return QString();
    if (create || (folderId & csidl::FlagCreate))
        QDir().mkpath(folder);
    return QFileInfo(folder).isDir() ? folder : QString();
}

} // namespace brantock
