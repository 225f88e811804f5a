#pragma once

#include <QString>

namespace brantock::counter {

// Marks this process as a running counter of this user for its lifetime, and tells whether
// another one was running already. The mark is a lock on a file in the user's runtime folder:
// the system drops it when the process ends, however it ends, so a crash leaves nothing that
// counts as running.
class InstanceLock {
public:
    // name: the lock file's name in the folder.
    explicit InstanceLock(const QString& name = QStringLiteral("brantock.lock"));
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when another process held the mark as this one took it.
    bool PreviousInstance() const { return previous_; }
    const QString& path() const { return path_; }

    // $XDG_RUNTIME_DIR, or <temp>/brantock-<uid> (made with mode 0700) when that is unset;
    // empty when neither can be trusted.
    static QString Folder(const QString& temp = QStringLiteral("/tmp"));

private:
    QString path_;
    int fd_ = -1;
    bool previous_ = false;
};

} // namespace brantock::counter
