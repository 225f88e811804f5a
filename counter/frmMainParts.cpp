#include "counter/frmMainParts.h"

#include "counter/core/DataLogger.h"
#include "counter/core/modMain.h"
#include "counter/core/TriggerEngine.h"
#include "counter/frmClockWarning.h"
#include "counter/frmInterface.h"
#include "counter/frmMain.h"
#include "counter/frmManual.h"
#include "counter/frmOptions.h"
#include "foundation/ui/frmAbout.h"
#include "foundation/ui/ShowModeless.h"

#include <QPointer>

#include <memory>

namespace brantock::counter {

namespace {

// The windows made on first use: the port dialog loads (and holds off the engine) only when
// it is shown or written to, the manual window has no owner, and the options window is made
// anew at every showing after it was closed.
struct LazyWindows {
    QPointer<frmInterface> portDialog;
    QPointer<frmManual> manual;
    QPointer<frmOptions> options;
    QPointer<frmAbout> about;
    // The options window from its load to its unload (a closed one waits to be deleted).
    frmOptions* loadedOptions() const {
        return options && options->isVisible() ? options.data() : nullptr;
    }
};

} // namespace

void frmMainParts::Connect(frmMain& form) {
    auto* engine = new TriggerEngine(form.comPort(), &form);
    auto* logger = new DataLogger(form.comPort(), &form);
    auto windows = std::make_shared<LazyWindows>();
    frmMainParts& p = form.parts;

    p.ResetCounter = [engine] { engine->ResetCounter(); };
    p.SetSecondTriggerUse = [engine](std::int32_t use) { engine->SetSecondTriggerUse(use); };
    p.SetThirdTriggerUse = [engine](std::int32_t use) { engine->SetThirdTriggerUse(use); };
    p.SetDSRDebounceInterval = [engine](int ms) { engine->timDSRdebounce().setInterval(ms); };
    p.SetCTSDebounceInterval = [engine](int ms) { engine->timCTSDebounce().setInterval(ms); };
    p.SetDCDDebounceInterval = [engine](int ms) { engine->timDCDDebounce().setInterval(ms); };
    p.ResetLineFlags = [engine](bool normallyOpen) {
        engine->SetDSRdebounce(false);
        engine->SetCTSdebounce(false);
        engine->SetDCDdebounce(false);
        engine->SetNormallyOpen(normallyOpen);
    };
    p.DSRNormallyOpen = [engine] { return engine->DSRNormallyOpen(); };
    p.SetLastLevels = [engine](bool dsr, bool cts, bool dcd) {
        engine->SetLastDSR(dsr);
        engine->SetLastCTS(cts);
        engine->SetLastDCD(dcd);
    };
    p.DSRShow = [engine](bool edge) { engine->DSRShow(edge); };
    p.CTSShow = [engine](bool edge) { engine->CTSShow(edge); };
    p.DCDShow = [engine](bool edge) { engine->DCDShow(edge); };
    p.comPort_OnComm = [engine] { engine->comPort_OnComm(); };

    p.LogToDatabase = [logger] { return logger->LogToDatabase(); };
    p.SetLogToDatabase = [logger](bool on) { logger->SetLogToDatabase(on); };
    p.LogTrigger = [logger](std::int16_t sensor, bool up, DateValue when) {
        logger->LogTrigger(sensor, up, when);
    };
    p.CheckForClockChange = [logger] { logger->CheckForClockChange(); };
    p.ShowClockWarning = [] { frmClockWarning::ShowModeless(); };
    p.GetSiteNameAndID = [] { counter::GetSiteNameAndID(); };

    p.GetPortNumber = [] { return counter::GetPortNumber(); };
    p.OpenValidPort = [](platform::CommControl& control, std::int16_t port) {
        return counter::OpenValidPort(control, port);
    };
    const auto portDialog = [&form, windows]() -> frmInterface& {
        if (!windows->portDialog)
            windows->portDialog = new frmInterface(form.comPort(), &form);
        return *windows->portDialog;
    };
    p.ShowPortDialog = [portDialog] { portDialog().exec(); };
    p.SetPortDialogMessage = [portDialog](const QString& text) { portDialog().SetMessage(text); };
    p.UnloadPortDialog = [windows] {
        if (windows->portDialog)
            windows->portDialog->done(QDialog::Rejected);
    };

    p.ShowManualWindow = [&form, engine, windows] {
        if (!windows->manual) {
            windows->manual = new frmManual(*engine, &form);
            windows->manual->setAttribute(Qt::WA_DeleteOnClose);
        }
        windows->manual->show();
    };
    p.UnloadManualWindow = [windows] {
        if (windows->manual)
            windows->manual->close();
    };

    p.ShowOptionsWindow = [&form, engine, logger, windows] {
        ShowModeless(windows->options, [&] { return new frmOptions(*engine, *logger, form); });
    };
    p.UpdateOptionsForm = [windows](const QString& portText) {
        if (frmOptions* options = windows->loadedOptions())
            options->UpdateInterfaceStatus(portText);
    };
    p.UnloadOptionsWindow = [windows] {
        if (frmOptions* options = windows->loadedOptions())
            options->close();
    };

    p.ShowAboutWindow = [&form, windows] {
        ShowModeless(windows->about,
                     [&] { return new frmAbout(frmAbout::AddressLookup::ProgramHive, &form); });
    };
}

} // namespace brantock::counter
