#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/TemporaryRegistry.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "platform/serial/CommControl.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace brantock;
using namespace brantock::counter;
using brantock::counter::testsupport::RecordingCounterWindow;
using brantock::counter::testsupport::SimulatedPorts;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::TemporaryRegistry;

namespace {

const QString PortsLine = QStringLiteral("\r\nPlease select a port from the list");

class PortOpening : public ::testing::Test {
protected:
    static void store(const Setting& setting, const QString& value) {
        SetRegSetting(setting, value, RegistryHive);
    }
    static QString stored() { return GetRegSetting(settings::ComPort, RegistryHive); }

    TemporaryRegistry registry;
    SimulatedPorts ports{registry};
    ScriptedErrors errors;
    RecordingCounterWindow window;
    platform::CommControl comPort;
};

TEST_F(PortOpening, NumbersOutsideOneToSixteenLeaveTheOpenPortAsItIs) {
    ports.serve(3);
    comPort.SetCommPort(3);
    comPort.SetPortOpen(true);
    for (const std::int16_t port : {0, 17, -1}) {
        EXPECT_EQ(OpenValidPort(comPort, port), 0) << port;
        EXPECT_TRUE(comPort.PortOpen()) << port;
        EXPECT_EQ(comPort.CommPort(), 3) << port;
    }
    EXPECT_TRUE(window.portMessages.empty());
    EXPECT_EQ(window.beeps, 0);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(PortOpening, AnsweringPortIsOpenedWithTheCheckSettings) {
    ports.serve(4);
    comPort.SetSettings(QStringLiteral("1200,n,8,1"));
    EXPECT_EQ(OpenValidPort(comPort, 4), 4);
    EXPECT_TRUE(comPort.PortOpen());
    EXPECT_EQ(comPort.CommPort(), 4);
    EXPECT_EQ(comPort.Settings(), QStringLiteral("9600,n,8,1"));
    EXPECT_TRUE(window.portMessages.empty());
    EXPECT_EQ(window.beeps, 0);
}

TEST_F(PortOpening, MissingPortIsNotAValidPort) {
    EXPECT_EQ(OpenValidPort(comPort, 5), 0);
    EXPECT_FALSE(comPort.PortOpen());
    ASSERT_EQ(window.portMessages.size(), 1u);
    EXPECT_EQ(window.portMessages[0], QStringLiteral("Com 5 is not a valid port.") + PortsLine);
    EXPECT_EQ(window.beeps, 1);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(PortOpening, PortHeldByAnotherControlIsAlreadyOpen) {
    ports.serve(6);
    platform::CommControl other;
    other.SetCommPort(6);
    other.SetPortOpen(true);
    EXPECT_EQ(OpenValidPort(comPort, 6), 0);
    ASSERT_EQ(window.portMessages.size(), 1u);
    EXPECT_EQ(window.portMessages[0], QStringLiteral("Com 6 is already open.") + PortsLine);
    EXPECT_EQ(window.beeps, 1);
    EXPECT_TRUE(other.PortOpen());
}

TEST_F(PortOpening, PortWithoutEchoGivesTheSensorMessageAndStaysOpen) {
    ports.serve(7).setEcho(false);
    EXPECT_EQ(OpenValidPort(comPort, 7), 0);
    EXPECT_TRUE(comPort.PortOpen());
    ASSERT_EQ(window.portMessages.size(), 1u);
    EXPECT_EQ(window.portMessages[0],
              QStringLiteral("I can't find a Brantock sensor attached to Com 7.\r\n Please "
                             "select a port from the list"));
    EXPECT_EQ(window.beeps, 1);
}

TEST_F(PortOpening, PortOpenBeforeIsClosedFirst) {
    ports.serve(2);
    ports.serve(8);
    comPort.SetCommPort(2);
    comPort.SetPortOpen(true);
    EXPECT_EQ(OpenValidPort(comPort, 8), 8);
    EXPECT_EQ(comPort.CommPort(), 8);
    EXPECT_TRUE(ports.serve(2).waitNoClient(std::chrono::seconds(5)));
}

TEST_F(PortOpening, WithoutTheWiringCheckAnyPortThatOpensIsAcceptedAsItIs) {
    store(settings::CheckWiring, QStringLiteral("0"));
    ports.serve(9).setEcho(false);
    comPort.SetSettings(QStringLiteral("1200,n,8,1"));
    comPort.SetRTSEnable(true);
    EXPECT_TRUE(CheckPortWiring(comPort));
    EXPECT_EQ(OpenValidPort(comPort, 9), 9);
    EXPECT_EQ(comPort.Settings(), QStringLiteral("1200,n,8,1"));
    EXPECT_TRUE(comPort.RTSEnable());
    EXPECT_TRUE(ports.serve(9).takeReceived().isEmpty()) << "nothing is sent";
}

TEST_F(PortOpening, HandShakeLoopRefusesAnInterfaceWithoutLoopBacks) {
    store(settings::HandShakeLoop, QStringLiteral("1"));
    ports.serve(10);
    comPort.SetCommPort(10);
    comPort.SetPortOpen(true);
    EXPECT_FALSE(CheckPortWiring(comPort));
    EXPECT_EQ(OpenValidPort(comPort, 10), 0);
    EXPECT_EQ(window.beeps, 1);

    ports.serve(10).setLoop(true);
    EXPECT_EQ(OpenValidPort(comPort, 10), 10);
}

TEST_F(PortOpening, HandShakeLoopLeavesTheLinesWhereTheTestPutThem) {
    store(settings::HandShakeLoop, QStringLiteral("1"));
    ports.serve(11).setLoop(true);
    comPort.SetDTREnable(true);
    comPort.SetRTSEnable(false);
    EXPECT_EQ(OpenValidPort(comPort, 11), 11);
    EXPECT_TRUE(comPort.RTSEnable());
    EXPECT_FALSE(comPort.DTREnable());
}

TEST_F(PortOpening, SettingIsReadAndStoredUnderComPort) {
    EXPECT_EQ(GetPortNumberString(), QString());
    EXPECT_EQ(GetPortNumber(), 0);
    SetPortNumber(QStringLiteral("12"));
    EXPECT_EQ(stored(), QStringLiteral("12"));
    EXPECT_EQ(GetPortNumberString(), QStringLiteral("12"));
    EXPECT_EQ(InterfaceName, QStringLiteral("12"));
    EXPECT_EQ(GetPortNumber(), 12);
}

TEST_F(PortOpening, CommandLinePortOverridesAndIsNeverStored) {
    store(settings::ComPort, QStringLiteral("3"));
    CommandLinePort = QStringLiteral("7");
    EXPECT_EQ(GetPortNumber(), 7);
    EXPECT_EQ(InterfaceName, QStringLiteral("7"));
    SetPortNumber(QStringLiteral("9"));
    EXPECT_EQ(CommandLinePort, QStringLiteral("9"));
    EXPECT_EQ(GetPortNumberString(), QStringLiteral("9"));
    EXPECT_EQ(stored(), QStringLiteral("3"));
}

TEST_F(PortOpening, DemoInAnyCaseReadsAsManual) {
    for (const char* demo : {"DEMO", "demo", "Demo"}) {
        store(settings::ComPort, QString::fromLatin1(demo));
        EXPECT_EQ(GetPortNumberString(), QStringLiteral("Manual")) << demo;
        EXPECT_EQ(InterfaceName, QStringLiteral("Manual")) << demo;
        EXPECT_EQ(GetPortNumber(), 0) << demo;
    }
}

TEST_F(PortOpening, PortNumberIsTheSettingsLeadingNumberRoundedToEven) {
    const std::vector<std::pair<const char*, int>> cases{{"12", 12}, {" 4", 4},     {"2.5", 2},
                                                         {"3.5", 4}, {"Manual", 0}, {"", 0},
                                                         {"5x", 5},  {"-2", -2},    {"99999", 0}};
    for (const auto& [text, port] : cases) {
        store(settings::ComPort, QString::fromLatin1(text));
        EXPECT_EQ(GetPortNumber(), port) << text;
    }
    EXPECT_TRUE(errors.reports().empty()) << "a number beyond any port is no error";
}

} // namespace
