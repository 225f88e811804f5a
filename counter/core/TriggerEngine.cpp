#include "counter/core/TriggerEngine.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "foundation/modRegistry.h"
#include "platform/serial/CommControl.h"
#include "runtime/Clock.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QScopeGuard>

#include <algorithm>
#include <limits>

namespace brantock::counter {

using Icon = CounterWindow::Icon;

namespace {

CounterWindow& window() {
    return CounterWindow::current();
}

void status(const char* text) {
    QString line = QString::fromLatin1(text);
    window().UpdateStatus(line, true);
}

// A since-start count goes up by one; past the 32-bit range it raises overflow, as the
// platform's whole numbers do.
void countOne(std::int32_t& count) {
    if (count == std::numeric_limits<std::int32_t>::max())
        throw RuntimeError::of(err::Overflow);
    ++count;
}

} // namespace

TriggerEngine::TriggerEngine(platform::CommControl& comPort, QObject* parent)
    : QObject(parent), comPort_(comPort),
      lines_{{
          {0, nullptr, Icon::DSRTrigger, Icon::DSRDebounce, "DSRShow&", "CheckDSREdge&",
           "ManualTrigger&", "timdsrDebounce_Timer&", "DSRTrigger&", nullptr, nullptr},
          {1, &settings::SecondTriggerUse, Icon::CTSTrigger, Icon::CTSDebounce, "CTSShow&",
           "CheckCTSEdge&", "ManualTrigger2&", "timCTSDebounce_Timer&", "CTSTrigger&",
           "SecondTriggerUse Get&", "SecondTriggerUse Let&"},
          {2, &settings::ThirdTriggerUse, Icon::DCDTrigger, Icon::DCDDebounce, "DCDShow&",
           "CheckDCDEdge&", "ManualTrigger3&", "timDCDDebounce_Timer&", "DCDTrigger&",
           "ThirdTriggerUse Get&", "ThirdTriggerUse Let&"},
      }} {
    for (Line& l : lines_) {
        l.timer.setInterval(1000);
        l.timer.setSingleShot(false);
        // A coarse timer may end a lockout up to 5% early.
        l.timer.setTimerType(Qt::PreciseTimer);
    }
    connect(&comPort_, &platform::CommControl::OnComm, this, &TriggerEngine::comPort_OnComm);
    connect(&lines_[0].timer, &QTimer::timeout, this, &TriggerEngine::timDSRdebounce_Timer);
    connect(&lines_[1].timer, &QTimer::timeout, this, &TriggerEngine::timCTSDebounce_Timer);
    connect(&lines_[2].timer, &QTimer::timeout, this, &TriggerEngine::timDCDDebounce_Timer);
}

// Sensor uses

std::int32_t TriggerEngine::readUse(const Line& l) const {
    std::int32_t use = 0;
    if (!ReportingHandler(l.useGetTrail, "reading trigger use").run([&] { use = l.use; }))
        window().UnloadMainWindow();
    return use;
}

std::int32_t TriggerEngine::SecondTriggerUse() const {
    return readUse(lines_[1]);
}

std::int32_t TriggerEngine::ThirdTriggerUse() const {
    return readUse(lines_[2]);
}

void TriggerEngine::SetSecondTriggerUse(std::int32_t NewUse) {
    writeUse(lines_[1], NewUse);
}

void TriggerEngine::SetThirdTriggerUse(std::int32_t NewUse) {
    writeUse(lines_[2], NewUse);
}

void TriggerEngine::writeUse(Line& l, std::int32_t NewUse) {
    const bool stayed =
        ReportingHandler(l.useLetTrail, "changing trigger use")
            .run({
                [&] {
                    if (NewUse == 0)
                        window().SetIconVisible(l.triggerIcon, false);
                },
                [&] { l.use = NewUse; },
                [&] { SetRegSetting(*l.useSetting, QString::number(NewUse), RegistryHive); },
            });
    if (!stayed)
        window().UnloadMainWindow();
}

// Counting

DateValue TriggerEngine::ChangeDate() const {
    const Clock& clock = Clock::current();
    const DateValue now = clock.now();
    if (!handling_)
        return now;
    const qint64 lateBy = std::max<qint64>(0, clock.monotonicMilliseconds() - changeAt_);
    return DateValue(now.serial() - double(lateBy) / 86400000.0);
}

void TriggerEngine::countDayChange() {
    // The day the change happened: a backlog handled after midnight keeps its own day.
    const std::int32_t today = RoundToInt32(ChangeDate().dateOnly().serial());
    if (today > LastCountDay) {
        if (DailyReset)
            ResetCounter();
        LastCountDay = today;
    }
}

void TriggerEngine::TriggerCountUp(std::int16_t SensorNumber) {
    withTrail("TriggerCountUp&", [&] {
        window().CheckForClockChange();
        countDayChange();
        window().PlayTriggerWav();
        const std::int32_t n = RoundToInt32(LeadingNumber(window().CounterCaption()) + 1);
        countOne(UpCountSinceStart);
        if (n > 99999) {
            ResetCounter();
        } else {
            window().SetCounterCaption(QString::number(n) + u' ');
            status("Count at");
        }
        window().LogTrigger(SensorNumber, true, ChangeDate());
    });
}

void TriggerEngine::TriggerCountDown(std::int16_t SensorNumber) {
    withTrail("TriggerCountDown&", [&] {
        window().CheckForClockChange();
        countDayChange();
        window().PlayTriggerWav();
        const std::int32_t n = RoundToInt32(LeadingNumber(window().CounterCaption()) - 1);
        countOne(DownCountSinceStart);
        if (n < 0) {
            window().SetCounterCaption(QStringLiteral("0 "));
            status("Negative count at");
        } else {
            window().SetCounterCaption(QString::number(n) + u' ');
            status("Count down at");
        }
        window().LogTrigger(SensorNumber, false, ChangeDate());
    });
}

void TriggerEngine::ResetCounter() {
    withTrail("ResetCounter&", [&] {
        window().SetCounterCaption(QStringLiteral("0 "));
        window().ClearHistory();
        status("Reset at");
    });
}

void TriggerEngine::lineTrigger(const Line& l) {
    withTrail(l.triggerTrail, [&] {
        const double total = LeadingNumber(window().SensorCounterCaption(l.index)) + 1;
        window().SetSensorCounterCaption(l.index, QString::number(total, 'g', 15));
        const auto sensor = std::int16_t(l.index + 1);
        switch (l.useSetting ? l.use : 2) {
        case 1:
            TriggerCountDown(sensor);
            break;
        case 2:
            TriggerCountUp(sensor);
            break;
        default:
            break;
        }
    });
}

void TriggerEngine::DSRTrigger() {
    lineTrigger(lines_[0]);
}

void TriggerEngine::CTSTrigger() {
    lineTrigger(lines_[1]);
}

void TriggerEngine::DCDTrigger() {
    lineTrigger(lines_[2]);
}

// Indicators and edges

void TriggerEngine::show(const Line& l, bool edge) {
    ReportingHandler(l.showTrail, "displaying icon")
        .run({
            [&] {
                if (l.useSetting && l.use == 0)
                    window().SetIconVisible(l.triggerIcon, false);
                else
                    window().SetIconVisible(l.triggerIcon, edge != l.normallyOpen);
            },
            [&] { window().LetEventsRun(); },
        });
}

void TriggerEngine::DSRShow(bool edge) {
    show(lines_[0], edge);
}

void TriggerEngine::CTSShow(bool edge) {
    show(lines_[1], edge);
}

void TriggerEngine::DCDShow(bool edge) {
    show(lines_[2], edge);
}

bool TriggerEngine::checkEdge(const Line& l, bool edge) {
    bool triggers = false;
    ReportingHandler(l.edgeTrail, "Checking trigger edge").run([&] {
        triggers = edge != SelectedEdge;
    });
    return triggers;
}

bool TriggerEngine::CheckDSREdge(bool edge) {
    return checkEdge(lines_[0], edge);
}

bool TriggerEngine::CheckCTSEdge(bool edge) {
    return checkEdge(lines_[1], edge);
}

bool TriggerEngine::CheckDCDEdge(bool edge) {
    return checkEdge(lines_[2], edge);
}

// Lockouts

bool TriggerEngine::lockedOut(const Line& l, qint64 at) const {
    // A lockout flag set without a trigger behind it holds until its timer ends it.
    if (l.debounce && l.lockoutUntil == NoLockout)
        return true;
    return at < l.lockoutUntil;
}

bool TriggerEngine::startLockout(Line& l, qint64 at) {
    QTimer& timer = l.timer;
    if (timer.interval() <= 0) {
        l.lockoutUntil = NoLockout;
        window().SetIconVisible(l.debounceIcon, false);
        return false;
    }
    l.lockoutUntil = at + timer.interval();
    l.debounce = true;
    window().SetIconVisible(l.debounceIcon, true);
    timer.start();
    return true;
}

void TriggerEngine::endLockout(Line& l) {
    ReportingHandler(l.timerTrail, "processing the debounce timer")
        .run({
            [&] { l.timer.stop(); },
            [&] {
                l.debounce = false;
                // A tick handled late does not shorten the lockout of a change still waiting.
                l.lockoutUntil = std::min(l.lockoutUntil, Clock::current().monotonicMilliseconds());
            },
            [&] { window().SetIconVisible(l.debounceIcon, false); },
        });
}

void TriggerEngine::ApplyLockoutTime(float milliseconds) {
    for (Line& l : lines_) {
        QTimer& timer = l.timer;
        if (float(timer.interval()) == milliseconds)
            continue;
        timer.setInterval(RoundToInt32(milliseconds));
        // Stopped and cleared together, so the line is idle, never half locked out.
        timer.stop();
        l.debounce = false;
        l.lockoutUntil = NoLockout;
        window().SetIconVisible(l.debounceIcon, false);
    }
}

void TriggerEngine::SetNormallyOpen(bool normallyOpen) {
    for (Line& l : lines_)
        l.normallyOpen = normallyOpen;
}

void TriggerEngine::timDSRdebounce_Timer() {
    endLockout(lines_[0]);
}

void TriggerEngine::timCTSDebounce_Timer() {
    endLockout(lines_[1]);
}

void TriggerEngine::timDCDDebounce_Timer() {
    endLockout(lines_[2]);
}

// The serial lines and the manual buttons

void TriggerEngine::comPort_OnComm() {
    Change change;
    ReportingHandler::WithSource("comPort_OnComm&", "processing com port interrupt")
        .run({
            [&] { return PortDialogOpen ? Flow::Leave : Flow::Next; },
            [&] { change.at = comPort_.ChangeTime(); },
            [&] { change.levels.dsr = comPort_.DSRHolding(); },
            [&] { change.levels.cts = comPort_.CTSHolding(); },
            [&] { change.levels.cd = comPort_.CDHolding(); },
            [&] { waiting_.push_back(change); },
        });
    handleChanges();
}

void TriggerEngine::handleChanges() {
    if (handling_)
        return;
    handling_ = true;
    const auto done = qScopeGuard([this] { handling_ = false; });
    while (!waiting_.empty()) {
        const Change change = waiting_.front();
        waiting_.pop_front();
        changeAt_ = change.at;
        if (change.manual)
            manualChange(change);
        else
            serialChange(change);
    }
}

void TriggerEngine::serialChange(const Change& change) {
    const ReportingHandler handler =
        ReportingHandler::WithSource("comPort_OnComm&", "processing com port interrupt");
    handler.run({
        [&] { return lineChange(handler, lines_[0], change.levels.dsr, change.at); },
        [&] { return lineChange(handler, lines_[1], change.levels.cts, change.at); },
        [&] { return lineChange(handler, lines_[2], change.levels.cd, change.at); },
    });
}

Flow TriggerEngine::lineChange(const ReportingHandler& handler, Line& l, bool level, qint64 at) {
    bool& last = l.last;
    bool started = false;
    // The line's own steps: leaving them ends this line only; an error that makes the
    // procedure leave ends the event.
    const bool stayed = handler.run({
        [&] { return level == last ? Flow::Leave : Flow::Next; },
        [&] { last = level; },
        [&] { show(l, level); },
        [&] { return checkEdge(l, level) ? Flow::Next : Flow::Leave; },
        [&] { return lockedOut(l, at) || !CountingStarted ? Flow::Leave : Flow::Next; },
        [&] { started = startLockout(l, at); },
        [&] {
            if (started)
                window().LetEventsRun();
        },
        [&] { lineTrigger(l); },
    });
    return stayed ? Flow::Next : Flow::Leave;
}

void TriggerEngine::manualTrigger(const Line& l, bool edge, qint64 at) {
    ReportingHandler::WithSource(l.manualTrail, "processing manual trigger")
        .run({
            [&] { return CountingStarted && !PortDialogOpen ? Flow::Next : Flow::Leave; },
            [&] {
                waiting_.push_back(Change{at, true, {}, l.index, edge});
            },
        });
    handleChanges();
}

void TriggerEngine::manualChange(const Change& change) {
    Line& l = lines_[std::size_t(change.line)];
    bool level = false;
    bool started = false;
    ReportingHandler::WithSource(l.manualTrail, "processing manual trigger")
        .run({
            [&] { return CountingStarted && !PortDialogOpen ? Flow::Next : Flow::Leave; },
            [&] { level = change.edge != l.normallyOpen; },
            [&] { show(l, level); },
            [&] {
                return checkEdge(l, level) && !lockedOut(l, change.at) ? Flow::Next : Flow::Leave;
            },
            [&] { started = startLockout(l, change.at); },
            [&] {
                if (started)
                    window().LetEventsRun();
            },
            [&] { lineTrigger(l); },
        });
}

void TriggerEngine::ManualTriggerAt(int sensorNumber, bool edge, qint64 at) {
    manualTrigger(lines_[std::size_t(sensorNumber - 1)], edge, at);
}

void TriggerEngine::ManualTrigger(bool edge) {
    ManualTriggerAt(1, edge, Clock::current().monotonicMilliseconds());
}

void TriggerEngine::ManualTrigger2(bool edge) {
    ManualTriggerAt(2, edge, Clock::current().monotonicMilliseconds());
}

void TriggerEngine::ManualTrigger3(bool edge) {
    ManualTriggerAt(3, edge, Clock::current().monotonicMilliseconds());
}

} // namespace brantock::counter
