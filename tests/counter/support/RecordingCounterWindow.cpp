#include "tests/counter/support/RecordingCounterWindow.h"

#include "runtime/Clock.h"
#include "runtime/DateFormat.h"

#include <QCoreApplication>

namespace brantock::counter::testsupport {

RecordingCounterWindow::RecordingCounterWindow() {
    CounterWindow::setCurrent(this);
}

RecordingCounterWindow::~RecordingCounterWindow() {
    CounterWindow::setCurrent(nullptr);
}

QString RecordingCounterWindow::SensorCounterCaption(int index) const {
    return sensors_.at(std::size_t(index));
}

void RecordingCounterWindow::SetSensorCounterCaption(int index, const QString& caption) {
    sensors_.at(std::size_t(index)) = caption;
}

bool RecordingCounterWindow::IconVisible(Icon icon) const {
    const auto it = icons_.find(icon);
    return it != icons_.end() && it->second;
}

void RecordingCounterWindow::ClearHistory() {
    history.clear();
    calls << QStringLiteral("ClearHistory");
}

void RecordingCounterWindow::UpdateStatus(QString& newStatus, bool showTime) {
    if (showTime)
        newStatus += u' ' + DateFormat::TimeAmPm(Clock::current().now());
    history.prepend(newStatus);
    calls << QStringLiteral("UpdateStatus ") + newStatus;
}

void RecordingCounterWindow::ResetCounter() {
    calls << QStringLiteral("ResetCounter");
    if (onResetCounter)
        onResetCounter();
}

void RecordingCounterWindow::CheckForClockChange() {
    calls << QStringLiteral("CheckForClockChange");
    if (onCheckForClockChange)
        onCheckForClockChange();
}

void RecordingCounterWindow::PlayTriggerWav() {
    calls << QStringLiteral("PlayTriggerWav");
    if (onPlayTriggerWav)
        onPlayTriggerWav();
}

void RecordingCounterWindow::LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when) {
    calls << QStringLiteral("LogTrigger %1 %2")
                 .arg(sensorNumber)
                 .arg(countUp ? QStringLiteral("up") : QStringLiteral("down"));
    loggedAt.push_back(when);
    if (onLogTrigger)
        onLogTrigger(sensorNumber, countUp);
}

void RecordingCounterWindow::SetPortDialogMessage(const QString& text) {
    portMessages.push_back(text);
    if (onSetPortDialogMessage)
        onSetPortDialogMessage(text);
}

void RecordingCounterWindow::ShowManualWindow() {
    manualWindowShown = true;
    calls << QStringLiteral("ShowManualWindow");
}

void RecordingCounterWindow::UnloadManualWindow() {
    manualWindowShown = false;
    calls << QStringLiteral("UnloadManualWindow");
}

void RecordingCounterWindow::UnloadMainWindow() {
    mainWindowUnloaded = true;
    calls << QStringLiteral("UnloadMainWindow");
}

void RecordingCounterWindow::LetEventsRun() {
    ++eventYields;
    if (onLetEventsRun)
        onLetEventsRun();
    if (processEvents)
        QCoreApplication::processEvents();
}

} // namespace brantock::counter::testsupport
