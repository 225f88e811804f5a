#pragma once

#include "foundation/Setting.h"

namespace brantock::counter::settings {

// The counter's settings: the empty section of the product key, in RegistryHive, every one
// stored encoded. Boolean and check-box defaults are "1", "0" (and "2").
inline Setting counterSetting(const char* name, const char* defaultValue) {
    return Setting{QString(), QString::fromLatin1(name), QString::fromLatin1(defaultValue), true};
}

inline const Setting ComPort = counterSetting("ComPort", "");
inline const Setting DebounceTime = counterSetting("DebounceTime", "1000");
// The same value as the options window reads it: a window opened before any lockout time
// was stored offers half a second.
inline const Setting DebounceTimeOffered = counterSetting("DebounceTime", "500");
inline const Setting SelectedEdge = counterSetting("SelectedEdge", "0");
inline const Setting NormallyOpen = counterSetting("NormallyOpen", "0");
inline const Setting SecondTriggerUse = counterSetting("SecondTriggerUse", "0");
inline const Setting ThirdTriggerUse = counterSetting("ThirdTriggerUse", "0");
inline const Setting LogToDatabase = counterSetting("LogToDatabase", "1");
inline const Setting DailyReset = counterSetting("DailyReset", "1");
inline const Setting UseTrayIcon = counterSetting("UseTrayIcon", "1");
inline const Setting StartMinimized = counterSetting("StartMinimized", "0");
inline const Setting ScrollStatus = counterSetting("ScrollStatus", "1");
inline const Setting KeepOnTop = counterSetting("KeepOnTop", "0");
inline const Setting SoundSelector = counterSetting("SoundSelector", "1");
inline const Setting SiteName = counterSetting("SiteName", "<Unknown>");
inline const Setting SiteID = counterSetting("SiteID", "0");
inline const Setting CheckWiring = counterSetting("CheckWiring", "1");
inline const Setting HandShakeLoop = counterSetting("HandShakeLoop", "0");
inline const Setting ThemeFolder = counterSetting("ThemeFolder", "<no theme>");
inline const Setting TriggerSound = counterSetting("TriggerSound", "<default>");

} // namespace brantock::counter::settings
