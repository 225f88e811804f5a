#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/TemporaryRegistry.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/InterfaceChoice.h"
#include "foundation/modRegistry.h"
#include "platform/serial/CommControl.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;
using brantock::counter::testsupport::RecordingCounterWindow;
using brantock::counter::testsupport::SimulatedPorts;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::TemporaryRegistry;
using Kind = InterfaceChoice::OkChoice::Kind;

namespace {

const QString SelectMessage =
    QStringLiteral("Please select the port you would like to use for the Brantock interface.");

class PortScan : public ::testing::Test {
protected:
    TemporaryRegistry registry;
    SimulatedPorts ports{registry};
    ScriptedErrors errors;
    RecordingCounterWindow window;
    platform::CommControl comPort;
};

TEST_F(PortScan, ListsExactlyTheAnsweringPortsAndManualLast) {
    ports.serve(2);
    ports.serve(5);
    ports.serve(7).setEcho(false);
    ports.serve(9);
    platform::CommControl other;
    other.SetCommPort(9);
    other.SetPortOpen(true);

    const InterfaceChoice::PortScan scan = InterfaceChoice::ScanPorts(comPort, "5");
    EXPECT_EQ(scan.entries, QStringList({"Com 2", "Com 5", "Manual"}));
    EXPECT_EQ(scan.text, QStringLiteral("Com 5"));
    EXPECT_EQ(scan.message, SelectMessage);
    EXPECT_EQ(scan.errorNumber, 0);
    EXPECT_FALSE(comPort.PortOpen()) << "the scan leaves the port closed";
    EXPECT_TRUE(window.portMessages.empty());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(PortScan, PreselectsTheStoredPortWhenListedElseTheFirstEntry) {
    ports.serve(3);
    ports.serve(6);
    struct Case {
        const char* setting;
        const char* text;
    };
    for (const Case& c : {Case{"6", "Com 6"}, Case{"4", "Com 3"}, Case{"", "Com 3"}}) {
        const InterfaceChoice::PortScan scan = InterfaceChoice::ScanPorts(comPort, c.setting);
        EXPECT_EQ(scan.text, QString::fromLatin1(c.text)) << c.setting;
        EXPECT_EQ(scan.message, SelectMessage) << c.setting;
    }
}

TEST_F(PortScan, ManualSettingPreselectsManualWithItsMessage) {
    ports.serve(3);
    const InterfaceChoice::PortScan scan = InterfaceChoice::ScanPorts(comPort, "Manual");
    EXPECT_EQ(scan.entries, QStringList({"Com 3", "Manual"}));
    EXPECT_EQ(scan.text, QStringLiteral("Manual"));
    EXPECT_EQ(scan.message,
              QStringLiteral("Click 'OK' to continue in manual trigger mode, otherwise select "
                             "the port you would like to use for the Brantock interface."));
}

TEST_F(PortScan, NoAnsweringPortLeavesOnlyManualPreselected) {
    ports.serve(4).setEcho(false);
    const InterfaceChoice::PortScan scan = InterfaceChoice::ScanPorts(comPort, "4");
    EXPECT_EQ(scan.entries, QStringList({"Manual"}));
    EXPECT_EQ(scan.text, QStringLiteral("Manual"));
    EXPECT_EQ(scan.message, SelectMessage);
}

TEST_F(PortScan, WithoutTheWiringCheckEveryPortThatOpensIsListed) {
    SetRegSetting(settings::CheckWiring, QStringLiteral("0"), RegistryHive);
    ports.serve(1).setEcho(false);
    ports.serve(16);
    const InterfaceChoice::PortScan scan = InterfaceChoice::ScanPorts(comPort, "");
    EXPECT_EQ(scan.entries, QStringList({"Com 1", "Com 16", "Manual"}));
    EXPECT_FALSE(comPort.PortOpen()) << "the last port is closed too";
}

TEST(InterfaceChoice, PortNumReadsThePortInEveryTypedForm) {
    const std::vector<std::pair<const char*, int>> cases{
        {"Com 12", 12},  {"com12", 12},  {"COM 12", 12}, {"12", 12},      {" 1 2 ", 12},
        {"cOm 1 2", 12}, {"Com 3", 3},   {"Manual", 0},  {"", 0},         {"c o m 3", 0},
        {"Com", 0},      {"Com 2.5", 2}, {"Com -1", -1}, {"Com 99999", 0}};
    for (const auto& [text, port] : cases)
        EXPECT_EQ(InterfaceChoice::PortNum(QString::fromLatin1(text)), port) << text;
}

TEST(InterfaceChoice, ChoiceInTheListIsShownAsItsPort) {
    const std::vector<std::pair<const char*, const char*>> cases{
        {"Com 3", "Com 3"},   {"com3", "Com 3"},    {"16", "Com 16"},  {"17", "17"},
        {"Manual", "Manual"}, {"manual", "manual"}, {"Com 0", "Com 0"}};
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(InterfaceChoice::ClickedText(QString::fromLatin1(text)),
                  QString::fromLatin1(shown))
            << text;
}

TEST(InterfaceChoice, OKTellsManualAPortOrWhyTheTextIsRefused) {
    struct Case {
        const char* text;
        Kind kind;
        int port;
        const char* message;
    };
    const std::vector<Case> cases{
        {"Manual", Kind::Manual, 0, ""},
        {"MANUAL", Kind::Manual, 0, ""},
        {"Com 12", Kind::Port, 12, ""},
        {"com 1", Kind::Port, 1, ""},
        {"16", Kind::Port, 16, ""},
        {"", Kind::Refused, 0, "Please choose an interface from the list"},
        {"   ", Kind::Refused, 0, "Please choose an interface from the list"},
        {"Com 17", Kind::Refused, 0,
         "Com 17 is not a valid port name\r\nPlease select an entry from the list"},
        {"printer", Kind::Refused, 0,
         "printer is not a valid port name\r\nPlease select an entry from the list"},
        {" Manual mode", Kind::Refused, 0,
         " Manual mode is not a valid port name\r\nPlease select an entry from the list"},
    };
    for (const Case& c : cases) {
        const InterfaceChoice::OkChoice choice =
            InterfaceChoice::ChooseOK(QString::fromLatin1(c.text));
        EXPECT_EQ(choice.kind, c.kind) << c.text;
        EXPECT_EQ(choice.port, c.port) << c.text;
        EXPECT_EQ(choice.message, QString::fromLatin1(c.message)) << c.text;
    }
}

} // namespace
