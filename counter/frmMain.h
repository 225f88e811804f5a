#pragma once

#include "counter/core/CounterWindow.h"
#include "counter/core/DataLogger.h"
#include "counter/core/TriggerEngine.h"
#include "counter/frmMainUi.h"
#include "foundation/ui/FormLife.h"
#include "platform/serial/CommControl.h"

#include <QMainWindow>
#include <QPointer>

class QSystemTrayIcon;

namespace brantock {
class frmAbout;
}

namespace brantock::counter {

class frmInterface;
class frmManual;
class frmOptions;

// The counter's main window: the counts, the status bar with its history, the details panel,
// the tray icon and menus. It is the counter's CounterWindow while it exists. It owns the
// trigger engine and the data logger on its port, and the windows it opens: the port dialog,
// the manual window, the options window and the about box, each made on first use.
class frmMain : public QMainWindow, public CounterWindow {
    Q_OBJECT
public:
    // Tray notifications, as the window's callback receives them.
    static constexpr int TrayDoubleClick = 0x203;
    static constexpr int TrayRightButtonUp = 0x205;
    static constexpr int TrayStabaliseMilliseconds = 15;
    // The status history shows this many of its newest lines: every line kept would make each
    // status cost more than the last and the memory grow with every count.
    static constexpr int HistoryLines = 1000;

    // Where a close request comes from.
    enum class UnloadMode { FormControlMenu, FormCode, AppWindows };

    explicit frmMain(QWidget* parent = nullptr);
    ~frmMain() override;

    // Shows the window modelessly, running Form_Load first; raises err::ObjectUnloaded when
    // the load unloaded it.
    void Show();
    // Unloads the window (a request from code); asked again while it unloads, nothing.
    void Unload();
    bool Loaded() const { return life_.Loaded(); }

    // CounterWindow
    QString CounterCaption() const override;
    void SetCounterCaption(const QString& caption) override;
    QString SensorCounterCaption(int index) const override;
    void SetSensorCounterCaption(int index, const QString& caption) override;
    bool IconVisible(Icon icon) const override;
    void SetIconVisible(Icon icon, bool visible) override;
    void ClearHistory() override;
    void UpdateStatus(QString& newStatus, bool showTime) override;
    void UpdateDetails() override;
    void ResetCounter() override;
    void CheckForClockChange() override;
    void PlayTriggerWav() override;
    void LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when) override;
    void ShowClockWarning() override;
    void SetPortDialogMessage(const QString& text) override;
    void Beep() override;
    void UpdateOptionsForm(const QString& portText) override;
    void UnloadOptionsWindow() override;
    void ShowManualWindow() override;
    void UnloadManualWindow() override;
    void UnloadMainWindow() override;
    void LetEventsRun() override;
    void ShowPortDialog() override;
    // Puts the tray icon, with the tip of TrayIconData, into the tray (when the desktop has
    // one), and takes it out.
    void AddTrayIcon() override;
    void DeleteTrayIcon() override;

    // Public procedures of the window.
    void ToggleMute();
    void SetViewDetails();
    void SetSoundSelector();
    void HideForm(bool minimise);
    // Applies the check mark of the "Keep on top" item and saves it.
    void SetKeepOnTop();
    QString BuildTip(const QString& text) const;
    // The text the tray shows of a tip field: up to its NUL.
    static QString ShownTip(const QString& tipField);
    // True when the close request is cancelled.
    bool Form_QueryUnload(UnloadMode mode);
    // The tray icon's callback with the mouse event code.
    void Form_MouseMove(int code);
    // The window's tray icon is in use: switched on, and a tray to show it exists.
    bool TrayIconInUse() const;
    bool TrayBusy() const { return trayBusy_; }
    bool ExitRequested() const { return exitRequested_; }
    // Whether the desktop has a tray (read at construction; tests set it).
    void setTrayAvailable(bool available) { trayAvailable_ = available; }
    bool Muted() const;

    // The sound selector (frmMainSounds.cpp).
    void LoadThemeFolders();
    void LoadSoundFiles();

    platform::CommControl& comPort() { return comPort_; }
    TriggerEngine& engine() { return engine_; }
    DataLogger& logger() { return logger_; }
    const frmMainUi& ui() const { return ui_; }
    QSystemTrayIcon* trayIcon() const { return trayIcon_; }

Q_SIGNALS:
    // The window has unloaded; the program ends with it.
    void unloaded();

public Q_SLOTS:
    void mnuFileHide_Click();
    void mnuFileExit_Click();
    void mnuViewKeepOnTop_Click();
    void mnuViewSoundSelector_Click();
    void mnuViewStatusBar_Click();
    void mnuViewDetails_Click();
    void mnuViewReports_Click();
    void mnuToolsReset_Click();
    void mnuToolsMute_Click();
    void mnuToolsOptions_Click();
    void mnuToolsShow_Click();
    void mnuToolsClose_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void mnuSoundPopMute_Click();
    void mnuPopReset_Click();
    void imgMute_Click();
    void imgLogToDatabase_Click();
    void lblCounter_DblClick();
    void lstHistory_GotFocus();
    void timTrayStabalise_Timer();
    void cmbTheme_Click();
    void cmbSounds_Click();

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    // False when the request was cancelled.
    bool unloadFor(UnloadMode mode);
    void lblCounter_MouseDown(Qt::MouseButton button);
    void fraSoundSelector_MouseDown(Qt::MouseButton button);
    void SetTopIndex(int line);
    void SetTrayTip();
    QLabel* iconLabel(Icon icon) const;
    void connectControls();
    void connectSoundSelector();
    // The port dialog, loaded (which holds off the engine) when it is first shown or written to.
    frmInterface& portDialog();
    // The options window from its load to its unload (a closed one waits to be deleted).
    frmOptions* loadedOptions() const;

    frmMainUi ui_;
    platform::CommControl comPort_;
    TriggerEngine engine_{comPort_};
    DataLogger logger_{comPort_};
    QPointer<frmInterface> portDialog_;
    // Has no owner, so it is never kept above the main window.
    QPointer<frmManual> manual_;
    // Made anew at every showing after it was closed.
    QPointer<frmOptions> options_;
    QPointer<frmAbout> about_;
    QSystemTrayIcon* trayIcon_ = nullptr;
    bool trayAvailable_ = false;
    bool trayBusy_ = false;
    bool exitRequested_ = false;
    FormLife life_;
    bool sessionEnding_ = false;
};

} // namespace brantock::counter
