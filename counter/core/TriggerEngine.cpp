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

struct TriggerEngine::Line {
    int index; // of lblSensorCounter; the sensor number is one more
    bool TriggerEngine::*last;
    bool TriggerEngine::*debounce;
    bool TriggerEngine::*normallyOpen;
    QTimer TriggerEngine::*timer;
    // The sensor's use; null for sensor 1, which always counts up.
    std::int32_t TriggerEngine::*use;
    const Setting* useSetting;
    Icon triggerIcon;
    Icon debounceIcon;
    void (TriggerEngine::*showProcedure)(bool);
    bool (TriggerEngine::*edgeTest)(bool);
    const char* showTrail;
    const char* edgeTrail;
    const char* manualTrail;
    const char* timerTrail;
    const char* triggerTrail;
    const char* useGetTrail;
    const char* useLetTrail;
};

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

const TriggerEngine::Line& TriggerEngine::line(int index) {
    static const Line lines[3] = {
        {0, &TriggerEngine::LastDSR, &TriggerEngine::DSRdebounce, &TriggerEngine::DSRNormallyOpen,
         &TriggerEngine::timDSRdebounce, nullptr, nullptr, Icon::DSRTrigger, Icon::DSRDebounce,
         &TriggerEngine::DSRShow, &TriggerEngine::CheckDSREdge, "DSRShow&", "CheckDSREdge&",
         "ManualTrigger&", "timdsrDebounce_Timer&", "DSRTrigger&", nullptr, nullptr},
        {1, &TriggerEngine::LastCTS, &TriggerEngine::CTSdebounce, &TriggerEngine::CTSNormallyOpen,
         &TriggerEngine::timCTSDebounce, &TriggerEngine::secondTriggerUse_,
         &settings::SecondTriggerUse, Icon::CTSTrigger, Icon::CTSDebounce, &TriggerEngine::CTSShow,
         &TriggerEngine::CheckCTSEdge, "CTSShow&", "CheckCTSEdge&", "ManualTrigger2&",
         "timCTSDebounce_Timer&", "CTSTrigger&", "SecondTriggerUse Get&", "SecondTriggerUse Let&"},
        {2, &TriggerEngine::LastDCD, &TriggerEngine::DCDdebounce, &TriggerEngine::DCDNormallyOpen,
         &TriggerEngine::timDCDDebounce, &TriggerEngine::thirdTriggerUse_,
         &settings::ThirdTriggerUse, Icon::DCDTrigger, Icon::DCDDebounce, &TriggerEngine::DCDShow,
         &TriggerEngine::CheckDCDEdge, "DCDShow&", "CheckDCDEdge&", "ManualTrigger3&",
         "timDCDDebounce_Timer&", "DCDTrigger&", "ThirdTriggerUse Get&", "ThirdTriggerUse Let&"},
    };
    return lines[index];
}

TriggerEngine::TriggerEngine(platform::CommControl& comPort, QObject* parent)
    : QObject(parent), comPort_(comPort) {
    for (QTimer* timer : {&timDSRdebounce, &timCTSDebounce, &timDCDDebounce}) {
        timer->setInterval(1000);
        timer->setSingleShot(false);
        // A coarse timer may end a lockout up to 5% early.
        timer->setTimerType(Qt::PreciseTimer);
    }
    connect(&comPort_, &platform::CommControl::OnComm, this, &TriggerEngine::comPort_OnComm);
    connect(&timDSRdebounce, &QTimer::timeout, this, &TriggerEngine::timDSRdebounce_Timer);
    connect(&timCTSDebounce, &QTimer::timeout, this, &TriggerEngine::timCTSDebounce_Timer);
    connect(&timDCDDebounce, &QTimer::timeout, this, &TriggerEngine::timDCDDebounce_Timer);
}

// Sensor uses

std::int32_t TriggerEngine::readUse(const Line& l) const {
    std::int32_t use = 0;
    if (!ReportingHandler(l.useGetTrail, "reading trigger use").run([&] { use = this->*l.use; }))
        window().UnloadMainWindow();
    return use;
}

std::int32_t TriggerEngine::SecondTriggerUse() const {
    return readUse(line(1));
}

std::int32_t TriggerEngine::ThirdTriggerUse() const {
    return readUse(line(2));
}

void TriggerEngine::SetSecondTriggerUse(std::int32_t NewUse) {
    writeUse(line(1), NewUse);
}

void TriggerEngine::SetThirdTriggerUse(std::int32_t NewUse) {
    writeUse(line(2), NewUse);
}

