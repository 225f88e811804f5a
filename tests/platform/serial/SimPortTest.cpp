#include "tests/platform/serial/CommRecorder.h"
#include "tests/platform/serial/InputUntil.h"
#include "tests/support/RaisedError.h"
#include "tests/support/TestEnvironment.h"
#include "tools/portsim/PeerServer.h"

#include "platform/serial/CommControl.h"
#include "platform/serial/CommErrors.h"
#include "platform/serial/CommEvents.h"
#include "platform/serial/SimBackend.h"
#include "platform/serial/SimProtocol.h"
#include "platform/serial/UnixSocket.h"

#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace brantock::platform;
using brantock::RuntimeError;
using brantock::portsim::PeerServer;
using brantock::testsupport::CommRecorder;
using brantock::testsupport::inputUntil;
using brantock::testsupport::RaisedError;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::SeenChange;

namespace {

using Line = PeerServer::Line;

// A control whose port 1 is the simulated port served by an in-process peer.
class SimPort : public ::testing::Test {
protected:
    SimPort()
        : peer(folder.file("port.sock").toStdString()),
          control([this](int port) { return port == 1 ? device() : QString(); },
                  &CommControl::backendFor),
          recorder(control) {}

    QString device() const { return QStringLiteral("sim:") + folder.file("port.sock"); }

    void open() {
        control.SetCommPort(1);
        control.SetPortOpen(true);
        ASSERT_TRUE(peer.waitClient(std::chrono::seconds(5)));
    }

    // Waits until the port has read a level high without letting events run, so its change
    // still waits for delivery; false when it did not come.
    bool readsHighUndelivered(bool (CommControl::*level)() const) {
        for (int i = 0; i < 5000 && !(control.*level)(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return (control.*level)();
    }

    ScratchFolder folder;
    PeerServer peer;
    CommControl control;
    CommRecorder recorder;
};

struct LineCase {
    const char* name;
    Line line;
    int event;
    bool SeenChange::*level;
};

class SimPortLine : public SimPort, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SimPortLine, EachChangeRaisesOnCommWithTheLineAndItsLevel) {
    const LineCase& c = GetParam();
    open();
    peer.setLevel(c.line, true);
    ASSERT_TRUE(recorder.waitFor(1));
    peer.setLevel(c.line, false);
    ASSERT_TRUE(recorder.waitFor(2));

