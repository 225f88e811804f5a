#include "tests/platform/serial/CommRecorder.h"
#include "tests/platform/serial/InputUntil.h"
#include "tests/support/TestEnvironment.h"

#include "platform/serial/CommControl.h"
#include "platform/serial/CommEvents.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace brantock::platform;
using brantock::testsupport::CommRecorder;
using brantock::testsupport::inputUntil;
using brantock::testsupport::ScratchFolder;
using brantock::testsupport::SeenChange;

namespace {

// The peer program driven through its standard input, as a script would.
class PortSimTool : public ::testing::Test {
protected:
    void start(const QStringList& options) {
        tool.start(QStringLiteral(BRANTOCK_PORTSIM), QStringList{"--socket", socket} + options);
        ASSERT_TRUE(tool.waitForStarted(5000));
        ASSERT_TRUE(readLine().startsWith("serving"));
    }

    void command(const QByteArray& line) { tool.write(line + "\n"); }

    QByteArray readLine() {
        while (!tool.canReadLine())
            if (!tool.waitForReadyRead(5000))
                return {};
        return tool.readLine().trimmed();
    }

    void TearDown() override {
        tool.closeWriteChannel();
        if (!tool.waitForFinished(5000))
            tool.kill();
    }

    ScratchFolder folder;
    QString socket = folder.file("tool.sock");
    QProcess tool;
    CommControl control{[this](int) { return QStringLiteral("sim:") + socket; },
                        &CommControl::backendFor};
};

TEST_F(PortSimTool, CommandsDriveTheLinesAndShowTheOutputs) {
    start({});
    CommRecorder recorder(control);
    control.SetDTREnable(true);
    control.SetRTSEnable(false);
    control.SetPortOpen(true);
    command("wait-client");
    ASSERT_EQ(readLine(), "connected");
    command("show");
    EXPECT_EQ(readLine(), "dtr=1 rts=0 dsr=0 cts=0 cd=0 client=1");

    command("cts 1");
    command("pulse cd 3 0");
    ASSERT_TRUE(recorder.waitFor(7));
    EXPECT_EQ(recorder.seen.front(), (SeenChange{comEvCTS, false, true, false}));
    EXPECT_EQ(recorder.seen.back(), (SeenChange{comEvCD, false, true, false}));

    control.SetOutput(QStringLiteral("Brantock"));
    EXPECT_EQ(inputUntil(control, 8), QStringLiteral("Brantock"));
    command("received");
    EXPECT_EQ(readLine(), "received " + QByteArray("Brantock").toHex());

    command("drop");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !control.PortOpen(); }, 5000));
    command("quit");
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitCode(), 0);
}

TEST_F(PortSimTool, SilentPeerWithCommandLineCommandsAndAWrongCommand) {
    start({"--silent", "dsr 1", "bogus"});
    control.SetPortOpen(true);
    // The tool may still be running its first commands when the port connects.
    EXPECT_TRUE(QTest::qWaitFor([&] { return control.DSRHolding(); }, 5000));
    control.SetOutput(QStringLiteral("Test"));
    QByteArray received;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            command("received");
            received += QByteArray::fromHex(readLine().mid(sizeof "received"));
            return received == "Test";
        },
        5000));
    // An answer would come before a change the peer sends after taking the text.
    command("cts 1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.CTSHolding(); }, 5000));
    EXPECT_EQ(control.Input(), QString());
    control.SetPortOpen(false);
    tool.closeWriteChannel();
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_TRUE(tool.readAllStandardError().contains("unknown command: bogus"));
}

struct EndingCase {
    const char* name;
    int signal;
    bool duringTrain; // else while it waits for the next command
};

class PortSimToolEnding : public PortSimTool, public ::testing::WithParamInterface<EndingCase> {};

TEST_P(PortSimToolEnding, SignalEndsTheToolAndRemovesItsSocket) {
    const EndingCase& c = GetParam();
    start({});
    CommRecorder recorder(control);
    control.SetPortOpen(true);
    if (c.duringTrain) {
        command("pulse dsr 1000000 1000");
        ASSERT_TRUE(recorder.waitFor(1));
    } else {
        command("show");
        ASSERT_FALSE(readLine().isEmpty());
    }
    ASSERT_TRUE(QFile::exists(socket));
    ::kill(pid_t(tool.processId()), c.signal);
    ASSERT_TRUE(tool.waitForFinished(5000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(socket));
}

INSTANTIATE_TEST_SUITE_P(Signals, PortSimToolEnding,
                         ::testing::Values(EndingCase{"InterruptWhileReading", SIGINT, false},
                                           EndingCase{"TerminateWhileReading", SIGTERM, false},
                                           EndingCase{"InterruptDuringATrain", SIGINT, true},
                                           EndingCase{"TerminateDuringATrain", SIGTERM, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
