#pragma once

#include "counter/frmOptionsUi.h"

#include <QDialog>
#include <QString>

namespace brantock::counter {

class CounterWindow;
class DataLogger;
class TriggerEngine;

// The options window: every control writes its setting the moment it changes and applies it
// to the running counter at once, on the trigger engine, the logger and the main window that
// owns it. It keeps no setting of its own but the switch type last applied; closing it
// changes nothing. The lockout and interface rules live in OptionsChoice.
class frmOptions : public QDialog {
    Q_OBJECT
public:
    // Most characters the user may type into the lockout time.
    static constexpr int LockoutTypedLength = 5;

    // Loads the window: each control is set from its setting, and its handler stores and
    // applies the value once more where it differs from the control's design state.
    frmOptions(TriggerEngine& engine, DataLogger& logger, CounterWindow& owner,
               QWidget* ownerWindow);

    // lblComPort for a port setting text; the port dialog calls it after OK and Cancel.
    void UpdateInterfaceStatus(const QString& portText);

    const frmOptionsUi& ui() const { return ui_; }

public Q_SLOTS:
    void cboEdge_Click();
    void cboNormallyOpen_Click();
    void cboSensor2_Click();
    void cboSensor3_Click();
    void txtDebounceTime_Change();
    void chkStartMin_Click();
    void chkRunOnStartup_Click();
    void chkReset_Click();
    void chkLog_Click();
    void chkScrollStatus_Click();
    void chkMinToTray_Click();
    void cmdSelectPort_Click();
    void cmdChangeDataPath_Click();
    void cmdClose_Click();

public:
    // A character typed into the lockout time; the handler sets KeyAscii to 0 to discard it.
    void txtDebounceTime_KeyPress(int& KeyAscii);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void connectControls();

    frmOptionsUi ui_;
    TriggerEngine& engine_;
    DataLogger& logger_;
    CounterWindow& owner_;
    bool OriginalNormallyOpen = false;
};

} // namespace brantock::counter
