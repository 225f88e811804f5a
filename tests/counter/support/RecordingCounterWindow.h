#pragma once

#include "counter/core/CounterWindow.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <map>
#include <vector>

namespace brantock::counter::testsupport {

// A main window without widgets for tests of the counter's rules: it keeps the captions,
// icons and status lines the rules set, records every call, and installs itself as the
// current window for its lifetime. The procedures that belong to other parts of the window
// (ResetCounter, CheckForClockChange, PlayTriggerWav, LogTrigger) run the hooks a test sets.
class RecordingCounterWindow : public CounterWindow {
public:
    RecordingCounterWindow();
    ~RecordingCounterWindow() override;
    RecordingCounterWindow(const RecordingCounterWindow&) = delete;
    RecordingCounterWindow& operator=(const RecordingCounterWindow&) = delete;

    QString CounterCaption() const override { return counter_; }
    void SetCounterCaption(const QString& caption) override { counter_ = caption; }
    QString SensorCounterCaption(int index) const override;
    void SetSensorCounterCaption(int index, const QString& caption) override;
    bool IconVisible(Icon icon) const override;
    void SetIconVisible(Icon icon, bool visible) override { icons_[icon] = visible; }
    void ClearHistory() override;

    // Adds the line as the main window does (with " h:mm:ss AMPM" when showTime).
    void UpdateStatus(QString& newStatus, bool showTime) override;
    void UpdateDetails() override { ++detailsUpdates; }
    void ResetCounter() override;
    void CheckForClockChange() override;
    void PlayTriggerWav() override;
    void LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when) override;
    void ShowClockWarning() override { ++clockWarnings; }
    void SetPortDialogMessage(const QString& text) override;
    void ShowPortDialog() override { calls << QStringLiteral("ShowPortDialog"); }
    void AddTrayIcon() override { calls << QStringLiteral("AddTrayIcon"); }
    void DeleteTrayIcon() override { calls << QStringLiteral("DeleteTrayIcon"); }
    void Beep() override { ++beeps; }
    void UpdateOptionsForm(const QString& portText) override { optionsUpdates.push_back(portText); }
    void UnloadOptionsWindow() override { calls << QStringLiteral("UnloadOptionsWindow"); }
    void ShowManualWindow() override;
    void UnloadManualWindow() override;
    void UnloadMainWindow() override;
    void LetEventsRun() override;

    // The status history, newest first, and everything the rules called, in order.
    QStringList history;
    QStringList calls;
    std::vector<QString> portMessages;
    std::vector<QString> optionsUpdates;
    int detailsUpdates = 0;
    int clockWarnings = 0;
    int beeps = 0;
    int eventYields = 0;
    bool manualWindowShown = false;
    bool mainWindowUnloaded = false;
    // Run where the window would run the procedure of another part; empty: only recorded.
    std::function<void()> onResetCounter;
    std::function<void()> onCheckForClockChange;
    std::function<void()> onPlayTriggerWav;
    std::function<void(std::int16_t, bool)> onLogTrigger;
    // When each logged trigger happened, in the order they were logged.
    std::vector<DateValue> loggedAt;
    // Run with each message for the port dialog (a test's way to show it on a real dialog).
    std::function<void(const QString&)> onSetPortDialogMessage;
    // Run each time the rules let pending events run (a test's way to act "meanwhile").
    std::function<void()> onLetEventsRun;
    // Also process the window thread's pending events when the rules let them run.
    bool processEvents = false;

private:
    QString counter_ = QStringLiteral("0 ");
    std::array<QString, 3> sensors_{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    std::map<Icon, bool> icons_;
};

} // namespace brantock::counter::testsupport
