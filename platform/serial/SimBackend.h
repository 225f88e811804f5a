#pragma once

#include "platform/serial/DetachedWorker.h"
#include "platform/serial/SerialBackend.h"

#include <QString>

#include <chrono>
#include <memory>

namespace brantock::platform {

// The simulated port: a client of the peer's Unix socket (see SimProtocol). A reader thread
// takes the peer's levels and bytes as they come, so a busy window loses nothing.
class SimBackend : public SerialBackend {
public:
    // The longest an open may take, connecting and the peer's first answers included: the
    // port scan opens up to 16 ports in a row on the window thread.
    static constexpr std::chrono::milliseconds OpenDeadline{1000};

    explicit SimBackend(QString socketPath);
    ~SimBackend() override;

    void open(const PortConfig& config, std::shared_ptr<ChangeQueue> changes) override;
    void close() override;
    void applySettings(const SerialSettings& settings) override;
    void setOutputLines(bool dtr, bool rts) override;
    ModemLines inputLines() override;
    void write(const QByteArray& bytes) override;
    QByteArray readAll() override;

private:
    struct Link;
    // Sends the output lines; whether the peer answered by then.
    bool sendOutputLines(bool dtr, bool rts, std::chrono::steady_clock::time_point until);
    static void readPeer(const std::shared_ptr<Link>& link, const std::atomic<bool>& stop,
                         QByteArray pending);

    QString socketPath_;
    std::shared_ptr<Link> link_;
    DetachedWorker reader_;
};

} // namespace brantock::platform
