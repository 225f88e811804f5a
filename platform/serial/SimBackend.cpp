#include "platform/serial/SimBackend.h"

#include "platform/serial/CommErrors.h"
#include "platform/serial/ModemTracker.h"
#include "platform/serial/SimProtocol.h"
#include "platform/serial/UnixSocket.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

constexpr auto AckWait = std::chrono::milliseconds(1000);
using Clock = std::chrono::steady_clock;

int msUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// Connects within the deadline: a peer that is stopped with its queue of waiting
// connections full would otherwise keep connect waiting without limit.
bool connectBy(int fd, const sockaddr_un& address, Clock::time_point deadline) {
    for (;;) {
        const int ms = msUntil(deadline);
        if (ms == 0)
            return false;
        const timeval wait{ms / 1000, (ms % 1000) * 1000};
        if (::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait) != 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        if (errno != EINTR && errno != EAGAIN)
            return false;
    }
    // Later sends wait as long as they need, as before.
    const timeval forever{};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &forever, sizeof forever);
    return true;
}

} // namespace

struct SimBackend::Link {
    int fd = -1;
    std::shared_ptr<ChangeQueue> changes;
    std::mutex mutex;
    std::condition_variable answered;
    ModemLines levels;
    QByteArray received;
    quint64 acks = 0;
    quint64 asked = 0;
    bool ended = false;

    ~Link() {
        if (fd >= 0)
            ::close(fd);
    }
};

SimBackend::SimBackend(QString socketPath) : socketPath_(std::move(socketPath)) {}

SimBackend::~SimBackend() {
    close();
}

void SimBackend::open(const PortConfig& config, std::shared_ptr<ChangeQueue> changes) {
    const Clock::time_point deadline = Clock::now() + OpenDeadline;
    const std::optional<sockaddr_un> address = UnixSocket::address(socketPath_.toLocal8Bit());
    if (!address)
        throw commError(comErr::InvalidPort);

    auto link = std::make_shared<Link>();
    link->changes = std::move(changes);
    link->fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (link->fd < 0 || !connectBy(link->fd, *address, deadline)) {
        if (errno == EACCES || errno == EPERM)
            throw RuntimeError::of(err::PathFileAccessError);
        throw commError(comErr::InvalidPort);
    }

    // The peer's first line tells whether this port is now its one client.
    QByteArray buffer;
    std::optional<SimProtocol::Message> greeting;
    QByteArray following;
    while (!greeting) {
        pollfd p{link->fd, POLLIN, 0};
        char chunk[256];
        ssize_t n = 0;
        if (::poll(&p, 1, msUntil(deadline)) <= 0 ||
            (n = ::read(link->fd, chunk, sizeof chunk)) <= 0)
            throw commError(comErr::InvalidPort);
        buffer.append(chunk, n);
        const std::optional<std::vector<QByteArray>> lines = SimProtocol::takeLines(buffer);
        if (!lines)
            throw commError(comErr::InvalidPort);
        if (lines->empty())
            continue;
        greeting = SimProtocol::parse(lines->front());
        if (!greeting)
            throw commError(comErr::InvalidPort);
        for (std::size_t i = 1; i < lines->size(); ++i)
            following += (*lines)[i] + '\n';
        following += buffer;
    }
    if (greeting->kind == 'E')
        throw commError(comErr::PortAlreadyOpen);
    if (greeting->kind != 'L')
        throw commError(comErr::InvalidPort);
    link->levels = greeting->levels;

    link_ = link;
    reader_.start(
        [link, following](const std::atomic<bool>& stop) { readPeer(link, stop, following); });
    if (!sendOutputLines(config.dtr, config.rts, deadline)) {
        close();
        throw commError(comErr::InvalidPort);
    }
}

void SimBackend::readPeer(const std::shared_ptr<Link>& link, const std::atomic<bool>& stop,
                          QByteArray pending) {
    char chunk[4096];
    for (;;) {
        const std::optional<std::vector<QByteArray>> lines = SimProtocol::takeLines(pending);
        if (!lines) {
            // A peer that breaks the protocol is treated as one that hung up.
            ::shutdown(link->fd, SHUT_RDWR);
            break;
        }
        for (const QByteArray& line : *lines) {
            const std::optional<SimProtocol::Message> m = SimProtocol::parse(line);
            if (!m)
                continue;
            std::unique_lock lock(link->mutex);
            if (m->kind == 'L') {
                std::vector<LineChange> changes = ModemTracker::between(link->levels, m->levels);
                link->levels = m->levels;
                lock.unlock();
                link->changes->push(std::move(changes));
            } else if (m->kind == 'D') {
                link->received += m->bytes;
            } else if (m->kind == 'K') {
                ++link->acks;
                link->answered.notify_all();
            }
        }
        const ssize_t n = ::read(link->fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        pending.append(chunk, n);
    }
    {
        std::lock_guard lock(link->mutex);
        link->ended = true;
        link->answered.notify_all();
    }
    if (!stop.load())
        link->changes->reportVanished();
}

void SimBackend::close() {
    if (!link_)
        return;
    const int fd = link_->fd;
    // At once, so that the peer sees the hang-up before a new open connects.
    ::shutdown(fd, SHUT_RDWR);
    reader_.stop([fd](pthread_t) { ::shutdown(fd, SHUT_RDWR); });
    link_.reset();
}

void SimBackend::applySettings(const SerialSettings&) {
    // The simulated wire has no speed or framing.
}

void SimBackend::setOutputLines(bool dtr, bool rts) {
    sendOutputLines(dtr, rts, Clock::now() + AckWait);
}

bool SimBackend::sendOutputLines(bool dtr, bool rts, std::chrono::steady_clock::time_point until) {
    if (!link_)
        return false;
    // Waiting for the answer makes levels that the peer loops back from these lines
    // readable as soon as this returns, as on a wired port.
    // The lock is not held while sending: the reader must be free to drain the peer meanwhile.
    std::unique_lock lock(link_->mutex);
    const quint64 wanted = ++link_->asked;
    lock.unlock();
    if (!UnixSocket::sendAll(link_->fd, SimProtocol::outputsLine(dtr, rts)))
        return false;
    lock.lock();
    link_->answered.wait_until(lock, until, [&] { return link_->ended || link_->acks >= wanted; });
    return link_->acks >= wanted;
}

ModemLines SimBackend::inputLines() {
    if (!link_)
        return {};
    std::lock_guard lock(link_->mutex);
    return link_->levels;
}

void SimBackend::write(const QByteArray& bytes) {
    if (link_ && !bytes.isEmpty() && !UnixSocket::sendAll(link_->fd, SimProtocol::dataLine(bytes)))
        link_->changes->reportVanished();
}

QByteArray SimBackend::readAll() {
    if (!link_)
        return {};
    std::lock_guard lock(link_->mutex);
    return std::exchange(link_->received, QByteArray());
}

} // namespace brantock::platform
