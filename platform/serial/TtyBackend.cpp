#include "platform/serial/TtyBackend.h"

#include "platform/serial/CommErrors.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace brantock::platform {

namespace {

constexpr int WriteWaitMs = 1000;

speed_t speedOf(int baud) {
    switch (baud) {
    case 50:
        return B50;
    case 75:
        return B75;
    case 110:
        return B110;
    case 134:
        return B134;
    case 150:
        return B150;
    case 200:
        return B200;
    case 300:
        return B300;
    case 600:
        return B600;
    case 1200:
        return B1200;
    case 1800:
        return B1800;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    case 230400:
        return B230400;
    case 460800:
        return B460800;
    case 500000:
        return B500000;
    case 576000:
        return B576000;
    case 921600:
        return B921600;
    case 1000000:
        return B1000000;
    case 1152000:
        return B1152000;
    case 1500000:
        return B1500000;
    case 2000000:
        return B2000000;
    case 2500000:
        return B2500000;
    case 3000000:
        return B3000000;
    case 3500000:
        return B3500000;
    default:
        return B4000000;
    }
}

bool gone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

RuntimeError openFailure(int error) {
    switch (error) {
    case EBUSY:
    case EWOULDBLOCK:
        return commError(comErr::PortAlreadyOpen);
    case EACCES:
    case EPERM:
        return RuntimeError::of(err::PathFileAccessError);
    default:
        return commError(comErr::InvalidPort);
    }
}

} // namespace

TtyBackend::TtyBackend(QString devicePath) : path_(std::move(devicePath)) {}

TtyBackend::~TtyBackend() {
    close();
}

void TtyBackend::open(const PortConfig& config, std::shared_ptr<ChangeQueue> changes) {
    // Looked at before opening, as other serial programs do: opening can move the lines.
    if (lockFile_.take(path_) == SerialLockFile::Outcome::HeldByOther)
        throw commError(comErr::PortAlreadyOpen);
    const int fd =
        ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        lockFile_.release();
        throw openFailure(error);
    }
    struct stat info {};
    termios attributes{};
    int error = 0;
    if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode) || ::tcgetattr(fd, &attributes) != 0)
        error = ENODEV;
    else if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0)
        error = errno;
    if (error != 0) {
        ::close(fd);
        lockFile_.release();
        throw openFailure(error);
    }
    fd_ = fd;
    changes_ = std::move(changes);
    try {
        applySettings(config.settings);
    } catch (...) {
        close();
        throw;
    }
    ::tcflush(fd_, TCIOFLUSH);
    int bits = 0;
    hasModemLines_ = ::ioctl(fd_, TIOCMGET, &bits) == 0;
    setOutputLines(config.dtr, config.rts);

    const int watched = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (watched < 0 || !waiter_.start(watched, hasModemLines_, changes_)) {
        close();
        throw commError(comErr::InvalidPort);
    }
}

void TtyBackend::close() {
    if (fd_ < 0)
        return;
    // A waiter that cannot be woken keeps its duplicate open for a while: give the device
    // back now, with its outputs dropped as closing it would.
    if (hasModemLines_) {
        const int outputs = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(fd_, TIOCMBIC, &outputs);
    }
    ::ioctl(fd_, TIOCNXCL);
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
    lockFile_.release();
    waiter_.stop();
    changes_.reset();
}

void TtyBackend::applySettings(const SerialSettings& settings) {
    termios t{};
    if (::tcgetattr(fd_, &t) != 0)
        throw commError(comErr::SetCommStateFailed);
    ::cfmakeraw(&t);
    t.c_cflag &= ~tcflag_t(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | HUPCL;
    t.c_cflag |= settings.dataBits == 5   ? CS5
                 : settings.dataBits == 6 ? CS6
                 : settings.dataBits == 7 ? CS7
                                          : CS8;
    if (settings.stopBits == 2)
        t.c_cflag |= CSTOPB;
    switch (settings.parity) {
    case 'e':
        t.c_cflag |= PARENB;
        break;
    case 'o':
        t.c_cflag |= PARENB | PARODD;
        break;
    case 'm':
        t.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 's':
        t.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    const speed_t speed = speedOf(settings.baud);
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &t) != 0)
        throw commError(comErr::SetCommStateFailed);
}

void TtyBackend::checkGone(int error) {
    if (gone(error) && changes_)
        changes_->reportVanished();
}

void TtyBackend::setOutputLines(bool dtr, bool rts) {
    if (!hasModemLines_)
        return;
    const int dtrBit = TIOCM_DTR, rtsBit = TIOCM_RTS;
    if (::ioctl(fd_, dtr ? TIOCMBIS : TIOCMBIC, &dtrBit) != 0 ||
        ::ioctl(fd_, rts ? TIOCMBIS : TIOCMBIC, &rtsBit) != 0)
        checkGone(errno);
}

ModemLines TtyBackend::inputLines() {
    int bits = 0;
    if (!hasModemLines_)
        return {};
    if (::ioctl(fd_, TIOCMGET, &bits) != 0) {
        checkGone(errno);
        return {};
    }
    return ModemLines{(bits & TIOCM_DSR) != 0, (bits & TIOCM_CTS) != 0, (bits & TIOCM_CD) != 0};
}

void TtyBackend::write(const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, size_t(left));
        if (n > 0) {
            p += n;
            left -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // Without flow control the driver drains at the line's rate; a device that
            // takes nothing for a second gets the rest dropped, as a wire would.
            pollfd out{fd_, POLLOUT, 0};
            if (::poll(&out, 1, WriteWaitMs) > 0)
                continue;
            return;
        }
        checkGone(errno);
        return;
    }
}

QByteArray TtyBackend::readAll() {
    QByteArray received;
    char chunk[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, chunk, sizeof chunk);
        if (n > 0) {
            received.append(chunk, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            checkGone(errno);
        return received;
    }
}

} // namespace brantock::platform
