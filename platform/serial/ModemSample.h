#pragma once

#include "platform/serial/ModemLines.h"

#include <cstdint>

namespace brantock::platform {

// One reading of a device's inputs: the levels and, where the driver keeps them, its running
// counts of transitions per line. `settled` means no count moved while the levels were read.
struct ModemSample {
    ModemLines levels;
    bool hasCounts = false;
    std::uint32_t dsrCount = 0;
    std::uint32_t ctsCount = 0;
    std::uint32_t cdCount = 0;
    bool settled = true;
};

} // namespace brantock::platform
