#pragma once

#include "runtime/DateValue.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

class frmMain;

// Every call of the main window into the counter's other parts: the trigger engine, the
// data logger, the port routines and port dialog, the manual window, the options window and
// the about box. The window calls each only when it is set; Connect, in
// frmMainParts.cpp, is the one place that sets them.
struct frmMainParts {
    // The trigger engine.
    std::function<void()> ResetCounter;
    std::function<void(std::int32_t)> SetSecondTriggerUse;
    std::function<void(std::int32_t)> SetThirdTriggerUse;
    std::function<void(int)> SetDSRDebounceInterval;
    std::function<void(int)> SetCTSDebounceInterval;
    std::function<void(int)> SetDCDDebounceInterval;
    // DSRdebounce, CTSdebounce, DCDdebounce false; the three normally-open flags.
    std::function<void(bool normallyOpen)> ResetLineFlags;
    std::function<bool()> DSRNormallyOpen;
    // LastDSR, LastCTS, LastDCD.
    std::function<void(bool dsr, bool cts, bool dcd)> SetLastLevels;
    std::function<void(bool)> DSRShow;
    std::function<void(bool)> CTSShow;
    std::function<void(bool)> DCDShow;
    std::function<void()> comPort_OnComm;

    // The data logger and the clock warning.
    std::function<bool()> LogToDatabase;
    std::function<void(bool)> SetLogToDatabase;
    std::function<void(std::int16_t, bool, DateValue)> LogTrigger;
    std::function<void()> CheckForClockChange;
    std::function<void()> ShowClockWarning;
    std::function<void()> GetSiteNameAndID;

    // The port routines and the port dialog.
    std::function<std::int16_t()> GetPortNumber;
    std::function<std::int16_t(platform::CommControl&, std::int16_t)> OpenValidPort;
    std::function<void()> ShowPortDialog; // modal
    std::function<void(const QString&)> SetPortDialogMessage;
    std::function<void()> UnloadPortDialog;

    // The manual window.
    std::function<void()> ShowManualWindow;
    std::function<void()> UnloadManualWindow;

    // The options window (modeless, owned by the main window) and the about box.
    std::function<void()> ShowOptionsWindow;
    std::function<void(const QString&)> UpdateOptionsForm;
    std::function<void()> UnloadOptionsWindow;
    std::function<void()> ShowAboutWindow;

    // Makes the parts, owned by the window, and sets the calls above to them.
    static void Connect(frmMain& form);
};

} // namespace brantock::counter
