#include "counter/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brantock::counter {

QString InstanceLock::Folder(const QString& temp) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.startsWith(u'/') && QFileInfo(runtime).isDir())
        return runtime;
    const QString folder = temp + QStringLiteral("/brantock-%1").arg(::getuid());
    const QByteArray native = QFile::encodeName(folder);
    ::mkdir(native.constData(), 0700);
    // Only a folder of this user's own, closed to others, is trusted.
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0)
        return QString();
    return folder;
}

InstanceLock::InstanceLock(const QString& name) {
    const QString folder = Folder();
    if (folder.isEmpty())
        return;
    path_ = folder + u'/' + name;
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                 0600);
    if (fd_ < 0)
        return;
    // Every running counter holds a shared lock; only a process alone gets the exclusive one.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0)
        previous_ = (errno == EWOULDBLOCK);
    while (::flock(fd_, LOCK_SH) != 0 && errno == EINTR) {
    }
}

InstanceLock::~InstanceLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace brantock::counter
