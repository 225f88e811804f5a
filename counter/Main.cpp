#include "counter/Main.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/frmMain.h"
#include "counter/InstanceLock.h"
#include "foundation/ErrorHandler.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "foundation/ModxpLook.h"
#include "foundation/ReportingHandler.h"
#include "platform/dialogs/MessageBoxService.h"
#include "runtime/RuntimeError.h"

#include <QTime>

#include <cstdlib>

namespace brantock::counter {

namespace {

const QString Title = QStringLiteral("Brantock");
constexpr int InformationBox = platform::style::SystemModal + platform::style::Information;
// The start-up's trail and activity: its own steps' and those of an error the window's load
// raises into it.
constexpr const char* MainTrail = "sub Main&";
constexpr const char* Loading = "loading the application";

std::unique_ptr<frmMain>& mainWindow() {
    static std::unique_ptr<frmMain> window;
    return window;
}

} // namespace

bool LoadErrorHandler(const std::function<std::unique_ptr<ErrorHandler>()>& make) {
    const QString cause = ErrorHandler::TryInstall(make);
    if (cause.isNull())
        return true;
    Message(QStringLiteral("I can't load the error handler! Brantock can't run without this.") +
                u'\n' + QStringLiteral("Cause of the problem: ") + cause,
            platform::style::SystemModal + platform::style::Critical,
            QStringLiteral("Can't load the error handler"));
    return false;
}

bool SingleInstanceRule(bool previousInstance) {
    if (!previousInstance || (MultiPort && !CommandLinePort.isEmpty()))
        return true;
    if (MultiPort)
        Message(QStringLiteral(
                    "You are attempting to run multiple copies of Brantock. You must specify a "
                    "port for each instance of Brantock. Please start Brantock again. Specify the "
                    "location of the data file using the 'DATAPATH=' command line switch and "
                    "specify the sensor port using the PORT= command line switch."),
                InformationBox, Title);
    else
        Message(QStringLiteral("Brantock is already running. You can't run more than one copy at "
                               "once unless you have configured Brantock to run with multiple "
                               "sensors."),
                InformationBox, Title);
    return false;
}

int Main() {
    RunIgnoringErrors({[] { InitXPLook(); }});
    if (!LoadErrorHandler([] { return std::make_unique<ErrorHandler>(); }))
        return 0;

    bool ok = false;
    // Held for the life of the process: it is what later starts see as running.
    static std::unique_ptr<InstanceLock> instance;
    const bool ran =
        ReportingHandler(MainTrail, Loading)
            .run({
                [] { std::srand(unsigned(QTime::currentTime().msecsSinceStartOfDay())); },
                [] { ErrorHandler::Current().SetApplicationName(Title); },
                [] { ErrorHandler::Current().SetMode(QStringLiteral("basic")); },
                [] { SetHelpFile(QStringLiteral("brantock.chm"), QStringLiteral("brantock.hlp")); },
                [&] {
                    RegistryHive = platform::HKEY_CURRENT_USER;
                    ok = true;
                },
                [] { ParseCommandLine(); },
                [] { InterfaceOffset = CommandLineInterfaceOffset; },
                [&] {
                    if (!instance)
                        instance = std::make_unique<InstanceLock>();
                    ok = SingleInstanceRule(instance->PreviousInstance());
                },
                [&] { return ok ? Flow::Next : Flow::Leave; },
            });
    if (!ran || !ok)
        return 0;

    RunIgnoringErrors({
        [] { mainWindow() = std::make_unique<frmMain>(); },
        [] {
            try {
                mainWindow()->Show();
            } catch (const RuntimeError& e) {
                if (e.number() != 0 && e.number() != err::ObjectUnloaded)
                    ErrorHandler::Current().HandleError(true, e.description(), e.number(),
                                                        MainTrail, QString(), Loading);
            }
        },
    });
    return LoadedMainWindow() ? 1 : 0;
}

frmMain* LoadedMainWindow() {
    frmMain* window = mainWindow().get();
    return window && window->Loaded() ? window : nullptr;
}

void ReleaseMainWindow() {
    mainWindow().reset();
}

} // namespace brantock::counter
