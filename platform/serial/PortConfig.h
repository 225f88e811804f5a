#pragma once

#include "platform/serial/SerialSettings.h"

#include <QString>

namespace brantock::platform {

// What a backend needs to open a device: where it is and the state to put it in.
struct PortConfig {
    QString device;
    SerialSettings settings;
    bool dtr = true;
    bool rts = false;
};

} // namespace brantock::platform
