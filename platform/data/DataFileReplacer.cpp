#include "platform/data/DataFileReplacer.h"

#include "platform/data/DataError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sqlite3.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace brantock::platform {

namespace {

// SQLite's lock bytes: the pending byte, the reserved byte and the shared range after them.
constexpr off_t LockStart = 0x40000000;
constexpr off_t LockLength = 2 + 510;

RuntimeError cannotWrite(const QString& path, const QString& reason) {
    return DataError::make(
        dataErr::CannotOpen,
        QStringLiteral("Cannot write the data file '%1' (%2).").arg(path, reason));
}

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Holds every lock a connection to the old file could take, so that no program is inside a
// transaction on it while it is replaced. Open-file-description locks also meet the locks of
// connections in this same process.
class OldFileLock {
public:
    OldFileLock(const QString& path, int waitMs) {
        const QByteArray name = QFile::encodeName(path);
        short kind = F_WRLCK;
        fd_ = ::open(name.constData(), O_RDWR | O_CLOEXEC);
        if (fd_ < 0 && (errno == EACCES || errno == EROFS)) {
            // Nobody can be writing a file that cannot be written: keeping readers out is enough.
            fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
            kind = F_RDLCK;
        }
        if (fd_ < 0) {
            if (errno == ENOENT)
                return;
            throw cannotWrite(path, errnoText(errno));
        }
        struct flock lock {};
        lock.l_type = kind;
        lock.l_whence = SEEK_SET;
        lock.l_start = LockStart;
        lock.l_len = LockLength;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
        while (::fcntl(fd_, F_OFD_SETLK, &lock) != 0) {
            const int error = errno;
            if (error != EAGAIN && error != EACCES && error != EINTR) {
                ::close(fd_);
                throw cannotWrite(path, errnoText(error));
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd_);
                throw DataError::fromSqlite(SQLITE_BUSY, nullptr, path);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    ~OldFileLock() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OldFileLock(const OldFileLock&) = delete;
    OldFileLock& operator=(const OldFileLock&) = delete;

private:
    int fd_ = -1;
};

void syncFolder(const QString& path) {
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

void DataFileReplacer::replace(const QString& givenPath, const QByteArray& content,
                               int lockWaitMs) {
    // Through a link the file replaced is the one it leads to, and SQLite names that file's
    // journal after it: the lock, the side files and the rename all follow the link.
    const QFileInfo given(givenPath);
    const QString path =
        given.isSymLink() && given.exists() ? given.canonicalFilePath() : givenPath;
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(content) != content.size())
        throw cannotWrite(path, target.errorString());
    const OldFileLock lock(path, lockWaitMs);
    for (const char* side : {"-journal", "-wal", "-shm"}) {
        const QString name = path + QLatin1String(side);
        if (::unlink(QFile::encodeName(name).constData()) != 0 && errno != ENOENT)
            throw cannotWrite(
                path, QStringLiteral("%1 cannot be removed: %2").arg(name, errnoText(errno)));
    }
    if (!target.commit())
        throw cannotWrite(path, target.errorString());
    syncFolder(path);
}

void DataFileReplacer::copy(const QString& from, const QString& to, int lockWaitMs) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        throw RuntimeError(err::FileNotFound,
                           QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
    const QByteArray content = source.readAll();
    if (source.error() != QFileDevice::NoError)
        throw RuntimeError(err::FileNotFound,
                           QStringLiteral("Cannot read %1: %2").arg(from, source.errorString()));
    replace(to, content, lockWaitMs);
}

} // namespace brantock::platform
