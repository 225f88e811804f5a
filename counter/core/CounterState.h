#pragma once

#include "runtime/DateValue.h"

#include <QString>

#include <cstdint>

namespace brantock::counter {

// The notification-area icon's record: filled at the end of the main window's load, after
// that only its tip changes. The tip is a fixed field of 64 characters.
struct TrayIconRecord {
    static constexpr int TipLength = 64;
    int size = 0;
    bool hasWindow = false; // the record names the main window (its "handle" is set)
    int id = 0;
    int flags = 0;
    int callbackMessage = 0;
    QString tip; // always TipLength characters once filled
};

// The counter program's process-wide values, kept together like FoundationState: the
// program's names (CountingStarted, SelectedEdge, ...) refer into the one instance, and
// Reset() puts them, and the shared modules' values, back as a new process has them.
struct CounterState {
    // Start-up
    bool CountingStarted = false;
    bool SelectedEdge = false;
    bool DailyReset = false;
    bool UseTrayIcon = false;
    bool ScrollStatus = false;
    std::int32_t LastCountDay = 0;
    std::int32_t UpCountSinceStart = 0;
    std::int32_t DownCountSinceStart = 0;
    DateValue CountingStartTime;
    DateValue LastClockCheck;
    QString ComputerNameText;
    std::uint8_t InterfaceOffset = 0;
    // InterfaceOffset x 3: the first sensor's identifier is SensorIDBase + 1. A member of the
    // main window in the design; kept here so that the logger reads it without the window.
    std::int16_t SensorIDBase = 0;
    // The port
    bool PortDialogOpen = false;
    bool ManualTriggerMode = false;
    QString InterfaceName;
    // The site
    QString SiteName;
    std::int16_t SiteID = 0;
    // The tray
    TrayIconRecord TrayIconData;
    // The sounds: the theme's folder name or "<no theme>", and the trigger sound.
    QString CurrentTheme = QStringLiteral("<no theme>");
    QString TriggerSoundPath = QStringLiteral("<default>");

    static CounterState& Current();
    // Back to the values of a new process, the shared modules' included.
    static void Reset();
};

extern bool& CountingStarted;
extern bool& SelectedEdge;
extern bool& DailyReset;
extern bool& UseTrayIcon;
extern bool& ScrollStatus;
extern std::int32_t& LastCountDay;
extern std::int32_t& UpCountSinceStart;
extern std::int32_t& DownCountSinceStart;
extern DateValue& CountingStartTime;
extern DateValue& LastClockCheck;
extern QString& ComputerNameText;
extern std::uint8_t& InterfaceOffset;
extern std::int16_t& SensorIDBase;
extern bool& PortDialogOpen;
extern bool& ManualTriggerMode;
extern QString& InterfaceName;
extern QString& SiteName;
extern std::int16_t& SiteID;
extern TrayIconRecord& TrayIconData;
extern QString& CurrentTheme;
extern QString& TriggerSoundPath;

} // namespace brantock::counter
