#include "reports/Main.h"

#include "foundation/ErrorHandler.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "foundation/ModxpLook.h"
#include "foundation/ReportingHandler.h"
#include "platform/dialogs/MessageBoxService.h"
#include "reports/frmMain.h"
#include "runtime/RuntimeError.h"

namespace brantock::reports {

namespace {

std::unique_ptr<frmMain>& mainWindow() {
    static std::unique_ptr<frmMain> window;
    return window;
}

} // namespace

bool Main() {
    return Main([] { return std::make_unique<ErrorHandler>(); });
}

bool Main(const std::function<std::unique_ptr<ErrorHandler>()>& make) {
    // Both steps run whatever the first gave; the last failure is the one told.
    QString cause;
    try {
        InitXPLook();
    } catch (const RuntimeError& e) {
        cause = e.description();
    }
    const QString handlerCause = ErrorHandler::TryInstall(make);
    if (!handlerCause.isNull())
        cause = handlerCause;
    if (!cause.isNull()) {
        Message(QStringLiteral("I am not able to run my error handler. I can't run without this!") +
                    u'\n' + QStringLiteral("The cause of the problem was: ") + cause,
                platform::style::SystemModal + platform::style::Critical,
                QStringLiteral("Can't start error handler"));
        return false;
    }

    ReportingHandler("sub Main&", "loading the application")
        .run({
            [] { ParseCommandLine(); },
            [] { RegistryHive = platform::HKEY_CURRENT_USER; },
            [] { SetHelpFile(QStringLiteral("brantock.chm"), QStringLiteral("brantock.hlp")); },
            [] { ShowMainForm(); },
        });
    return LoadedMainWindow() != nullptr;
}

void ShowMainForm() {
    withTrail("ShowMainForm&", [] {
        std::unique_ptr<frmMain>& window = mainWindow();
        // A closed window is loaded anew, with its whole load.
        if (!window || !window->Loaded())
            window = std::make_unique<frmMain>();
        try {
            window->Show();
        } catch (const RuntimeError& e) {
            if (e.number() != err::ObjectUnloaded)
                throw;
        }
    });
}

frmMain* LoadedMainWindow() {
    frmMain* window = mainWindow().get();
    return window && window->Loaded() ? window : nullptr;
}

void ReleaseMainWindow() {
    mainWindow().reset();
}

} // namespace brantock::reports
