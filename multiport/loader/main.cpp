#include "multiport/loader/modMultiPortStub.h"

#include "foundation/App.h"
#include "multiport/core/UnhandledError.h"
#include "platform/ui/QtServices.h"

#include <QApplication>

// The launcher shows no window of its own, only its message boxes. Started where there is no
// screen (a console, a service), it still starts the counters: its boxes then go to the
// standard error, as boxes do offscreen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    brantock::platform::QtServices::install();
    brantock::App::SetTitle(QStringLiteral("BrantockMultiPortLoader"));
    using brantock::multiport::UnhandledError;
    return UnhandledError::Run(&brantock::multiport::Main) ? 0 : UnhandledError::ExitCode;
}
