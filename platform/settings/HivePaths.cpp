#include "platform/settings/HivePaths.h"

#include <cstdlib>

namespace brantock::platform {

namespace {

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The first absolute entry of a colon-separated list.
std::string firstAbsolute(const std::string& list) {
    std::size_t pos = 0;
    while (pos <= list.size()) {
        std::size_t colon = list.find(':', pos);
        if (colon == std::string::npos)
            colon = list.size();
        const std::string entry = list.substr(pos, colon - pos);
        if (!entry.empty() && entry.front() == '/')
            return entry;
        pos = colon + 1;
    }
    return {};
}

std::string withoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace

HivePaths HivePaths::fromEnvironment() {
    std::string configHome = env("XDG_CONFIG_HOME");
    if (configHome.empty() || configHome.front() != '/')
        configHome = env("HOME") + "/.config";
    std::string configDir = firstAbsolute(env("XDG_CONFIG_DIRS"));
    if (configDir.empty())
        configDir = "/etc/xdg";
    configHome = withoutTrailingSlash(configHome);
    configDir = withoutTrailingSlash(configDir);
    return HivePaths{configHome + "/halvern/user.reg", configDir + "/halvern/machine.reg",
                     configDir + "/halvern/classes.reg", configDir + "/autostart"};
}

HivePaths HivePaths::under(const std::string& folder) {
    return HivePaths{folder + "/user/halvern/user.reg", folder + "/machine/halvern/machine.reg",
                     folder + "/machine/halvern/classes.reg", folder + "/machine/autostart"};
}

} // namespace brantock::platform
