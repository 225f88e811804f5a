#pragma once

#include <QByteArray>
#include <QString>

namespace brantock::platform {

// The lock file serial programs keep for a device: `LCK..<name>` in the lock folder, holding
// the holder's process number as ten characters and a newline. Files in the 4-byte binary
// form are read too; one whose process is gone is stale and taken over.
class SerialLockFile {
public:
    enum class Outcome {
        Taken,
        HeldByOther,
        // The folder is missing or cannot be written: the device is used without a lock file.
        Unavailable,
    };

    // $BRANTOCK_LOCK_DIR when set, /var/lock otherwise.
    static QString folder();
    // "LCK.." and the device's real path under /dev, with each "/" as "_": a link such as
    // /dev/serial/by-id/... names the device it points to, as other programs lock it.
    static QString nameFor(const QString& devicePath);

    SerialLockFile() = default;
    ~SerialLockFile();
    SerialLockFile(const SerialLockFile&) = delete;
    SerialLockFile& operator=(const SerialLockFile&) = delete;

    Outcome take(const QString& devicePath);
    // Removes the file when it still names this process.
    void release();

private:
    QByteArray path_;
    bool held_ = false;
};

} // namespace brantock::platform
