#pragma once

#include "platform/serial/ModemWaiter.h"
#include "platform/serial/SerialBackend.h"
#include "platform/serial/SerialLockFile.h"

#include <QString>

namespace brantock::platform {

// A real serial device through termios, held exclusively: the lock file serial programs keep
// (see SerialLockFile), TIOCEXCL and an flock on the descriptor, which also keeps out
// processes with the rights to pass TIOCEXCL.
class TtyBackend : public SerialBackend {
public:
    explicit TtyBackend(QString devicePath);
    ~TtyBackend() override;

    void open(const PortConfig& config, std::shared_ptr<ChangeQueue> changes) override;
    void close() override;
    void applySettings(const SerialSettings& settings) override;
    void setOutputLines(bool dtr, bool rts) override;
    ModemLines inputLines() override;
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;

private:
    // A failure that means the device went away (unplugged, hung up).
    void checkGone(int error);

    QString path_;
    int fd_ = -1;
    bool hasModemLines_ = false;
    std::shared_ptr<ChangeQueue> changes_;
    SerialLockFile lockFile_;
    ModemWaiter waiter_;
};

} // namespace brantock::platform
