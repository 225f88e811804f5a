#pragma once

#include <QString>

namespace brantock::platform {

// Which device a port number names: the text "ComN" in the section "Ports" of the product
// key (the user's settings first, then the machine's), else the N-th usual serial device.
class PortDeviceMap {
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 16;

    // The empty text for a number outside 1 to 16.
    static QString device(int port);
    static QString defaultDevice(int port);
    static QString configuredDevice(int port);
};

} // namespace brantock::platform