    SeenChange up{c.event, false, false, false};
    up.*c.level = true;
    const SeenChange down{c.event, false, false, false};
    EXPECT_EQ(recorder.seen, (std::vector<SeenChange>{up, down}));
    EXPECT_EQ(control.CommEvent(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lines, SimPortLine,
                         ::testing::Values(LineCase{"DSR", Line::Dsr, comEvDSR, &SeenChange::dsr},
                                           LineCase{"CTS", Line::Cts, comEvCTS, &SeenChange::cts},
                                           LineCase{"DCD", Line::Cd, comEvCD, &SeenChange::cd}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimPort, ChangesOfSeveralLinesAtOnceArriveOneLineAtATime) {
    open();
    peer.setLevels(ModemLines{true, true, true});
    ASSERT_TRUE(recorder.waitFor(3));
    EXPECT_EQ(recorder.seen, (std::vector<SeenChange>{{comEvDSR, true, false, false},
                                                      {comEvCTS, true, true, false},
                                                      {comEvCD, true, true, true}}));
}

TEST_F(SimPort, PulseTrainWhileTheWindowIsBusyArrivesAsEveryChangeInOrder) {
    open();
    // The window thread is held up for the whole train; nothing may be lost meanwhile.
    // A change of another line after it marks its end.
    auto train = std::async(std::launch::async, [this] {
        peer.pulse(Line::Dsr, 1000, {});
        peer.setLevel(Line::Cts, true);
    });
    train.wait();
    ASSERT_TRUE(readsHighUndelivered(&CommControl::CTSHolding));
    ASSERT_TRUE(recorder.waitFor(2001));
    ASSERT_EQ(recorder.seen.size(), 2001u);
    for (std::size_t i = 0; i < 2000; ++i) {
        const SeenChange expected{comEvDSR, i % 2 == 0, false, false};
        ASSERT_EQ(recorder.seen[i], expected) << "change " << i;
    }
    EXPECT_EQ(recorder.seen.back(), (SeenChange{comEvCTS, false, true, false}));
}

TEST_F(SimPort, HandlerThatLetsEventsRunGetsTheNextChangeInsideAndKeepsItsLevels) {
    open();
    int depth = 0, deepest = 0;
    bool levelAfterWaiting = false;
    QObject::connect(&control, &CommControl::OnComm, &control, [&] {
        deepest = std::max(deepest, ++depth);
        if (recorder.seen.size() == 1) {
            peer.setLevel(Line::Dsr, false);
            recorder.waitFor(2);
            levelAfterWaiting = control.DSRHolding();
        }
        --depth;
    });
    peer.setLevel(Line::Dsr, true);
    ASSERT_TRUE(recorder.waitFor(2));
    EXPECT_TRUE(levelAfterWaiting) << "the first change's level while its handler runs";
    EXPECT_EQ(deepest, 2);
    EXPECT_EQ(recorder.seen, (std::vector<SeenChange>{{comEvDSR, true, false, false},
                                                      {comEvDSR, false, false, false}}));
}

TEST_F(SimPort, LongTextGoesOutAndComesBackWhole) {
    open();
    QString text;
    for (int i = 0; i < 100000; ++i)
        text += QChar(u'a' + i % 26);
    control.SetOutput(text);
    EXPECT_EQ(inputUntil(control, text.size()), text);
}

class SimPortEcho : public SimPort, public ::testing::WithParamInterface<const char*> {};

TEST_P(SimPortEcho, TextSentComesBackAndIsReadOnce) {
    open();
    const QString text = QString::fromLatin1(GetParam());
    control.SetOutput(text);
    EXPECT_EQ(inputUntil(control, text.size()), text);
    EXPECT_EQ(control.Input(), QString()) << "Input gives what came since the last read";
}

INSTANTIATE_TEST_SUITE_P(Texts, SimPortEcho, ::testing::Values("Brantock", "Test"));

TEST_F(SimPort, SilentPeerTakesTheTextAndAnswersNothing) {
    peer.setEcho(false);
    open();
    control.SetOutput(QStringLiteral("Brantock"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer.takeReceived() == "Brantock"; }, 5000));
    // An answer would come before a change the peer sends after taking the text.
    peer.setLevel(Line::Cts, true);
    ASSERT_TRUE(readsHighUndelivered(&CommControl::CTSHolding));
    EXPECT_EQ(control.Input(), QString());
}

TEST_F(SimPort, OutputLinesSetWhileClosedApplyWhenItOpens) {
    control.SetDTREnable(false);
    control.SetRTSEnable(true);
    open();
    EXPECT_FALSE(peer.dtr());
    EXPECT_TRUE(peer.rts());
    control.SetDTREnable(true);
    control.SetRTSEnable(false);
    EXPECT_TRUE(peer.dtr());
    EXPECT_FALSE(peer.rts());
}

TEST_F(SimPort, LoopedBackInputsFollowTheOutputsWithoutWaiting) {
    peer.setLoop(true);
    open();
    const bool cd = control.CDHolding();
    control.SetRTSEnable(!control.CDHolding());
    EXPECT_NE(control.CDHolding(), cd);
    const bool cts = control.CTSHolding();
    control.SetDTREnable(!control.CTSHolding());
    EXPECT_NE(control.CTSHolding(), cts);
}

TEST_F(SimPort, ClosedPortReadsEveryLevelFalse) {
    peer.setLevels(ModemLines{true, true, true});
    EXPECT_FALSE(control.DSRHolding());
    EXPECT_FALSE(control.CTSHolding());
    EXPECT_FALSE(control.CDHolding());
    open();
    EXPECT_TRUE(control.DSRHolding());
    EXPECT_TRUE(control.CTSHolding());
    EXPECT_TRUE(control.CDHolding());
    control.SetPortOpen(false);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_FALSE(control.DSRHolding());
    EXPECT_FALSE(control.CTSHolding());
    EXPECT_FALSE(control.CDHolding());
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetOutput("Test"); }), comErr::PortNotOpen);
    EXPECT_EQ(RaisedError::numberOf([&] { control.Input(); }), comErr::PortNotOpen);
}

TEST_F(SimPort, ChangesPendingAtCloseAreDropped) {
    open();
    peer.setLevel(Line::Cts, true);
    // The change is still waiting when the port closes.
    ASSERT_TRUE(readsHighUndelivered(&CommControl::CTSHolding));
    control.SetPortOpen(false);
    // Opened again, a change marks the end: the dropped one would have come before it.
    ASSERT_TRUE(peer.waitNoClient(std::chrono::seconds(5)));
    open();
    peer.setLevel(Line::Dsr, true);
    ASSERT_TRUE(recorder.waitFor(1));
    EXPECT_EQ(recorder.seen, (std::vector<SeenChange>{{comEvDSR, true, true, false}}));
}

TEST_F(SimPort, VanishedPeerClosesThePortAfterTheChangesBeforeIt) {
    open();
    peer.setLevel(Line::Dsr, true);
    peer.dropClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !control.PortOpen(); }, 5000));
    ASSERT_TRUE(recorder.waitFor(1));
    EXPECT_FALSE(control.DSRHolding());
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetOutput("Test"); }), comErr::PortNotOpen);

    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_TRUE(control.DSRHolding());
    // A change after the reopening marks the end: nothing came between.
    peer.setLevel(Line::Cts, true);
    ASSERT_TRUE(recorder.waitFor(2));
    EXPECT_EQ(recorder.seen, (std::vector<SeenChange>{{comEvDSR, true, false, false},
                                                      {comEvCTS, true, true, false}}));
}

