#pragma once

#include <string>

namespace brantock::platform {

// Where the hives and the autostart entries live.
struct HivePaths {
    std::string user;      // HKEY_CURRENT_USER
    std::string machine;   // HKEY_LOCAL_MACHINE
    std::string classes;   // HKEY_CLASSES_ROOT
    std::string autostart; // folder of the start-with-login entries

    // $XDG_CONFIG_HOME/halvern/user.reg (~/.config when unset); the first folder of
    // $XDG_CONFIG_DIRS (/etc/xdg when unset) + /halvern/machine.reg and classes.reg, and
    // + /autostart for the entries.
    static HivePaths fromEnvironment();
    // All four below one folder (tests).
    static HivePaths under(const std::string& folder);
};

} // namespace brantock::platform
