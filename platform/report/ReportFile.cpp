#include "platform/report/ReportFile.h"

#include "platform/os/AtomicFile.h"
#include "platform/report/ReportError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

QString reason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

bool ReportFile::isHeldOpen(const QString& fileName) {
    // LibreOffice keeps no lock on a document it shows; it marks it with a file beside it.
    const QFileInfo file(fileName);
    if (file.exists() &&
        QFileInfo::exists(file.dir().filePath(QStringLiteral(".~lock.") + file.fileName() + u'#')))
        return true;
    const QByteArray name = QFile::encodeName(fileName);
    // Not blocking on a pipe in the file's place; a file that cannot be opened holds no lock
    // this process could meet.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    // An open-file-description probe also meets the record locks of this very process.
    bool held = ::fcntl(fd, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    if (!held) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::flock(fd, LOCK_UN);
        else
            held = errno == EWOULDBLOCK;
    }
    ::close(fd);
    return held;
}

void ReportFile::write(const QString& fileName, const QByteArray& bytes, const QString& what) {
    if (fileName.isEmpty())
        throw ReportError::make(err::BadFileName,
                                QStringLiteral("The %1 has no file name.").arg(what));
    if (isHeldOpen(fileName))
        throw ReportError::make(
            err::PermissionDenied,
            QStringLiteral("Cannot write the %1 '%2': another program has it open.")
                .arg(what, fileName));
    const QByteArray name = QFile::encodeName(fileName);
    // Renaming over a read-only file would succeed; its owner marked it not to be changed.
    if (::access(name.constData(), F_OK) == 0 && ::access(name.constData(), W_OK) != 0)
        throw ReportError::make(
            err::PathFileAccessError,
            QStringLiteral("Cannot write the %1 '%2' (%3).").arg(what, fileName, reason(errno)));
    const int error =
        AtomicFile::write(name.toStdString(), std::string_view(bytes.constData(), bytes.size()));
    if (error != 0)
        throw ReportError::make(
            err::PathFileAccessError,
            QStringLiteral("Cannot write the %1 '%2' (%3).").arg(what, fileName, reason(error)));
}

} // namespace brantock::platform
