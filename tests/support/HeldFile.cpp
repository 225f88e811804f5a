#include "tests/support/HeldFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brantock::testsupport {

HeldFile::HeldFile(const QString& path, Lock lock) {
    const QByteArray name = QFile::encodeName(path);
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0)
        return;
    if (::pipe(release) != 0) {
        ::close(ready[0]);
        ::close(ready[1]);
        return;
    }
    child_ = ::fork();
    if (child_ == 0) {
        // Only what is safe between fork and exit.
        ::close(ready[0]);
        ::close(release[1]);
        const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY);
        bool locked = false;
        if (fd >= 0 && lock == Lock::Record) {
            struct flock range {};
            range.l_type = F_WRLCK;
            range.l_whence = SEEK_SET;
            locked = ::fcntl(fd, F_SETLK, &range) == 0;
        } else if (fd >= 0) {
            locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        }
        const char answer = locked ? 'y' : 'n';
        [[maybe_unused]] ssize_t w = ::write(ready[1], &answer, 1);
        char any;
        [[maybe_unused]] ssize_t r = ::read(release[0], &any, 1);
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char answer = 'n';
    held_ = child_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'y';
    ::close(ready[0]);
}

HeldFile::~HeldFile() {
    if (release_ >= 0)
        ::close(release_);
    if (child_ > 0)
        ::waitpid(child_, nullptr, 0);
}

} // namespace brantock::testsupport
