#include "counter/core/CounterState.h"

#include "foundation/FoundationState.h"

namespace brantock::counter {

namespace {
CounterState state;
}

CounterState& CounterState::Current() {
    return state;
}

void CounterState::Reset() {
    state = CounterState{};
    FoundationState::Reset();
}

bool& CountingStarted = state.CountingStarted;
bool& SelectedEdge = state.SelectedEdge;
bool& DailyReset = state.DailyReset;
bool& UseTrayIcon = state.UseTrayIcon;
bool& ScrollStatus = state.ScrollStatus;
std::int32_t& LastCountDay = state.LastCountDay;
std::int32_t& UpCountSinceStart = state.UpCountSinceStart;
std::int32_t& DownCountSinceStart = state.DownCountSinceStart;
DateValue& CountingStartTime = state.CountingStartTime;
DateValue& LastClockCheck = state.LastClockCheck;
QString& ComputerNameText = state.ComputerNameText;
std::uint8_t& InterfaceOffset = state.InterfaceOffset;
std::int16_t& SensorIDBase = state.SensorIDBase;
bool& PortDialogOpen = state.PortDialogOpen;
bool& ManualTriggerMode = state.ManualTriggerMode;
QString& InterfaceName = state.InterfaceName;
QString& SiteName = state.SiteName;
std::int16_t& SiteID = state.SiteID;
TrayIconRecord& TrayIconData = state.TrayIconData;
QString& CurrentTheme = state.CurrentTheme;
QString& TriggerSoundPath = state.TriggerSoundPath;

} // namespace brantock::counter
