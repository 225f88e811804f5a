#pragma once

#include <cstdint>
#include <string>

namespace brantock::platform {

// Handles, types, access masks and result codes with the values the registry routines expect.
using HKEY = std::uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;

constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr std::uint32_t KEY_READ = 0x20019;
constexpr std::uint32_t KEY_WRITE_ACCESS = 0x3F;

constexpr std::int32_t ERROR_SUCCESS = 0;
constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;
constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
constexpr std::int32_t ERROR_INVALID_HANDLE = 6;
constexpr std::int32_t ERROR_INVALID_DATA = 13;
constexpr std::int32_t ERROR_INVALID_PARAMETER = 87;
constexpr std::int32_t ERROR_MORE_DATA = 234;
constexpr std::int32_t ERROR_REGISTRY_IO_FAILED = 1016;

// The registry functions the settings routines are written against. Names and values are
// UTF-8 bytes; key paths use "\" between keys.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    // Opens a key, creating it and its missing parents first.
    virtual std::int32_t RegCreateKeyEx(HKEY parent, const std::string& subKey,
                                        std::uint32_t access, HKEY* result) = 0;
    virtual std::int32_t RegOpenKeyEx(HKEY parent, const std::string& subKey, std::uint32_t access,
                                      HKEY* result) = 0;
    // With data null, reports type and size only. A buffer smaller than the value gives
    // ERROR_MORE_DATA and the needed size.
    virtual std::int32_t RegQueryValueEx(HKEY key, const std::string& name, std::uint32_t* type,
                                         std::uint8_t* data, std::uint32_t* size) = 0;
    virtual std::int32_t RegSetValueEx(HKEY key, const std::string& name, std::uint32_t type,
                                       const std::uint8_t* data, std::uint32_t size) = 0;
    virtual std::int32_t RegDeleteValue(HKEY key, const std::string& name) = 0;
    virtual std::int32_t RegCloseKey(HKEY key) = 0;

    // The process's registry; tests install their own.
    static RegistryApi& current();
    static void setCurrent(RegistryApi* registry);
};

} // namespace brantock::platform
