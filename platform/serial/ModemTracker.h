#pragma once

#include "platform/serial/LineChange.h"
#include "platform/serial/ModemSample.h"

#include <vector>

namespace brantock::platform {

// Turns successive readings of a device into the line changes between them. Where the driver
// counts transitions, a pulse that rose and fell between two readings still gives its two
// changes; where it does not, only a level that differs can be seen. Counts that stop
// explaining the levels (a bounce counted once, a driver that does not count) are set right
// by the levels on the next reading, and trusted again once they move in agreement.
class ModemTracker {
public:
    explicit ModemTracker(const ModemSample& initial);

    // The changes since the previous reading, each line's in order, DSR then CTS then DCD.
    std::vector<LineChange> update(const ModemSample& sample);

    const ModemLines& levels() const { return levels_; }
    // Whether the counts are trusted for the next reading.
    bool usingCounts() const { return useCounts_; }

    // One record for every line that differs, in the order DSR, CTS, DCD.
    static std::vector<LineChange> between(ModemLines from, const ModemLines& to);

private:
    ModemLines levels_;
    ModemSample last_;
    bool useCounts_;
    int mismatches_ = 0;
};

} // namespace brantock::platform
