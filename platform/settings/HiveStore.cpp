#include "platform/settings/HiveStore.h"

#include "platform/os/AtomicFile.h"
#include "platform/settings/RegistryApi.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

std::int32_t writeFailureCode(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOTDIR:
    case ENOENT:
        return ERROR_ACCESS_DENIED;
    default:
        return ERROR_REGISTRY_IO_FAILED;
    }
}

class LockGuard {
public:
    explicit LockGuard(int fd) : fd_(fd) {
        while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~LockGuard() {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    int fd_;
};

} // namespace

HiveStore::HiveStore(std::string filePath, std::string rootName)
    : filePath_(std::move(filePath)), rootName_(std::move(rootName)) {}

HiveStore::Stamp HiveStore::stamp() const {
    struct stat st {};
    Stamp s;
    if (::stat(filePath_.c_str(), &st) != 0)
        return s;
    s.exists = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = static_cast<unsigned long long>(st.st_size);
    s.seconds = st.st_mtim.tv_sec;
    s.nanoseconds = st.st_mtim.tv_nsec;
    return s;
}

HiveFile HiveStore::load(int& error) const {
    const std::string text = AtomicFile::read(filePath_, error);
    return HiveFile::parse(error == 0 ? text : std::string(), rootName_);
}

std::shared_ptr<const HiveFile> HiveStore::read() const {
    std::lock_guard lock(mutex_);
    const Stamp now = stamp();
    if (!cached_ || !(now == cachedStamp_)) {
        int error = 0;
        cached_ = std::make_shared<const HiveFile>(load(error));
        cachedStamp_ = now;
    }
    return cached_;
}

int HiveStore::openLock() const {
    const std::string folder = AtomicFile::folderOf(filePath_);
    if (const int rc = AtomicFile::makeFolders(folder); rc != 0) {
        errno = rc;
        return -1;
    }
    return ::open((filePath_ + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
}

int HiveStore::openWritableLock() const {
    const int fd = openLock();
    // A change replaces the file through a new one beside it, so the folder must take it.
    if (fd >= 0 &&
        ::access(AtomicFile::folderOf(AtomicFile::resolved(filePath_)).c_str(), W_OK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

std::int32_t HiveStore::checkFile() const {
    struct stat st {};
    if (::stat(filePath_.c_str(), &st) != 0)
        return errno == ENOENT ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
    // Replacing a hive this process cannot read would drop its values; one it may not write
    // is not its to replace, although the folder would take the new file.
    if (!S_ISREG(st.st_mode) ||
        ::faccessat(AT_FDCWD, filePath_.c_str(), R_OK | W_OK, AT_EACCESS) != 0)
        return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

std::int32_t HiveStore::checkWritable() const {
    const int fd = openWritableLock();
    if (fd < 0)
        return ERROR_ACCESS_DENIED;
    ::close(fd);
    return checkFile();
}

std::int32_t HiveStore::modify(const std::function<std::int32_t(HiveFile&, bool&)>& change) {
    const int fd = openWritableLock();
    if (fd < 0)
        return ERROR_ACCESS_DENIED;
    LockGuard guard(fd);
    // Every writer holds the lock while its temporary file exists, so any found now is left
    // over from one that was killed.
    AtomicFile::removeTemporaries(filePath_);
    if (const std::int32_t rc = checkFile(); rc != ERROR_SUCCESS)
        return rc;

    int error = 0;
    HiveFile hive = load(error);
    if (error != 0 && error != ENOENT)
        return ERROR_ACCESS_DENIED; // not read whole: a rewrite would lose the rest
    bool changed = false;
    const std::int32_t rc = change(hive, changed);
    if (rc != ERROR_SUCCESS || !changed)
        return rc;
    if (const int error = AtomicFile::write(filePath_, hive.serialize(), 0666); error != 0)
        return writeFailureCode(error);
    return ERROR_SUCCESS;
}

} // namespace brantock::platform
