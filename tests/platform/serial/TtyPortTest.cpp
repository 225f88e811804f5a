#include "tests/platform/serial/CommRecorder.h"
#include "tests/platform/serial/InputUntil.h"
#include "tests/support/HeldFile.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestEnvironment.h"

#include "platform/serial/CommControl.h"
#include "platform/serial/CommErrors.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace brantock::platform;
using brantock::RuntimeError;
using brantock::testsupport::CommRecorder;
using brantock::testsupport::HeldFile;
using brantock::testsupport::inputUntil;
using brantock::testsupport::RaisedError;
using brantock::testsupport::ScratchFolder;

namespace {

// A pseudo-terminal pair: the control opens the terminal side as port 1; the test plays the
// device on the other side. It has a data path but no modem lines.
class PtyPort : public ::testing::Test {
protected:
    PtyPort() {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            terminal = QString::fromLocal8Bit(::ptsname(master));
    }
    ~PtyPort() override {
        control.SetPortOpen(false);
        closeMaster();
    }

    void SetUp() override { ASSERT_FALSE(terminal.isEmpty()); }

    void closeMaster() {
        if (master >= 0)
            ::close(master);
        master = -1;
    }

    // What the device side receives within a few seconds.
    QByteArray readMaster(qsizetype expected) {
        QByteArray got;
        while (got.size() < expected) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0)
                break;
            char chunk[256];
            const ssize_t n = ::read(master, chunk, sizeof chunk);
            if (n <= 0)
                break;
            got.append(chunk, n);
        }
        return got;
    }

    int master = -1;
    QString terminal;
    CommControl control{[this](int port) { return port == 1 ? terminal : QString(); },
                        &CommControl::backendFor};
};

class PtyEcho : public PtyPort, public ::testing::WithParamInterface<const char*> {};

TEST_P(PtyEcho, TextSentIsReadBackOnce) {
    control.SetPortOpen(true);
    control.SetSettings(QStringLiteral("9600,n,8,1"));
    const QByteArray text = GetParam();
    control.SetOutput(QString::fromLatin1(text));
    ASSERT_EQ(readMaster(text.size()), text);
    ASSERT_EQ(::write(master, text.constData(), size_t(text.size())), text.size());
    EXPECT_EQ(inputUntil(control, text.size()), QString::fromLatin1(text));
    EXPECT_EQ(control.Input(), QString());
}

INSTANTIATE_TEST_SUITE_P(Texts, PtyEcho, ::testing::Values("Brantock", "Test"));

TEST_F(PtyPort, SettingsApplyOnOpeningAndWhileOpen) {
    // A descriptor of our own, taken before the control holds the terminal exclusively.
    const int observer = ::open(terminal.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(observer, 0);
    termios t{};
    control.SetSettings(QStringLiteral("1200,e,7,2"));
    control.SetPortOpen(true);
    ASSERT_EQ(::tcgetattr(observer, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B1200));
    // A pseudo-terminal keeps 8 data bits without parity whatever is asked; speed, stop bits
    // and flow control show what was applied.
    EXPECT_EQ(t.c_cflag & (CSTOPB | CRTSCTS | CLOCAL), tcflag_t(CSTOPB | CLOCAL));
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO), 0u) << "raw input";

    control.SetSettings(QStringLiteral("9600,n,8,1"));
    ASSERT_EQ(::tcgetattr(observer, &t), 0);
    EXPECT_EQ(::cfgetospeed(&t), speed_t(B9600));
    EXPECT_EQ(t.c_cflag & CSTOPB, 0u);
    ::close(observer);
}

TEST_F(PtyPort, TerminalWithoutModemLinesReadsThemFalseAndRaisesNothing) {
    CommRecorder recorder(control);
    control.SetPortOpen(true);
    control.SetDTREnable(false);
    control.SetRTSEnable(true);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_FALSE(control.DSRHolding());
    EXPECT_FALSE(control.CTSHolding());
    EXPECT_FALSE(control.CDHolding());
    ASSERT_EQ(::write(master, "x", 1), 1);
    EXPECT_EQ(inputUntil(control, 1), QStringLiteral("x"));
    // The hang-up comes through the same queue as changes: one raised before it would have
    // been delivered when the port closes.
    closeMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !control.PortOpen(); }, 5000));
    EXPECT_TRUE(recorder.seen.empty());
}