TEST_F(SimPort, ClosingWhileTheReaderWaitsReturnsAndFreesThePort) {
    open();
    control.SetPortOpen(false);
    EXPECT_TRUE(peer.waitNoClient(std::chrono::seconds(5)));
    control.SetPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
}

TEST_F(SimPort, ClosingAndReopeningAtOnceIsNeverRefused) {
    open();
    // As the port dialog does: no pause between the close and the next open.
    for (int round = 0; round < 300; ++round) {
        control.SetPortOpen(false);
        ASSERT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }), 0)
            << "round " << round;
    }
    EXPECT_TRUE(control.PortOpen());
}

TEST_F(SimPort, PeerDropsAPortThatSendsALineLongerThanTheProtocolAllows) {
    const auto address = UnixSocket::address(folder.file("port.sock").toLocal8Bit());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address), 0);
    ASSERT_TRUE(peer.waitClient(std::chrono::seconds(5)));
    UnixSocket::sendAll(fd, "D " + QByteArray(SimProtocol::MaxLineLength * 4, '0'));
    EXPECT_TRUE(peer.waitNoClient(std::chrono::seconds(5)));
    ::close(fd);
}

TEST_F(SimPort, OpeningErrors) {
    CommControl second([this](int) { return device(); }, &CommControl::backendFor);
    open();
    EXPECT_EQ(RaisedError::numberOf([&] { second.SetPortOpen(true); }), comErr::PortAlreadyOpen);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }), comErr::PortAlreadyOpen);
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetCommPort(2); }), comErr::PortOpened);
    control.SetPortOpen(false);

    control.SetCommPort(2); // names no device
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }), comErr::InvalidPort);
    CommControl noPeer([this](int) { return QStringLiteral("sim:") + folder.file("none.sock"); },
                       &CommControl::backendFor);
    EXPECT_EQ(RaisedError::numberOf([&] { noPeer.SetPortOpen(true); }), comErr::InvalidPort);
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetCommPort(0); }), comErr::InvalidPort);
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetCommPort(17); }), comErr::InvalidPort);
    EXPECT_EQ(control.CommPort(), 2);
}

// A socket playing a peer that misbehaves: it runs its script on its own thread with the
// listening descriptor, and the test's control connects as port 1.
class FakePeer : public ::testing::Test {
public:
    using Script = std::function<void(int listenFd)>;

    // After the port's deadline, and before the old greeting wait of 2 s ran out.
    static constexpr auto Late = SimBackend::OpenDeadline + std::chrono::milliseconds(600);

    // Greets and answers the port's first output lines.
    static void greetAndAnswer(int fd) {
        UnixSocket::sendAll(fd, SimProtocol::levelsLine({}));
        char chunk[256];
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 500) > 0 && ::read(fd, chunk, sizeof chunk) > 0)
            UnixSocket::sendAll(fd, SimProtocol::ackLine());
    }

