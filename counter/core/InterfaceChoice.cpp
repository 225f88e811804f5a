#include "counter/core/InterfaceChoice.h"

#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"
#include "foundation/ErrorsIgnored.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommErrors.h"
#include "platform/serial/PortDeviceMap.h"
#include "runtime/Conversions.h"

#include <limits>

namespace brantock::counter {

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString comText(int port) {
    return QStringLiteral("Com %1").arg(port);
}

bool isPort(int n) {
    return n >= platform::PortDeviceMap::FirstPort && n <= platform::PortDeviceMap::LastPort;
}
} // namespace

InterfaceChoice::PortScan InterfaceChoice::ScanPorts(platform::CommControl& comPort,
                                                     const QString& setting) {
    PortScan scan;
    ErrorsIgnored error;
    bool found = false;
    const double settingNumber = LeadingNumber(setting);
    for (int i = platform::PortDeviceMap::FirstPort; i <= platform::PortDeviceMap::LastPort; ++i) {
        error.run([&] { comPort.SetPortOpen(false); });
        error.clear();
        error.run([&] { comPort.SetCommPort(i); });
        error.run([&] { comPort.SetPortOpen(true); });
        if (error.number() != 0) {
            // A port that is missing or taken is simply not listed.
            if (error.number() == platform::comErr::InvalidPort ||
                error.number() == platform::comErr::PortAlreadyOpen)
                error.clear();
            continue;
        }
        bool wired = false;
        error.run([&] { wired = CheckPortWiring(comPort); });
        if (wired) {
            scan.entries << comText(i);
            if (settingNumber == double(i))
                found = true;
        }
        error.run([&] { comPort.SetPortOpen(false); });
    }
    scan.entries << ManualEntry;
    if (setting == ManualEntry) {
        scan.message = QStringLiteral("Click 'OK' to continue in manual trigger mode, otherwise "
                                      "select the port you would like to use for the Brantock "
                                      "interface.");
        scan.text = ManualEntry;
    } else {
        scan.message =
            QStringLiteral("Please select the port you would like to use for the Brantock "
                           "interface.");
        scan.text = found ? QStringLiteral("Com ") + setting : scan.entries.front();
    }
    scan.errorNumber = error.number();
    scan.errorDescription = error.description();
    return scan;
}

std::int16_t InterfaceChoice::PortNumber(const QString& text) {
    const double n = RoundHalfEven(LeadingNumber(text));
    if (!(n >= std::numeric_limits<std::int16_t>::min() &&
          n <= std::numeric_limits<std::int16_t>::max()))
        return 0;
    return std::int16_t(n);
}

std::int16_t InterfaceChoice::PortNum(const QString& text) {
    return withTrail("PortNum&", [&] {
        QString rest = text;
        rest.remove(QStringLiteral("Com"), Qt::CaseInsensitive);
        rest.remove(u' ');
        return PortNumber(rest);
    });
}

QString InterfaceChoice::ClickedText(const QString& text) {
    const std::int16_t n = PortNum(text);
    return text != ManualEntry && isPort(n) ? comText(n) : text;
}

InterfaceChoice::OkChoice InterfaceChoice::ChooseOK(const QString& text) {
    OkChoice choice;
    if (text.toLower() == QStringLiteral("manual")) {
        choice.kind = OkChoice::Kind::Manual;
        return choice;
    }
    const std::int16_t n = PortNum(text);
    if (isPort(n)) {
        choice.kind = OkChoice::Kind::Port;
        choice.port = n;
    } else if (TrimBlanks(text).isEmpty()) {
        choice.message = QStringLiteral("Please choose an interface from the list");
    } else {
        choice.message = text + QStringLiteral(" is not a valid port name") + CrLf +
                         QStringLiteral("Please select an entry from the list");
    }
    return choice;
}

InterfaceChoice::CancelChoice InterfaceChoice::ChooseCancel(platform::CommControl& comPort) {
    CancelChoice choice;
    if (ManualTriggerMode) {
        choice.kind = CancelChoice::Kind::StayManual;
        return choice;
    }
    choice.port = OpenValidPort(comPort, GetPortNumber());
    choice.kind = choice.port > 0 ? CancelChoice::Kind::Reopened : CancelChoice::Kind::Failed;
    return choice;
}

} // namespace brantock::counter
