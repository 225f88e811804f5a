#include "platform/serial/PortDeviceMap.h"

#include "runtime/ProductConfig.h"

#include "platform/settings/RegistryApi.h"

#include <algorithm>
#include <string>

namespace brantock::platform {

namespace {

const std::string PortsKey = std::string(config::ProductKey) + "\\Ports";

QString readText(HKEY root, const std::string& name) {
    RegistryApi& registry = RegistryApi::current();
    HKEY key = 0;
    if (registry.RegOpenKeyEx(root, PortsKey, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    std::string value;
    std::uint32_t type = 0, size = 0;
    if (registry.RegQueryValueEx(key, name, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        value.resize(size);
        if (registry.RegQueryValueEx(key, name, &type,
                                     reinterpret_cast<std::uint8_t*>(value.data()),
                                     &size) != ERROR_SUCCESS)
            value.clear();
        value.resize(std::min<std::size_t>(size, value.size()));
    }
    registry.RegCloseKey(key);
    // Stored texts may end in a terminating zero when written by other tools.
    while (!value.empty() && value.back() == '\0')
        value.pop_back();
    return QString::fromUtf8(value.data(), qsizetype(value.size())).trimmed();
}

} // namespace

QString PortDeviceMap::device(int port) {
    const QString configured = configuredDevice(port);
    return configured.isEmpty() ? defaultDevice(port) : configured;
}

QString PortDeviceMap::defaultDevice(int port) {
    if (port < FirstPort || port > LastPort)
        return {};
    if (port <= 4)
        return QStringLiteral("/dev/ttyS%1").arg(port - 1);
    if (port <= 12)
        return QStringLiteral("/dev/ttyUSB%1").arg(port - 5);
    return QStringLiteral("/dev/ttyACM%1").arg(port - 13);
}

QString PortDeviceMap::configuredDevice(int port) {
    if (port < FirstPort || port > LastPort)
        return {};
    const std::string name = "Com" + std::to_string(port);
    const QString user = readText(HKEY_CURRENT_USER, name);
    return user.isEmpty() ? readText(HKEY_LOCAL_MACHINE, name) : user;
}

} // namespace brantock::platform
