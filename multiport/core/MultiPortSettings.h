#pragma once

#include "foundation/Setting.h"
#include "platform/settings/RegistryApi.h"

namespace brantock::multiport::settings {

// The two-port settings: the section "MultiPortStub" of the product key in the machine-wide
// hive, where the configuration program writes them and the launcher reads them; every one
// stored encoded.
inline const platform::HKEY Hive = platform::HKEY_LOCAL_MACHINE;

inline Setting multiPortSetting(const char* name, const char* defaultValue) {
    return Setting{QStringLiteral("MultiPortStub"), QString::fromLatin1(name),
                   QString::fromLatin1(defaultValue), true};
}

// The serial port number of each counter, as decimal text.
inline const Setting Port1 = multiPortSetting("Port1", "1");
inline const Setting Port2 = multiPortSetting("Port2", "2");
// The tag each counter shows and hands to the reports program, any text.
inline const Setting Port1Tag = multiPortSetting("Port1Tag", "First door");
inline const Setting Port2Tag = multiPortSetting("Port2Tag", "Second door");

} // namespace brantock::multiport::settings