protected:
    ~FakePeer() override {
        if (thread.joinable())
            thread.join();
        for (int fd : fillers)
            ::close(fd);
        if (listenFd >= 0)
            ::close(listenFd);
    }

    void serve(int backlog, Script script) {
        const auto address = UnixSocket::address(path.toLocal8Bit());
        listenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_EQ(::bind(listenFd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address),
                  0);
        ASSERT_EQ(::listen(listenFd, backlog), 0);
        thread = std::thread([this, script = std::move(script)] { script(listenFd); });
    }

    // Takes up the peer's queue of waiting connections, as clients of a stopped peer do.
    void fillBacklog() {
        const auto address = UnixSocket::address(path.toLocal8Bit());
        for (;;) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
                ::close(fd);
                return;
            }
            fillers.push_back(fd);
        }
    }

    ScratchFolder folder;
    QString path = folder.file("fake.sock");
    int listenFd = -1;
    std::vector<int> fillers;
    std::thread thread;
    CommControl control{[this](int) { return QStringLiteral("sim:") + path; },
                        &CommControl::backendFor};
};

// A peer that sends a line longer than the protocol allows: with or without its line end.
class OverlongLine : public FakePeer, public ::testing::WithParamInterface<bool> {};

TEST_P(OverlongLine, ClosesThePortAsAVanishedPeer) {
    const bool ended = GetParam();
    serve(1, [ended](int listenFd) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        greetAndAnswer(fd);
        const QByteArray hex = QByteArray(64 * 1024, 'x').toHex();
        UnixSocket::sendAll(fd, "D " + hex + (ended ? QByteArray("\n") : hex.repeated(32)));
        // Hold the connection until the port hangs up, so only the port can end it.
        char chunk[4096];
        pollfd p{fd, POLLIN, 0};
        while (::poll(&p, 1, 10000) > 0 && ::read(fd, chunk, sizeof chunk) > 0) {
        }
        ::close(fd);
    });
    control.SetPortOpen(true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !control.PortOpen(); }, 5000));
    EXPECT_EQ(RaisedError::numberOf([&] { control.Input(); }), comErr::PortNotOpen);
}

INSTANTIATE_TEST_SUITE_P(Lines, OverlongLine, ::testing::Values(false, true), [](const auto& info) {
    return std::string(info.param ? "WithLineEnd" : "WithoutLineEnd");
});

// Each peer would let the port open, but only after the deadline.
struct SlowPeerCase {
    const char* name;
    bool stopped; // the queue of waiting connections is full, so connecting itself waits
    FakePeer::Script script;
};

class SlowPeer : public FakePeer, public ::testing::WithParamInterface<SlowPeerCase> {};

void acceptLate(int listenFd) {
    std::this_thread::sleep_for(FakePeer::Late);
    pollfd p{listenFd, POLLIN, 0};
    while (::poll(&p, 1, 0) > 0) {
        const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            return;
        FakePeer::greetAndAnswer(fd);
        ::close(fd);
    }
}

void acceptAndTrickle(int listenFd) {
    const int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    for (const char c : SimProtocol::levelsLine({})) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!UnixSocket::sendAll(fd, QByteArray(1, c)))
            break;
    }
    char chunk[256];
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 2000) > 0 && ::read(fd, chunk, sizeof chunk) > 0)
        UnixSocket::sendAll(fd, SimProtocol::ackLine());
    ::close(fd);
}

TEST_P(SlowPeer, OpeningGivesUpAtTheDeadlineWithInvalidPort) {
    const SlowPeerCase& c = GetParam();
    serve(0, c.script);
    if (c.stopped)
        fillBacklog();
    EXPECT_EQ(RaisedError::numberOf([&] { control.SetPortOpen(true); }), comErr::InvalidPort);
    EXPECT_FALSE(control.PortOpen());
}

INSTANTIATE_TEST_SUITE_P(Peers, SlowPeer,
                         ::testing::Values(SlowPeerCase{"AcceptsAndSaysNothing", false, acceptLate},
                                           SlowPeerCase{"TricklesItsGreeting", false,
                                                        acceptAndTrickle},
                                           SlowPeerCase{"Stopped", true, acceptLate}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
