// Writes many values into one hive, each change on its own, to race another writer.
// Usage: hive_writer <folder> <prefix> <count>
#include "platform/settings/HiveFileRegistry.h"

#include <cstdio>
#include <string>

using namespace brantock::platform;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hive_writer <folder> <prefix> <count>\n");
        return 2;
    }
    HiveFileRegistry registry(HivePaths::under(argv[1]));
    const std::string prefix = argv[2];
    const int count = std::stoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        HKEY key = 0;
        if (registry.RegCreateKeyEx(HKEY_CURRENT_USER, "Software\\Halvern\\Brantock",
                                    KEY_WRITE_ACCESS, &key) != ERROR_SUCCESS)
            return 1;
        const std::string value = std::to_string(i);
        const std::int32_t rc = registry.RegSetValueEx(
            key, prefix + value, REG_SZ, reinterpret_cast<const std::uint8_t*>(value.data()),
            static_cast<std::uint32_t>(value.size()));
        registry.RegCloseKey(key);
        if (rc != ERROR_SUCCESS)
            return 1;
    }
    return 0;
}
