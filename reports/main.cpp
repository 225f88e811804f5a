#include "reports/Main.h"
#include "foundation/App.h"
#include "platform/ui/QtServices.h"
#include "platform/ui/report/QtPrinterDialog.h"
#include "reports/clsBrantockReports.h"
#include "reports/frmMain.h"

#include <QApplication>
#include <QDBusConnection>
#include <QPointer>
#include <QTimer>

namespace {

// How long a process the bus started waits for the call it was started for, when its own
// start left no window.
constexpr int ActivationWaitMs = 60000;

} // namespace

int main(int argc, char** argv) {
    using namespace brantock;
    QApplication app(argc, argv);
    // The program runs while its window is loaded, however the window goes away.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::QtServices::install();
    platform::QtPrinterDialog::install();
    App::SetTitle(QStringLiteral("Brantock Reports"));

    // Started by the bus for an automation call: that call is still to come.
    const bool activated = qEnvironmentVariableIsSet("DBUS_STARTER_BUS_TYPE");
    reports::clsBrantockReports automation;
    const bool loaded = reports::Main();
    automation.Register(QDBusConnection::sessionBus());
    if (!loaded && !activated) {
        reports::ReleaseMainWindow();
        return 0;
    }

    // The process ends when no window is loaded after its window closes or a Run ends.
    QPointer<reports::frmMain> watched;
    const auto endWithoutWindow = [&] {
        if (!reports::LoadedMainWindow())
            QCoreApplication::quit();
    };
    const auto watch = [&] {
        reports::frmMain* window = reports::LoadedMainWindow();
        if (window && window != watched) {
            watched = window;
            QObject::connect(window, &reports::frmMain::unloaded, &app, endWithoutWindow,
                             Qt::QueuedConnection);
        }
    };
    watch();
    QObject::connect(&automation, &reports::clsBrantockReports::ran, &app, [&] {
        watch();
        QTimer::singleShot(0, &app, endWithoutWindow);
    });
    if (!loaded)
        QTimer::singleShot(ActivationWaitMs, &app, [&] {
            if (automation.calls() == 0)
                endWithoutWindow();
        });
    const int result = app.exec();
    reports::ReleaseMainWindow();
    return result;
}
