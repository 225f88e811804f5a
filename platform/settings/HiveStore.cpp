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

HiveStore::Digest HiveStore::Digest::of(std::string_view bytes) {
    return {bytes.size(), std::hash<std::string_view>{}(bytes)};
}

std::shared_ptr<HiveFile> HiveStore::current(int& error) const {
    const std::string text = AtomicFile::read(filePath_, error);
    if (error != 0 && error != ENOENT)
        return std::make_shared<HiveFile>(rootName_);
    const Digest digest = Digest::of(text);
    if (!cached_ || !(digest == cachedDigest_)) {
        cached_ = std::make_shared<HiveFile>(HiveFile::parse(text, rootName_));
        cachedDigest_ = digest;
    }
    return cached_;
}

std::shared_ptr<const HiveFile> HiveStore::read() const {
    std::lock_guard lock(mutex_);
    int error = 0;
    return current(error);
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

    std::lock_guard cacheLock(mutex_);
    int error = 0;
    std::shared_ptr<HiveFile> hive = current(error);
    if (error != 0 && error != ENOENT)
        return ERROR_ACCESS_DENIED; // not read whole: a rewrite would lose the rest
    // Copying a large hive costs as much as parsing it, so the change is made in place unless
    // a reader still holds the parsed hive; until the file holds the change, the store then
    // has no parsed hive. A change that asks for no rewrite has left the hive as it was.
    if (hive.use_count() > 2)
        hive = std::make_shared<HiveFile>(*hive);
    const bool inPlace = hive == cached_;
    if (inPlace)
        cached_.reset();
    bool changed = false;
    const std::int32_t rc = change(*hive, changed);
    if (!changed && inPlace)
        cached_ = hive;
    if (rc != ERROR_SUCCESS || !changed)
        return rc;
    const std::string text = hive->serialize();
    if (const int error = AtomicFile::write(filePath_, text, 0666); error != 0)
        return writeFailureCode(error);
    // Under the lock no other writer can have replaced the file since: it holds these bytes.
    cached_ = std::move(hive);
    cachedDigest_ = Digest::of(text);
    return ERROR_SUCCESS;
}

} // namespace brantock::platform
