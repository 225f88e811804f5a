#include "counter/core/OptionsChoice.h"

#include "counter/core/InterfaceChoice.h"
#include "foundation/App.h"
#include "platform/serial/PortDeviceMap.h"
#include "runtime/Conversions.h"

namespace brantock::counter {

QString OptionsChoice::LockoutText(const QString& stored) {
    return QString::number(LeadingNumber(stored) / 1000.0, 'g', 15);
}

OptionsChoice::Lockout OptionsChoice::ReadLockout(const QString& text) {
    Lockout lockout;
    // The timers' time is single precision, as the setting has always been written.
    const float t = float(LeadingNumber(text) * 1000.0);
    if (t > LongestLockout) {
        lockout.milliseconds = LongestLockout;
        lockout.correctedText = QString::number(double(LongestLockout) / 1000.0, 'g', 15);
    } else if (t > 0 && t < ShortestLockout) {
        lockout.milliseconds = ShortestLockout;
        lockout.correctedText = QString::number(double(ShortestLockout) / 1000.0, 'g', 15);
    } else if (t < 0) {
        lockout.refused = true;
    } else {
        lockout.milliseconds = t;
    }
    return lockout;
}

QString OptionsChoice::MillisecondsText(float milliseconds) {
    return QString::number(double(milliseconds), 'g', 7);
}

QString OptionsChoice::InterfaceStatus(const QString& portText) {
    const QString lower = portText.toLower();
    if (lower == QStringLiteral("demo") || lower == QStringLiteral("manual"))
        return QStringLiteral("Manual");
    const int n = InterfaceChoice::PortNumber(portText);
    if (n >= platform::PortDeviceMap::FirstPort && n <= platform::PortDeviceMap::LastPort)
        return QStringLiteral("Com ") + QString::number(n);
    return QStringLiteral("Not specified");
}

QString OptionsChoice::ProgramPath() {
    return App::Path() + u'/' + App::EXEName();
}

} // namespace brantock::counter
