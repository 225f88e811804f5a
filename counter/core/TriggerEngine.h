#pragma once

#include "counter/core/CounterWindow.h"
#include "foundation/ReportingHandler.h"

#include <QObject>
#include <QTimer>

#include <array>
#include <cstdint>

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

// Turns changes of DSR (sensor 1), CTS (sensor 2) and DCD (sensor 3) and the manual buttons
// into counted triggers, with a lockout per line after each trigger. The counts live only in
// the main window's labels, which it reads and writes through CounterWindow::current().
class TriggerEngine : public QObject {
    Q_OBJECT
public:
    explicit TriggerEngine(platform::CommControl& comPort, QObject* parent = nullptr);

    // The level last seen on each line.
    bool LastDSR = false;
    bool LastCTS = false;
    bool LastDCD = false;
    // A lockout is running on the line.
    bool DSRdebounce = false;
    bool CTSdebounce = false;
    bool DCDdebounce = false;
    // The line's switch is normally open: inverts its indicator and its manual button.
    bool DSRNormallyOpen = false;
    bool CTSNormallyOpen = false;
    bool DCDNormallyOpen = false;

    // The lockout timers; their interval is the lockout time in milliseconds.
    QTimer timDSRdebounce;
    QTimer timCTSDebounce;
    QTimer timDCDDebounce;

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
    void ManualTrigger(bool edge);
    void ManualTrigger2(bool edge);
    void ManualTrigger3(bool edge);
    void ResetCounter();

    // The options window's changes. A new lockout time (milliseconds, 0 for none) ends the
    // running lockouts of every line whose timer had another time.
    void ApplyLockoutTime(float milliseconds);
    void SetNormallyOpen(bool normallyOpen);

    void comPort_OnComm();
    void timDSRdebounce_Timer();
    void timCTSDebounce_Timer();
    void timDCDDebounce_Timer();

private:
    // One row of the line table: the members, controls and procedures of a line.
    struct Line;
    static const Line& line(int index);

    void show(const Line& line, bool edge);
    bool checkEdge(const Line& line, bool edge);
    void manualTrigger(const Line& line, bool edge);
    // The handling of one line's sampled level within a serial event; Leave when an error
    // made the event leave.
    Flow lineChange(const ReportingHandler& handler, const Line& line, bool level,
                    std::uint64_t event);
    // Starts the line's lockout when its interval is above 0; true when one started.
    bool startLockout(const Line& line);
    void endLockout(const Line& line);
    void lineTrigger(const Line& line);
    void countDayChange();
    std::int32_t readUse(const Line& line) const;
    void writeUse(const Line& line, std::int32_t NewUse);

    platform::CommControl& comPort_;
    std::int32_t secondTriggerUse_ = 0;
    std::int32_t thirdTriggerUse_ = 0;
    // Serial events are numbered as they start; each line keeps the number of the event that
    // set its remembered level, so an event resumed after a later one changed that line does
    // not put its older level back.
    std::uint64_t events_ = 0;
    std::array<std::uint64_t, 3> levelSetBy_{};
};

} // namespace brantock::counter