void TriggerEngine::writeUse(const Line& l, std::int32_t NewUse) {
    const bool stayed =
        ReportingHandler(l.useLetTrail, "changing trigger use")
            .run({
                [&] {
                    if (NewUse == 0)
                        window().SetIconVisible(l.triggerIcon, false);
                },
                [&] { this->*l.use = NewUse; },
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
        switch (l.use ? this->*l.use : 2) {
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
    lineTrigger(line(0));
}

void TriggerEngine::CTSTrigger() {
    lineTrigger(line(1));
}

void TriggerEngine::DCDTrigger() {
    lineTrigger(line(2));
}

// Indicators and edges

void TriggerEngine::show(const Line& l, bool edge) {
    ReportingHandler(l.showTrail, "displaying icon")
        .run({
            [&] {
                if (l.use && this->*l.use == 0)
                    window().SetIconVisible(l.triggerIcon, false);
                else
                    window().SetIconVisible(l.triggerIcon, edge != this->*l.normallyOpen);
            },
            [&] { window().LetEventsRun(); },
        });
}

void TriggerEngine::DSRShow(bool edge) {
    show(line(0), edge);
}

void TriggerEngine::CTSShow(bool edge) {
    show(line(1), edge);
}

void TriggerEngine::DCDShow(bool edge) {
    show(line(2), edge);
}

bool TriggerEngine::checkEdge(const Line& l, bool edge) {
    bool triggers = false;
    ReportingHandler(l.edgeTrail, "Checking trigger edge").run([&] {
        triggers = edge != SelectedEdge;
    });
    return triggers;
}

bool TriggerEngine::CheckDSREdge(bool edge) {
    return checkEdge(line(0), edge);
}

bool TriggerEngine::CheckCTSEdge(bool edge) {
    return checkEdge(line(1), edge);
}

bool TriggerEngine::CheckDCDEdge(bool edge) {
    return checkEdge(line(2), edge);
}

// Lockouts

bool TriggerEngine::lockedOut(const Line& l, qint64 at) const {
    const qint64 until = lockoutUntil_[std::size_t(l.index)];
    // A lockout flag set without a trigger behind it holds until its timer ends it.
    if (this->*l.debounce && until == NoLockout)
        return true;
    return at < until;
}

bool TriggerEngine::startLockout(const Line& l, qint64 at) {
    QTimer& timer = this->*l.timer;
    if (timer.interval() <= 0) {
        lockoutUntil_[std::size_t(l.index)] = NoLockout;
        window().SetIconVisible(l.debounceIcon, false);
        return false;
    }
    lockoutUntil_[std::size_t(l.index)] = at + timer.interval();
    this->*l.debounce = true;
    window().SetIconVisible(l.debounceIcon, true);
    timer.start();
    return true;
}

void TriggerEngine::endLockout(const Line& l) {
    ReportingHandler(l.timerTrail, "processing the debounce timer")
        .run({
            [&] { (this->*l.timer).stop(); },
            [&] {
                this->*l.debounce = false;
                // A tick handled late does not shorten the lockout of a change still waiting.
                qint64& until = lockoutUntil_[std::size_t(l.index)];
                until = std::min(until, Clock::current().monotonicMilliseconds());
            },
            [&] { window().SetIconVisible(l.debounceIcon, false); },
        });
}

void TriggerEngine::ApplyLockoutTime(float milliseconds) {
    for (int i = 0; i < 3; ++i) {
        const Line& l = line(i);
        QTimer& timer = this->*l.timer;
        if (float(timer.interval()) == milliseconds)
            continue;
        timer.setInterval(RoundToInt32(milliseconds));
        // Stopped and cleared together, so the line is idle, never half locked out.
        timer.stop();
        this->*l.debounce = false;
        lockoutUntil_[std::size_t(i)] = NoLockout;
        window().SetIconVisible(l.debounceIcon, false);
    }
}

void TriggerEngine::SetNormallyOpen(bool normallyOpen) {
    DSRNormallyOpen = normallyOpen;
    CTSNormallyOpen = normallyOpen;
    DCDNormallyOpen = normallyOpen;
}

void TriggerEngine::timDSRdebounce_Timer() {
    endLockout(line(0));
}

void TriggerEngine::timCTSDebounce_Timer() {
    endLockout(line(1));
}

void TriggerEngine::timDCDDebounce_Timer() {
    endLockout(line(2));
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
        [&] { return lineChange(handler, line(0), change.levels.dsr, change.at); },
        [&] { return lineChange(handler, line(1), change.levels.cts, change.at); },
        [&] { return lineChange(handler, line(2), change.levels.cd, change.at); },
    });
}

Flow TriggerEngine::lineChange(const ReportingHandler& handler, const Line& l, bool level,
                               qint64 at) {
    bool& last = this->*l.last;
    bool started = false;
    // The line's own steps: leaving them ends this line only; an error that makes the
    // procedure leave ends the event.
    const bool stayed = handler.run({
        [&] { return level == last ? Flow::Leave : Flow::Next; },
        [&] { last = level; },
        [&] { (this->*l.showProcedure)(level); },
        [&] { return (this->*l.edgeTest)(level) ? Flow::Next : Flow::Leave; },
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
    const Line& l = line(change.line);
    bool level = false;
    bool started = false;
    ReportingHandler::WithSource(l.manualTrail, "processing manual trigger")
        .run({
            [&] { return CountingStarted && !PortDialogOpen ? Flow::Next : Flow::Leave; },
            [&] { level = change.edge != this->*l.normallyOpen; },
            [&] { (this->*l.showProcedure)(level); },
            [&] {
                return (this->*l.edgeTest)(level) && !lockedOut(l, change.at) ? Flow::Next
                                                                              : Flow::Leave;
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
    manualTrigger(line(sensorNumber - 1), edge, at);
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
