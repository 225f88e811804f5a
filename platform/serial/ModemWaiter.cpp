#include "platform/serial/ModemWaiter.h"

#include "platform/serial/ModemTracker.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <mutex>

#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

constexpr int PollIntervalMs = 2;
// TIOCMIWAIT misses a change that lands between the last reading and the start of the wait;
// a timer interrupts the wait this often so such a change is read soon after.
constexpr long RecheckNs = 100'000'000;

void noOp(int) {}

// The signal that interrupts a waiting thread: ours when nobody else has claimed it.
int wakeSignal() {
    static const int number = [] {
        const int candidate = SIGRTMIN + 3;
        struct sigaction current {};
        if (sigaction(candidate, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            return 0;
        struct sigaction ours {};
        ours.sa_handler = noOp; // no SA_RESTART: the wait returns with EINTR
        sigemptyset(&ours.sa_mask);
        return sigaction(candidate, &ours, nullptr) == 0 ? candidate : 0;
    }();
    return number;
}

bool noModemLines(int error) {
    return error == ENOTTY || error == EINVAL;
}

} // namespace

struct ModemWaiter::Shared {
    int fd = -1;
    int wakeFd = -1;
    bool hasModemLines = false;
    ModemWaiter::Sampler sampler;
    ModemSample baseline;
    std::shared_ptr<ChangeQueue> changes;

    ~Shared() {
        if (fd >= 0)
            ::close(fd);
        if (wakeFd >= 0)
            ::close(wakeFd);
    }
};

ModemWaiter::~ModemWaiter() {
    stop();
}

bool ModemWaiter::sample(int fd, ModemSample& out, int& error) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        serial_icounter_struct before{}, after{};
        const bool counted = ::ioctl(fd, TIOCGICOUNT, &before) == 0;
        int bits = 0;
        if (::ioctl(fd, TIOCMGET, &bits) != 0) {
            error = errno;
            return false;
        }
        out.levels =
            ModemLines{(bits & TIOCM_DSR) != 0, (bits & TIOCM_CTS) != 0, (bits & TIOCM_CD) != 0};
        out.hasCounts = counted && ::ioctl(fd, TIOCGICOUNT, &after) == 0;
        if (!out.hasCounts)
            return true;
        out.dsrCount = std::uint32_t(after.dsr);
        out.ctsCount = std::uint32_t(after.cts);
        out.cdCount = std::uint32_t(after.dcd);
        out.settled = before.dsr == after.dsr && before.cts == after.cts && before.dcd == after.dcd;
        if (out.settled)
            return true;
    }
    return true;
}

bool ModemWaiter::start(int fd, bool hasModemLines, std::shared_ptr<ChangeQueue> changes) {
    auto shared = std::make_shared<Shared>();
    shared->fd = fd;
    int error = 0;
    if (hasModemLines && !sampler_(fd, shared->baseline, error))
        return false;
    shared->wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    shared->hasModemLines = hasModemLines;
    shared->sampler = sampler_;
    shared->changes = std::move(changes);
    shared_ = shared;
    if (hasModemLines)
        wakeSignal();
    worker_.start([shared](const std::atomic<bool>& stop) { run(shared, stop); });
    return true;
}

void ModemWaiter::stop() {
    if (!shared_)
        return;
    const int wakeFd = shared_->wakeFd;
    const int signalNumber = shared_->hasModemLines ? wakeSignal() : 0;
    worker_.stop([wakeFd, signalNumber](pthread_t thread) {
        const std::uint64_t one = 1;
        [[maybe_unused]] ssize_t n = ::write(wakeFd, &one, sizeof one);
        if (signalNumber != 0)
            pthread_kill(thread, signalNumber);
    });
    shared_.reset();
}

// Waits in the driver, or for the next reading time; false once the device is gone.
bool ModemWaiter::waitForChange(Shared& shared, bool& driverWaits) {
    if (shared.hasModemLines && driverWaits) {
        if (::ioctl(shared.fd, TIOCMIWAIT, TIOCM_DSR | TIOCM_CTS | TIOCM_CD) == 0 || errno == EINTR)
            return true;
        if (!noModemLines(errno))
            return false;
        driverWaits = false;
    }
    pollfd fds[2] = {{shared.fd, 0, 0}, {shared.wakeFd, POLLIN, 0}};
    const int ready = ::poll(fds, 2, shared.hasModemLines ? PollIntervalMs : -1);
    if (ready < 0)
        return errno == EINTR;
    return (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
}

void ModemWaiter::run(const std::shared_ptr<Shared>& shared, const std::atomic<bool>& stop) {
    const int signalNumber = shared->hasModemLines ? wakeSignal() : 0;
    timer_t recheck{};
    bool timerArmed = false;
    if (signalNumber != 0) {
        sigset_t set;
        sigemptyset(&set);
        sigaddset(&set, signalNumber);
        pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
        sigevent event{};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = signalNumber;
        event._sigev_un._tid = gettid(); // sigev_notify_thread_id
        if (timer_create(CLOCK_MONOTONIC, &event, &recheck) == 0) {
            const itimerspec every{{0, RecheckNs}, {0, RecheckNs}};
            timerArmed = timer_settime(recheck, 0, &every, nullptr) == 0;
        }
    }

    ModemTracker tracker(shared->baseline);
    ModemSample reading;
    int error = 0;
    bool alive = true;
    bool driverWaits = true;
    // Read first: what changed since the baseline the opening took must not wait for the
    // next change.
    while (alive && !stop.load()) {
        if (shared->hasModemLines) {
            alive = shared->sampler(shared->fd, reading, error);
            if (!alive)
                break;
            shared->changes->push(tracker.update(reading));
        }
        alive = waitForChange(*shared, driverWaits);
    }
    if (timerArmed)
        timer_delete(recheck);
    if (!stop.load())
        shared->changes->reportVanished();
}

} // namespace brantock::platform
