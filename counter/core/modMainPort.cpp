#include "counter/core/modMain.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/CounterWindow.h"
#include "counter/core/InterfaceChoice.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "foundation/ReportingHandler.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommErrors.h"
#include "platform/serial/PortDeviceMap.h"

namespace brantock::counter {

namespace {
const QString CrLf = QStringLiteral("\r\n");
const QString CheckText = QStringLiteral("Brantock");
} // namespace

QString GetPortNumberString() {
    QString result;
    QString s;
    ReportingHandler("GetPortNumberString&", "Trying to obtain a port number")
        .run({
            [&] {
                s = !CommandLinePort.isEmpty() ? CommandLinePort
                                               : GetRegSetting(settings::ComPort, RegistryHive);
            },
            [&] {
                if (s.toLower() == QStringLiteral("demo"))
                    s = InterfaceChoice::ManualEntry;
            },
            [&] { InterfaceName = s; },
            [&] { result = s; },
        });
    return result;
}

std::int16_t GetPortNumber() {
    std::int16_t result = 0;
    ReportingHandler("GetPortNumber&", "Trying to obtain a port number").run([&] {
        result = InterfaceChoice::PortNumber(GetPortNumberString());
    });
    return result;
}

void SetPortNumber(const QString& portText) {
    ReportingHandler("SetPortNumber&", "Storing the port number").run([&] {
        // A port given on the command line is this run's only, and never stored.
        if (!CommandLinePort.isEmpty())
            CommandLinePort = portText;
        else
            SetRegSetting(settings::ComPort, portText, RegistryHive);
    });
}

std::int16_t OpenValidPort(platform::CommControl& control, std::int16_t port) {
    std::int16_t result = 0;
    if (port < platform::PortDeviceMap::FirstPort || port > platform::PortDeviceMap::LastPort)
        return result;

    // From here a failure to open is the answer, given as the message line and a beep.
    ErrorsIgnored error;
    const auto tell = [&](const QString& message) {
        error.run([&] { CounterWindow::current().SetPortDialogMessage(message); });
        error.run([&] { CounterWindow::current().Beep(); });
    };
    const QString com = QStringLiteral("Com %1").arg(port);
    error.run([&] { control.SetPortOpen(false); });
    error.clear();
    error.run([&] { control.SetCommPort(port); });
    error.run([&] { control.SetPortOpen(true); });
    switch (error.number()) {
    case 0: {
        bool wired = false;
        error.run([&] { wired = CheckPortWiring(control); });
        if (wired)
            result = port;
        else
            tell(QStringLiteral("I can't find a Brantock sensor attached to ") + com +
                 QStringLiteral(".") + CrLf +
                 QStringLiteral(" Please select a port from the list"));
        break;
    }
    case platform::comErr::PortAlreadyOpen:
        error.clear();
        tell(com + QStringLiteral(" is already open.") + CrLf +
             QStringLiteral("Please select a port from the list"));
        break;
    case platform::comErr::InvalidPort:
        error.clear();
        tell(com + QStringLiteral(" is not a valid port.") + CrLf +
             QStringLiteral("Please select a port from the list"));
        break;
    default:
        error.run([&] { control.SetPortOpen(false); });
        break;
    }
    return result;
}

bool CheckPortWiring(platform::CommControl& control) {
    bool result = false;
    bool handShakeLoop = false;
    // An output line set and its looped-back input read straight after, with no wait.
    const auto follows = [&](bool (platform::CommControl::*input)() const,
                             void (platform::CommControl::*setOutput)(bool)) {
        const bool level = (control.*input)();
        (control.*setOutput)(!(control.*input)());
        return (control.*input)() != level;
    };
    ReportingHandler("CheckPortWiring&", "Checking the configuration of the com port")
        .run({
            [&] {
                if (GetRegBoolean(settings::CheckWiring, RegistryHive))
                    return Flow::Next;
                result = true;
                return Flow::Leave;
            },
            [&] { result = false; },
            [&] { control.SetSettings(QStringLiteral("9600,n,8,1")); },
            [&] { control.SetInputMode(0); },
            [&] { handShakeLoop = GetRegBoolean(settings::HandShakeLoop, RegistryHive); },
            [&] {
                if (!handShakeLoop)
                    return Flow::Next;
                return follows(&platform::CommControl::CDHolding,
                               &platform::CommControl::SetRTSEnable)
                           ? Flow::Next
                           : Flow::Leave;
            },
            [&] {
                if (!handShakeLoop)
                    return Flow::Next;
                return follows(&platform::CommControl::CTSHolding,
                               &platform::CommControl::SetDTREnable)
                           ? Flow::Next
                           : Flow::Leave;
            },
            [&] { control.SetOutput(CheckText); },
            [&] { Pause(100); },
            [&] {
                if (control.Input() == CheckText)
                    result = true;
            },
        });
    return result;
}

} // namespace brantock::counter
