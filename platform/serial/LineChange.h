#pragma once

#include "platform/serial/ModemLines.h"

#include <QtGlobal>

namespace brantock::platform {

// One change of one input line, with all three levels as they stood right after it, and when
// the backend saw it (the clock's monotonic milliseconds; NotSeen until the queue stamps it).
// A record with `vanished` set carries no change: it marks the device as gone.
struct LineChange {
    static constexpr qint64 NotSeen = -1;

    int event = 0;
    ModemLines levels;
    bool vanished = false;
    qint64 at = NotSeen;

    // The same change, whenever it was seen.
    bool operator==(const LineChange& other) const {
        return event == other.event && levels == other.levels && vanished == other.vanished;
    }
};

} // namespace brantock::platform