TEST_F(PtyPort, DeviceHeldByAnotherProcessGivesPortAlreadyOpen) {
    {
        HeldFile other(terminal, HeldFile::Lock::Whole);
        ASSERT_TRUE(other.held());
        EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }),
                  comErr::PortAlreadyOpen);
        EXPECT_FALSE(control.PortOpen());
    }
    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
}

TEST_F(PtyPort, SecondControlOnTheSameDeviceGivesPortAlreadyOpen) {
    control.SetPortOpen(true);
    CommControl second([this](int) { return terminal; }, &CommControl::backendFor);
    EXPECT_EQ(RaisedError::numberOf([&] { second.SetPortOpen(true); }), comErr::PortAlreadyOpen);
}

TEST_F(PtyPort, PathsThatNameNoSerialDeviceGiveInvalidPortNumber) {
    ScratchFolder folder;
    QFile plain(folder.file("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& path : {folder.file("missing"), folder.file("plain"), folder.path(),
                                QStringLiteral("/dev/null")}) {
        CommControl other([&](int) { return path; }, &CommControl::backendFor);
        EXPECT_EQ(RaisedError::numberOf([&] { other.SetPortOpen(true); }), comErr::InvalidPort)
            << path.toStdString();
        EXPECT_FALSE(other.PortOpen());
    }
}

TEST_F(PtyPort, HungUpTerminalClosesThePort) {
    control.SetPortOpen(true);
    closeMaster();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !control.PortOpen(); }, 5000));
    EXPECT_EQ(RaisedError::numberOf([&] { control.Input(); }), comErr::PortNotOpen);
}

TEST_F(PtyPort, ClosingWhileTheWaiterWaitsReturnsAndFreesTheDevice) {
    control.SetPortOpen(true);
    QTest::qWait(5); // time for the thread to reach its wait
    control.SetPortOpen(false);
    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    control.SetOutput(QStringLiteral("Test"));
    EXPECT_EQ(readMaster(4), QByteArray("Test"));
}

TEST_F(PtyPort, ClosingEndsTheWaitingThread) {
    auto threads = [] { return QDir(QStringLiteral("/proc/self/task")).count(); };
    control.SetPortOpen(true);
    control.SetPortOpen(false);
    const auto before = threads();
    for (int i = 0; i < 20; ++i) {
        control.SetPortOpen(true);
        QTest::qWait(5); // time for the thread to reach its wait
        control.SetPortOpen(false);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return threads() <= before; }, 5000))
        << threads() << " threads, " << before << " before";
}

