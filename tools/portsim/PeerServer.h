#pragma once

#include "platform/serial/ModemLines.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace brantock::portsim {

// The far end of a simulated port: serves the Unix socket a `sim:` device names, holds the
// DSR, CTS and DCD levels the port reads, sees the DTR and RTS the port sets, and echoes
// what it receives or stays silent. One port at a time; a second one is turned away busy.
class PeerServer {
public:
    enum class Line { Dsr, Cts, Cd };
    using Clock = std::chrono::steady_clock;

    // Takes over a socket file left by a peer that is gone; fails on one still served.
    explicit PeerServer(std::string socketPath);
    ~PeerServer();
    PeerServer(const PeerServer&) = delete;
    PeerServer& operator=(const PeerServer&) = delete;

    const std::string& socketPath() const { return socketPath_; }

    void setEcho(bool on);
    // With the loop on, DCD follows RTS and CTS follows DTR, as on an interface wired so.
    void setLoop(bool on);

    bool waitClient(std::chrono::milliseconds timeout);
    bool waitNoClient(std::chrono::milliseconds timeout);
    bool hasClient() const;

    // Sets one input and tells the port; returns the moment just before it was sent.
    Clock::time_point setLevel(Line line, bool level);
    void setLevels(const platform::ModemLines& levels);
    // count pulses, each inverting the line for half the period and restoring it; with a
    // period of 0 the changes follow each other as fast as they can be sent.
    void pulse(Line line, int count, std::chrono::microseconds period);
    // Bytes for the port to receive.
    void send(const QByteArray& bytes);
    // Hangs up on the port, as an unplugged device does.
    void dropClient();

    platform::ModemLines levels() const;
    bool dtr() const;
    bool rts() const;
    // What the port sent since the last call.
    QByteArray takeReceived();

private:
    void serve();
    void accept();
    // Reads what the port sent, once or until nothing more is waiting.
    void readClient(bool untilEmpty);
    void handle(const QByteArray& line);
    void sendLocked(const QByteArray& bytes);

    std::string socketPath_;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    std::thread thread_;

    mutable std::mutex mutex_;
    std::condition_variable clientChanged_;
    int clientFd_ = -1;
    QByteArray pending_;
    platform::ModemLines levels_;
    bool dtr_ = false;
    bool rts_ = false;
    bool echo_ = true;
    bool loop_ = false;
    QByteArray received_;
};

} // namespace brantock::portsim
