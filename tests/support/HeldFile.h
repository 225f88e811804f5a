#pragma once

#include <QString>

#include <sys/types.h>

namespace brantock::testsupport {

// Another process that has a file (or a device) open with a lock on it, as an office program
// keeps the document it shows, until this object goes.
class HeldFile {
public:
    enum class Lock { Record, Whole }; // an fcntl write lock, or an exclusive flock

    HeldFile(const QString& path, Lock lock);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // True once the other process holds its lock.
    bool held() const { return held_; }

private:
    pid_t child_ = -1;
    int release_ = -1;
    bool held_ = false;
};

} // namespace brantock::testsupport
