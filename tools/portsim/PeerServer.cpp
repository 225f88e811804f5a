#include "tools/portsim/PeerServer.h"

#include "platform/serial/SimProtocol.h"
#include "platform/serial/UnixSocket.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>
#include <vector>

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace brantock::portsim {

using platform::SimProtocol;

namespace {

sockaddr_un addressOf(const std::string& path) {
    const std::optional<sockaddr_un> address =
        platform::UnixSocket::address(QByteArray::fromStdString(path));
    if (!address)
        throw std::runtime_error("socket path is empty or too long: " + path);
    return *address;
}

bool served(const sockaddr_un& address) {
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool answered =
        ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return answered;
}

// A failed send is seen by the serving thread as the port's hang-up.
void sendAll(int fd, const QByteArray& bytes) {
    platform::UnixSocket::sendAll(fd, bytes);
}

bool& levelOf(platform::ModemLines& levels, PeerServer::Line line) {
    switch (line) {
    case PeerServer::Line::Dsr:
        return levels.dsr;
    case PeerServer::Line::Cts:
        return levels.cts;
    default:
        return levels.cd;
    }
}

void sleepUntil(PeerServer::Clock::time_point when) {
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch());
    timespec at{time_t(ns.count() / 1'000'000'000), long(ns.count() % 1'000'000'000)};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace

PeerServer::PeerServer(std::string socketPath) : socketPath_(std::move(socketPath)) {
    const sockaddr_un address = addressOf(socketPath_);
    struct stat info {};
    if (::lstat(socketPath_.c_str(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode))
            throw std::runtime_error("not a socket: " + socketPath_);
        if (served(address))
            throw std::runtime_error("another peer serves " + socketPath_);
        ::unlink(socketPath_.c_str());
    }
    listenFd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0 ||
        ::bind(listenFd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 4) != 0) {
        const std::string reason = std::strerror(errno);
        if (listenFd_ >= 0)
            ::close(listenFd_);
        throw std::runtime_error("cannot serve " + socketPath_ + ": " + reason);
    }
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { serve(); });
}

PeerServer::~PeerServer() {
    const std::uint64_t one = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeFd_, &one, sizeof one);
    thread_.join();
    if (clientFd_ >= 0)
        ::close(clientFd_);
    ::close(listenFd_);
    ::close(wakeFd_);
    ::unlink(socketPath_.c_str());
}

void PeerServer::serve() {
    for (;;) {
        int client = -1;
        {
            std::lock_guard lock(mutex_);
            client = clientFd_;
        }
        pollfd fds[3] = {{wakeFd_, POLLIN, 0}, {listenFd_, POLLIN, 0}, {client, POLLIN, 0}};
        if (::poll(fds, client >= 0 ? 3 : 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents)
            return;
        if (fds[1].revents)
            accept();
        if (client >= 0 && fds[2].revents)
            readClient(false);
    }
}

void PeerServer::accept() {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    // A port that closes and opens again at once connects before its hang-up has been read.
    readClient(true);
    std::lock_guard lock(mutex_);
    if (clientFd_ >= 0) {
        sendAll(fd, SimProtocol::busyLine());
        ::close(fd);
        return;
    }
    clientFd_ = fd;
    pending_.clear();
    sendLocked(SimProtocol::levelsLine(levels_));
    clientChanged_.notify_all();
}

void PeerServer::readClient(bool untilEmpty) {
    for (;;) {
        char chunk[4096];
        std::optional<std::vector<QByteArray>> lines;
        {
            std::lock_guard lock(mutex_);
            if (clientFd_ < 0)
                return;
            const ssize_t n = ::recv(clientFd_, chunk, sizeof chunk, MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n > 0) {
                pending_.append(chunk, n);
                lines = SimProtocol::takeLines(pending_);
            }
            if (!lines) {
                // Gone, or breaking the protocol; a port that went away leaves its outputs
                // dropped.
                ::close(clientFd_);
                clientFd_ = -1;
                dtr_ = rts_ = false;
                clientChanged_.notify_all();
                return;
            }
        }
        for (const QByteArray& line : *lines)
            handle(line);
        if (!untilEmpty)
            return;
    }
}

void PeerServer::handle(const QByteArray& line) {
    const std::optional<SimProtocol::Message> m = SimProtocol::parse(line);
    if (!m)
        return;
    std::lock_guard lock(mutex_);
    if (m->kind == 'O') {
        dtr_ = m->dtr;
        rts_ = m->rts;
        if (loop_) {
            platform::ModemLines looped = levels_;
            looped.cd = rts_;
            looped.cts = dtr_;
            if (!(looped == levels_)) {
                levels_ = looped;
                sendLocked(SimProtocol::levelsLine(levels_));
            }
        }
        sendLocked(SimProtocol::ackLine());
    } else if (m->kind == 'D') {
        received_ += m->bytes;
        if (echo_)
            sendLocked(SimProtocol::dataLine(m->bytes));
    }
}

void PeerServer::sendLocked(const QByteArray& bytes) {
    if (clientFd_ >= 0)
        sendAll(clientFd_, bytes);
}

void PeerServer::setEcho(bool on) {
    std::lock_guard lock(mutex_);
    echo_ = on;
}

void PeerServer::setLoop(bool on) {
    std::lock_guard lock(mutex_);
    loop_ = on;
}

bool PeerServer::waitClient(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return clientChanged_.wait_for(lock, timeout, [this] { return clientFd_ >= 0; });
}

bool PeerServer::waitNoClient(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return clientChanged_.wait_for(lock, timeout, [this] { return clientFd_ < 0; });
}

bool PeerServer::hasClient() const {
    std::lock_guard lock(mutex_);
    return clientFd_ >= 0;
}

PeerServer::Clock::time_point PeerServer::setLevel(Line line, bool level) {
    std::lock_guard lock(mutex_);
    levelOf(levels_, line) = level;
    const Clock::time_point now = Clock::now();
    sendLocked(SimProtocol::levelsLine(levels_));
    return now;
}

void PeerServer::setLevels(const platform::ModemLines& levels) {
    std::lock_guard lock(mutex_);
    levels_ = levels;
    sendLocked(SimProtocol::levelsLine(levels_));
}

void PeerServer::pulse(Line line, int count, std::chrono::microseconds period) {
    bool rest = false;
    {
        std::lock_guard lock(mutex_);
        rest = levelOf(levels_, line);
    }
    // Tight timing for short periods; the slack applies to this thread only.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < count; ++i) {
        if (period.count() > 0)
            sleepUntil(start + i * period);
        setLevel(line, !rest);
        if (period.count() > 0)
            sleepUntil(start + i * period + period / 2);
        setLevel(line, rest);
    }
}

void PeerServer::send(const QByteArray& bytes) {
    std::lock_guard lock(mutex_);
    sendLocked(SimProtocol::dataLine(bytes));
}

void PeerServer::dropClient() {
    {
        std::lock_guard lock(mutex_);
        if (clientFd_ < 0)
            return;
        ::shutdown(clientFd_, SHUT_RDWR);
    }
    waitNoClient(std::chrono::seconds(5));
}

platform::ModemLines PeerServer::levels() const {
    std::lock_guard lock(mutex_);
    return levels_;
}

bool PeerServer::dtr() const {
    std::lock_guard lock(mutex_);
    return dtr_;
}

bool PeerServer::rts() const {
    std::lock_guard lock(mutex_);
    return rts_;
}

QByteArray PeerServer::takeReceived() {
    std::lock_guard lock(mutex_);
    return std::exchange(received_, QByteArray());
}

} // namespace brantock::portsim
