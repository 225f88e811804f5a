#pragma once

#include "counter/core/CounterWindow.h"
#include "foundation/ReportingHandler.h"
#include "foundation/Setting.h"
#include "platform/serial/ModemLines.h"
#include "runtime/DateValue.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <cstdint>
#include <deque>
#include <limits>

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

// Turns changes of DSR (sensor 1), CTS (sensor 2) and DCD (sensor 3) and the manual buttons
// into counted triggers, with a lockout per line after each trigger. The counts live only in
// the main window's labels, which it reads and writes through CounterWindow::current().
//
// Every change carries the time it happened (the clock's monotonic milliseconds), and the
// engine judges edges and lockouts by those times, so a change handled late (behind a locked
// data file or an open box) counts exactly as it would have counted at once. Changes take
// effect one at a time in the order they came: one that arrives while another is being
// handled (during that one's event yields) waits for it to finish.
class TriggerEngine : public QObject {
    Q_OBJECT
public:
    explicit TriggerEngine(platform::CommControl& comPort, QObject* parent = nullptr);

    // The level last seen on each line.
    bool LastDSR() const { return lines_[0].last; }
    bool LastCTS() const { return lines_[1].last; }
    bool LastDCD() const { return lines_[2].last; }
    // A lockout is running on the line.
    bool DSRdebounce() const { return lines_[0].debounce; }
    bool CTSdebounce() const { return lines_[1].debounce; }
    bool DCDdebounce() const { return lines_[2].debounce; }
    // The line's switch is normally open: inverts its indicator and its manual button.
    bool DSRNormallyOpen() const { return lines_[0].normallyOpen; }
    bool CTSNormallyOpen() const { return lines_[1].normallyOpen; }
    bool DCDNormallyOpen() const { return lines_[2].normallyOpen; }
    void SetLastDSR(bool level) { lines_[0].last = level; }
    void SetLastCTS(bool level) { lines_[1].last = level; }
    void SetLastDCD(bool level) { lines_[2].last = level; }
    void SetDSRdebounce(bool running) { lines_[0].debounce = running; }
    void SetCTSdebounce(bool running) { lines_[1].debounce = running; }
    void SetDCDdebounce(bool running) { lines_[2].debounce = running; }
    void SetDSRNormallyOpen(bool normallyOpen) { lines_[0].normallyOpen = normallyOpen; }

    // The lockout timers; their interval is the lockout time in milliseconds.
    QTimer& timDSRdebounce() { return lines_[0].timer; }
    QTimer& timCTSDebounce() { return lines_[1].timer; }
    QTimer& timDCDDebounce() { return lines_[2].timer; }

    // The use of sensors 2 and 3: 0 not used, 1 counts down, 2 counts up, others nothing.
    std::int32_t SecondTriggerUse() const;
    void SetSecondTriggerUse(std::int32_t NewUse);
    std::int32_t ThirdTriggerUse() const;
    void SetThirdTriggerUse(std::int32_t NewUse);

    void TriggerCountDown(std::int16_t SensorNumber);
    void TriggerCountUp(std::int16_t SensorNumber);
    void DSRTrigger();
    void CTSTrigger();
    void DCDTrigger();
    void CTSShow(bool edge);
    void DCDShow(bool edge);
    void DSRShow(bool edge);
    bool CheckCTSEdge(bool edge);
    bool CheckDCDEdge(bool edge);
    bool CheckDSREdge(bool edge);
    // A manual button went down (true) or up (false), now or at the given time.
    void ManualTrigger(bool edge);
    void ManualTrigger2(bool edge);
    void ManualTrigger3(bool edge);
    void ManualTriggerAt(int sensorNumber, bool edge, qint64 at);
    void ResetCounter();

    // The options window's changes. A new lockout time (milliseconds, 0 for none) ends the
    // running lockouts of every line whose timer had another time.
    void ApplyLockoutTime(float milliseconds);
    void SetNormallyOpen(bool normallyOpen);

    void comPort_OnComm();
    void timDSRdebounce_Timer();
    void timCTSDebounce_Timer();
    void timDCDDebounce_Timer();

    // The local date and time at which the change being handled happened; now when none is.
    DateValue ChangeDate() const;

private:
    static constexpr qint64 NoLockout = std::numeric_limits<qint64>::min();

    // One serial line with its sensor: its state, and the fixed icons, setting and trails
    // of its procedures.
    struct Line {
        int index; // of lblSensorCounter; the sensor number is one more
        // The sensor's use setting; null for sensor 1, which always counts up.
        const Setting* useSetting;
        CounterWindow::Icon triggerIcon;
        CounterWindow::Icon debounceIcon;
        const char* showTrail;
        const char* edgeTrail;
        const char* manualTrail;
        const char* timerTrail;
        const char* triggerTrail;
        const char* useGetTrail;
        const char* useLetTrail;

        bool last = false;
        bool debounce = false;
        // Changes before this time fall inside the lockout of the line's last trigger.
        qint64 lockoutUntil = NoLockout;
        bool normallyOpen = false;
        std::int32_t use = 0;
        QTimer timer{};
    };

    // A serial event or a manual button waiting to be handled.
    struct Change {
        qint64 at = 0;
        bool manual = false;
        platform::ModemLines levels; // serial: the three levels right after the change
        int line = 0;                // manual: the button's line
        bool edge = false;           // manual: down or up
    };

    // Handles the waiting changes in order, unless a change is being handled already.
    void handleChanges();
    void serialChange(const Change& change);
    void manualChange(const Change& change);
    void show(const Line& line, bool edge);
    bool checkEdge(const Line& line, bool edge);
    void manualTrigger(const Line& line, bool edge, qint64 at);
    // The handling of one line's sampled level within a serial event; Leave when an error
    // made the event leave.
    Flow lineChange(const ReportingHandler& handler, Line& line, bool level, qint64 at);
    // A change at `at` falls inside the lockout of the line's last trigger.
    bool lockedOut(const Line& line, qint64 at) const;
    // Starts the line's lockout, from `at`, when its interval is above 0; true when one
    // started.
    bool startLockout(Line& line, qint64 at);
    void endLockout(Line& line);
    void lineTrigger(const Line& line);
    void countDayChange();
    std::int32_t readUse(const Line& line) const;
    void writeUse(Line& line, std::int32_t NewUse);

    platform::CommControl& comPort_;
    std::deque<Change> waiting_;
    bool handling_ = false;
    // When the change being handled happened.
    qint64 changeAt_ = 0;
    // DSR, CTS and DCD, by sensor number less one.
    std::array<Line, 3> lines_;
};

} // namespace brantock::counter
