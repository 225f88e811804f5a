#include "multiport/loader/modMultiPortStub.h"

#include "foundation/App.h"
#include "multiport/core/modMultiPort.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/os/Shell.h"

namespace brantock::multiport {

namespace {

constexpr int ShowNormal = 1;
constexpr int LastFailure = 32;
constexpr int FailureStyle = platform::style::SystemModal + platform::style::Exclamation;

// Starts one counter; the counter reads each item trimmed, so the one blank stays as it is.
void StartCounter(const QString& port, const QString& tag, int interfaceOffset,
                  const QString& copy) {
    const QString parameters = QStringLiteral("multiport=yes, port=") + port +
                               QStringLiteral(",tag=") + tag + QStringLiteral(",InterfaceOffset=") +
                               QString::number(interfaceOffset);
    const int r = platform::Shell::current().ShellExecute(
        nullptr, QStringLiteral("open"), CounterFileName, parameters, App::Path(), ShowNormal);
    if (r <= LastFailure)
        platform::MessageBoxService::current().show(
            {QStringLiteral("Sorry, I am having problems running ") + copy +
                 QStringLiteral(" copy of Brantock") + u'\n' + QStringLiteral("Error code: ") +
                 QString::number(r),
             FailureStyle, QStringLiteral("Problems running reports")});
}

} // namespace

void Main() {
    QString port1, port2, tag1, tag2;
    GetMultiPortSettings(port1, port2, tag1, tag2);
    StartCounter(port1, tag1, 0, QStringLiteral("first"));
    StartCounter(port2, tag2, 1, QStringLiteral("second"));
}

} // namespace brantock::multiport
