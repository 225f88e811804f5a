#pragma once

#include <QString>

#include <cstdint>

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

// The counter's module procedures that need no window. (The entry Main starts the windows
// and is with them; SetKeepOnTop works on the main window and is its procedure.)

// The site of the instance (modMainSites.cpp).
void GetSiteNameAndID();
void CheckSiteLoaded();
// The code of the site look-up: 0 to 6, or SiteLookUpFailed when it gave up on an error that
// has been reported already, so no question about the site follows.
std::int32_t LoadSiteID(std::int32_t& siteID, QString& siteName);
constexpr std::int32_t SiteLookUpFailed = 7;

// The port setting and opening a port (modMainPort.cpp).
QString GetPortNumberString();
std::int16_t GetPortNumber();
void SetPortNumber(const QString& portText);
std::int16_t OpenValidPort(platform::CommControl& control, std::int16_t port);
bool CheckPortWiring(platform::CommControl& control);

// The running time as text (modMainStatus.cpp).
QString UpTimeString();

} // namespace brantock::counter
