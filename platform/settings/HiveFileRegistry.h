#pragma once

#include "platform/settings/AutostartFolder.h"
#include "platform/settings/HivePaths.h"
#include "platform/settings/HiveStore.h"
#include "platform/settings/RegistryApi.h"

#include <map>
#include <mutex>

namespace brantock::platform {

// The registry kept in hive files (one per root) and the start-with-login values kept as
// autostart entries.
class HiveFileRegistry : public RegistryApi {
public:
    explicit HiveFileRegistry(const HivePaths& paths);

    std::int32_t RegCreateKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                HKEY* result) override;
    std::int32_t RegOpenKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                              HKEY* result) override;
    std::int32_t RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) override;
    std::int32_t RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) override;
    std::int32_t RegDeleteValue(HKEY key, const std::string& name) override;
    std::int32_t RegCloseKey(HKEY key) override;

    // The machine-wide key whose values are autostart entries.
    static constexpr const char* RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

private:
    struct OpenKey {
        HKEY root = 0;
        std::string path;
        bool writable = false;
    };
    // The root and full path a parent handle and sub-key name; false for a bad handle.
    bool resolve(HKEY parent, const std::string& subKey, OpenKey& out) const;
    HiveStore* storeFor(HKEY root);
    bool isRunKey(const OpenKey& key) const;
    bool lookup(HKEY handle, OpenKey& out) const;
    HKEY addHandle(OpenKey key);

    HiveStore user_;
    HiveStore machine_;
    HiveStore classes_;
    AutostartFolder autostart_;

    mutable std::mutex mutex_;
    std::map<HKEY, OpenKey> handles_;
    HKEY nextHandle_ = 0x1000;
};

} // namespace brantock::platform
