#pragma once

#include "platform/settings/RegistryApi.h"

#include <gmock/gmock.h>

namespace brantock::testsupport {

// A registry whose calls a test scripts, for instance to raise a run-time error where the
// store would fail unexpectedly.
class ThrowingRegistry : public platform::RegistryApi {
public:
    MOCK_METHOD(std::int32_t, RegCreateKeyEx,
                (platform::HKEY, const std::string&, std::uint32_t, platform::HKEY*), (override));
    MOCK_METHOD(std::int32_t, RegOpenKeyEx,
                (platform::HKEY, const std::string&, std::uint32_t, platform::HKEY*), (override));
    MOCK_METHOD(std::int32_t, RegQueryValueEx,
                (platform::HKEY, const std::string&, std::uint32_t*, std::uint8_t*, std::uint32_t*),
                (override));
    MOCK_METHOD(std::int32_t, RegSetValueEx,
                (platform::HKEY, const std::string&, std::uint32_t, const std::uint8_t*,
                 std::uint32_t),
                (override));
    MOCK_METHOD(std::int32_t, RegDeleteValue, (platform::HKEY, const std::string&), (override));
    MOCK_METHOD(std::int32_t, RegCloseKey, (platform::HKEY), (override));
};

} // namespace brantock::testsupport
