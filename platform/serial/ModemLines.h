#pragma once

namespace brantock::platform {

// The three modem-status inputs the counter watches; true = asserted.
struct ModemLines {
    bool dsr = false;
    bool cts = false;
    bool cd = false;

    bool operator==(const ModemLines&) const = default;
};

} // namespace brantock::platform
