#pragma once

#include "runtime/DateValue.h"

#include <QString>

#include <cstdint>

namespace brantock::counter {

// What the counter's rules call on its windows: the main window's labels, icons, status
// history and public procedures, the port dialog's message line, the options window. The
// main window implements it and installs itself; tests install a recording one. Keeping the
// rules (trigger engine, logging, port and site routines) behind it lets them run and be
// tested without a window.
class CounterWindow {
public:
    // The main window's icons that the rules show and hide.
    enum class Icon {
        DSRTrigger,
        CTSTrigger,
        DCDTrigger,
        DSRDebounce,
        CTSDebounce,
        DCDDebounce,
        LogToDatabase,
        Mute
    };

    virtual ~CounterWindow() = default;

    // lblCounter: the main count as its caption, the number and one blank ("0 ").
    virtual QString CounterCaption() const = 0;
    virtual void SetCounterCaption(const QString& caption) = 0;
    // lblSensorCounter(index), index 0 to 2 for sensors 1 to 3.
    virtual QString SensorCounterCaption(int index) const = 0;
    virtual void SetSensorCounterCaption(int index, const QString& caption) = 0;
    virtual bool IconVisible(Icon icon) const = 0;
    virtual void SetIconVisible(Icon icon, bool visible) = 0;
    // lstHistory.Clear
    virtual void ClearHistory() = 0;

    // The main window's public procedures.
    virtual void UpdateStatus(QString& newStatus, bool showTime) = 0;
    virtual void UpdateDetails() = 0;
    virtual void ResetCounter() = 0;
    virtual void CheckForClockChange() = 0;
    virtual void PlayTriggerWav() = 0;
    // Logs one trigger that happened at `when` (local date and time).
    virtual void LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when) = 0;

    // frmClockWarning shown modeless (brought forward when it is open already).
    virtual void ShowClockWarning() = 0;
    // frmInterface's message line; setting it loads the dialog when it is not loaded.
    virtual void SetPortDialogMessage(const QString& text) = 0;
    // frmInterface shown modal.
    virtual void ShowPortDialog() = 0;
    // The main window's icon put into the tray, and taken out.
    virtual void AddTrayIcon() = 0;
    virtual void DeleteTrayIcon() = 0;
    // The platform's beep.
    virtual void Beep() = 0;
    // UpdateInterfaceStatus of the options window when it is loaded.
    virtual void UpdateOptionsForm(const QString& portText) = 0;
    // Unloads the options window when it is loaded.
    virtual void UnloadOptionsWindow() = 0;
    // frmManual shown modeless (loaded when it is not), and unloaded.
    virtual void ShowManualWindow() = 0;
    virtual void UnloadManualWindow() = 0;
    // Unloads the main window, which ends the program; asked again while it unloads, nothing.
    virtual void UnloadMainWindow() = 0;
    // Lets pending events run on the window thread.
    virtual void LetEventsRun() = 0;

    // The installed window: the main window while it exists, or a test's. Raises the
    // internal error (51) when none is installed.
    static CounterWindow& current();
    static void setCurrent(CounterWindow* window);
};

} // namespace brantock::counter
