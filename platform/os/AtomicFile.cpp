#include "platform/os/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

int writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        content.remove_prefix(std::size_t(n));
    }
    return 0;
}

int syncFolder(const std::string& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int rc = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot flush a folder; the rename itself has happened.
    return (rc == EINVAL || rc == EROFS) ? 0 : rc;
}

constexpr std::string_view TemporaryMark = ".tmp-";
constexpr std::size_t TemporaryLetters = 6;
constexpr std::string_view Letters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string baseName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates "<path>.tmp-XXXXXX" with mode as the umask leaves it; -1 and errno on failure.
int createTemporary(const std::string& path, unsigned mode, std::string& temp) {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = path + std::string(TemporaryMark);
        for (std::size_t i = 0; i < TemporaryLetters; ++i)
            temp += Letters[pick(random)];
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool isTemporaryOf(const std::string& path, std::string_view name) {
    const std::string prefix = baseName(path) + std::string(TemporaryMark);
    if (name.size() != prefix.size() + TemporaryLetters || name.substr(0, prefix.size()) != prefix)
        return false;
    name.remove_prefix(prefix.size());
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return Letters.find(c) != std::string_view::npos; });
}

} // namespace

std::string AtomicFile::resolved(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return path;
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string target(real);
    ::free(real);
    return target;
}

void AtomicFile::removeTemporaries(const std::string& givenPath) {
    const std::string path = resolved(givenPath);
    const std::string folder = folderOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir))
        if (isTemporaryOf(path, entry->d_name))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    ::closedir(dir);
}

std::string AtomicFile::folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int AtomicFile::makeFolders(const std::string& path) {
    if (path.empty())
        return 0;
    std::size_t pos = 0;
    while (pos != std::string::npos) {
        pos = path.find('/', pos + 1);
        const std::string prefix = path.substr(0, pos);
        if (prefix.empty())
            continue;
        if (::mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST)
            return errno;
        struct stat st {};
        if (::stat(prefix.c_str(), &st) != 0)
            return errno;
        if (!S_ISDIR(st.st_mode))
            return ENOTDIR;
    }
    return 0;
}

int AtomicFile::write(const std::string& givenPath, std::string_view content, unsigned mode) {
    // Through a link the file it leads to is replaced, and the link stays.
    const std::string path = resolved(givenPath);
    const std::string folder = folderOf(path);
    std::string temp;
    const int fd = createTemporary(path, mode, temp);
    if (fd < 0)
        return errno;
    int rc = 0;
    // A replaced file keeps its mode, and its owner where this process may give it (root
    // changing a user's file); a new one has what the umask left of mode.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0) {
        if (::fchmod(fd, existing.st_mode & 07777) != 0)
            rc = errno;
        else if (::geteuid() == 0 && (existing.st_uid != 0 || existing.st_gid != 0))
            (void)::fchown(fd, existing.st_uid, existing.st_gid);
    }
    if (rc == 0)
        rc = writeAll(fd, content);
    if (rc == 0 && ::fsync(fd) != 0)
        rc = errno;
    if (::close(fd) != 0 && rc == 0)
        rc = errno;
    if (rc == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        rc = errno;
    if (rc != 0) {
        ::unlink(temp.c_str());
        return rc;
    }
    return syncFolder(folder);
}

std::string AtomicFile::read(const std::string& path, int& error) {
    error = 0;
    // Not blocking on the open, and refusing what is not a file: a pipe or a device in the
    // file's place would wait for ever or never end.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = errno;
        return {};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return {};
    }
    std::string content;
    char buf[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        if (n == 0)
            break;
        content.append(buf, std::size_t(n));
    }
    ::close(fd);
    return content;
}

} // namespace brantock::platform
