#pragma once

#include "platform/serial/ModemLines.h"

namespace brantock::platform {

// One change of one input line, with all three levels as they stood right after it.
// A record with `vanished` set carries no change: it marks the device as gone.
struct LineChange {
    int event = 0;
    ModemLines levels;
    bool vanished = false;

    bool operator==(const LineChange&) const = default;
};

} // namespace brantock::platform
