#include "platform/serial/SerialLockFile.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

constexpr int TakeAttempts = 3;

constexpr pid_t Unreadable = -1;

// The process number a lock file names: nullopt when there is no file, 0 when its content
// names none, Unreadable when it cannot be read.
std::optional<pid_t> holderOf(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return errno == ENOENT ? std::nullopt : std::optional<pid_t>(Unreadable);
    char content[64];
    const ssize_t n = ::read(fd, content, sizeof content);
    ::close(fd);
    if (n <= 0)
        return 0;
    // Four bytes with a zero among them are the binary form; anything else is text whose
    // leading number names the holder (some programs write their name and user after it).
    if (n == sizeof(std::int32_t) && std::memchr(content, 0, std::size_t(n))) {
        std::int32_t binary = 0;
        std::memcpy(&binary, content, sizeof binary);
        return binary > 0 ? pid_t(binary) : 0;
    }
    const QByteArray text = QByteArray(content, n).trimmed();
    qsizetype digits = 0;
    while (digits < text.size() && digits < 10 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    bool ok = false;
    const long number = text.left(digits).toLong(&ok);
    if (ok && (digits == text.size() || text[digits] == ' ' || text[digits] == '\t' ||
               text[digits] == '\r' || text[digits] == '\n'))
        return number > 0 ? pid_t(number) : 0;
    return 0;
}

bool alive(pid_t pid) {
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// Writes a file naming this process and links it in as the lock; false with errno set.
bool create(const QByteArray& folder, const QByteArray& path) {
    const QByteArray temporary = folder + "/LTMP." + QByteArray::number(::getpid());
    ::unlink(temporary.constData());
    const int fd =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return false;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", int(::getpid()));
    const bool written = ::write(fd, text, size_t(length)) == length;
    ::close(fd);
    const bool linked = written && ::link(temporary.constData(), path.constData()) == 0;
    const int error = written ? errno : EIO;
    ::unlink(temporary.constData());
    errno = error;
    return linked;
}

} // namespace

QString SerialLockFile::folder() {
    const QString configured = qEnvironmentVariable("BRANTOCK_LOCK_DIR");
    return configured.isEmpty() ? QStringLiteral("/var/lock") : configured;
}

QString SerialLockFile::nameFor(const QString& devicePath) {
    const QFileInfo info(devicePath);
    const QString real = info.canonicalFilePath();
    const QString dev = QStringLiteral("/dev/");
    QString name = real.startsWith(dev) ? real.mid(dev.size()) : info.fileName();
    return QStringLiteral("LCK..") + name.replace(u'/', u'_');
}

SerialLockFile::~SerialLockFile() {
    release();
}

SerialLockFile::Outcome SerialLockFile::take(const QString& devicePath) {
    release();
    const QByteArray folderPath = QFile::encodeName(folder());
    path_ = folderPath + '/' + QFile::encodeName(nameFor(devicePath));
    for (int attempt = 0; attempt < TakeAttempts; ++attempt) {
        if (const std::optional<pid_t> holder = holderOf(path_)) {
            // A file we may not read is someone else's whose process we cannot judge.
            if (*holder == Unreadable || alive(*holder))
                return Outcome::HeldByOther;
            // Stale: its process is gone. One that cannot be removed is the folder refusing us.
            if (::unlink(path_.constData()) != 0 && errno != ENOENT)
                return Outcome::Unavailable;
        }
        if (create(folderPath, path_)) {
            held_ = true;
            return Outcome::Taken;
        }
        if (errno != EEXIST)
            return Outcome::Unavailable;
        // Another process made its lock in the meantime: look at it again.
    }
    return Outcome::HeldByOther;
}

void SerialLockFile::release() {
    if (!held_)
        return;
    held_ = false;
    if (holderOf(path_) == ::getpid())
        ::unlink(path_.constData());
}

} // namespace brantock::platform