// The pseudo-terminal with the lock folder in a scratch folder of its own.
class PtyLock : public PtyPort {
protected:
    PtyLock() { qputenv("BRANTOCK_LOCK_DIR", lockFolder.path().toLocal8Bit()); }
    ~PtyLock() override {
        control.SetPortOpen(false);
        QFile::setPermissions(lockFolder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("BRANTOCK_LOCK_DIR", previousFolder);
    }

    // Named as other serial programs name it: the device under /dev, "/" as "_".
    QString lockPath() const {
        return lockFolder.file(QStringLiteral("LCK..") + terminal.mid(5).replace(u'/', u'_'));
    }
    QByteArray lockContent() const {
        QFile file(lockPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeLock(const QByteArray& content) {
        QFile file(lockPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void makeLockFolderReadOnly() {
        ASSERT_TRUE(QFile::setPermissions(lockFolder.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    static QByteArray asciiPid(pid_t pid) { return QStringLiteral("%1\n").arg(pid, 10).toLatin1(); }
    static QByteArray binaryPid(pid_t pid) {
        const std::int32_t value = pid;
        return QByteArray(reinterpret_cast<const char*>(&value), sizeof value);
    }
    // A process number that no process has now.
    static pid_t deadPid() {
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(0);
        ::waitpid(child, nullptr, 0);
        return child;
    }

    ScratchFolder lockFolder;
    QByteArray previousFolder = qgetenv("BRANTOCK_LOCK_DIR");
};

TEST_F(PtyLock, OpeningTakesTheLockFileAndClosingRemovesIt) {
    control.SetPortOpen(true);
    EXPECT_EQ(lockContent(), asciiPid(::getpid()));
    control.SetPortOpen(false);
    EXPECT_FALSE(QFile::exists(lockPath()));
}

TEST_F(PtyLock, LinkToTheDeviceTakesTheDevicesOwnLockFile) {
    ScratchFolder links;
    const QString link = links.file(QStringLiteral("door-sensor"));
    ASSERT_TRUE(QFile::link(terminal, link));
    CommControl linked([&](int) { return link; }, &CommControl::backendFor);
    linked.SetPortOpen(true);
    EXPECT_EQ(lockContent(), asciiPid(::getpid()));
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }), comErr::PortAlreadyOpen);
}

enum class Holder { Live, Dead, Nobody };

struct LeftLock {
    const char* name;
    Holder holder;
    bool binary;
    int error;
    // Some programs write their name and user after the number.
    bool named = false;
};

class PtyLeftLock : public PtyLock, public ::testing::WithParamInterface<LeftLock> {};

TEST_P(PtyLeftLock, IsHonouredWhileItsProcessLivesAndTakenOverOtherwise) {
    const LeftLock& c = GetParam();
    // Process 1 always runs; a finished child's number names no process.
    const pid_t pid = c.holder == Holder::Live ? 1 : c.holder == Holder::Dead ? deadPid() : 0;
    const QByteArray content = c.holder == Holder::Nobody ? QByteArray("not a number\n")
                               : c.binary                 ? binaryPid(pid)
                               : c.named
                                   ? QByteArray::number(pid).rightJustified(10) + " termprog root\n"
                                   : asciiPid(pid);
    writeLock(content);
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }), c.error);
    if (c.error != 0) {
        EXPECT_FALSE(control.PortOpen());
        EXPECT_EQ(lockContent(), content) << "another's lock stays as it was";
        return;
    }
    EXPECT_EQ(lockContent(), asciiPid(::getpid()));
    control.SetPortOpen(false);
    EXPECT_FALSE(QFile::exists(lockPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Locks, PtyLeftLock,
    ::testing::Values(LeftLock{"LiveText", Holder::Live, false, comErr::PortAlreadyOpen},
                      LeftLock{"LiveBinary", Holder::Live, true, comErr::PortAlreadyOpen},
                      LeftLock{"DeadText", Holder::Dead, false, 0},
                      LeftLock{"DeadBinary", Holder::Dead, true, 0},
                      LeftLock{"NoNumber", Holder::Nobody, false, 0},
                      LeftLock{"LiveTextWithName", Holder::Live, false, comErr::PortAlreadyOpen,
                               true},
                      LeftLock{"DeadTextWithName", Holder::Dead, false, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PtyLock, MissingLockFolderOpensWithoutALockFile) {
    const QString missing = lockFolder.file(QStringLiteral("missing"));
    qputenv("BRANTOCK_LOCK_DIR", missing.toLocal8Bit());
    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(PtyLock, ReadOnlyLockFolderIsHonouredButOpensWithoutALockFileForOrdinaryUsers) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind root";
    makeLockFolderReadOnly();
    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_FALSE(QFile::exists(lockPath()));
    control.SetPortOpen(false);

    for (const QByteArray& left : {asciiPid(1), asciiPid(deadPid())}) {
        ASSERT_TRUE(QFile::setPermissions(lockFolder.path(),
                                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QFile::remove(lockPath());
        writeLock(left);
        makeLockFolderReadOnly();
        const bool live = left == asciiPid(1);
        EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }),
                  live ? comErr::PortAlreadyOpen : 0);
        EXPECT_EQ(lockContent(), left);
        control.SetPortOpen(false);
    }
}

} // namespace
