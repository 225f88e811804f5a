#include "platform/settings/HivePaths.h"

#include "runtime/ProductConfig.h"

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
    const std::string vendor = std::string("/") + config::VendorFolder;
    return HivePaths{configHome + vendor + "/user.reg", configDir + vendor + "/machine.reg",
                     configDir + vendor + "/classes.reg", configDir + "/autostart"};
}

HivePaths HivePaths::under(const std::string& folder) {
    const std::string vendor = std::string("/") + config::VendorFolder;
    return HivePaths{folder + "/user" + vendor + "/user.reg",
                     folder + "/machine" + vendor + "/machine.reg",
                     folder + "/machine" + vendor + "/classes.reg", folder + "/machine/autostart"};
}

} // namespace brantock::platform
