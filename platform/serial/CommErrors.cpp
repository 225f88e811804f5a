#include "platform/serial/CommErrors.h"

#include <array>
#include <utility>

namespace brantock::platform {

namespace {
constexpr std::array<std::pair<int, const char*>, 6> Descriptions{{
    {err::InvalidPropertyValue, "Invalid property value"},
    {comErr::PortOpened, "Operation not valid while the port is opened"},
    {comErr::InvalidPort, "Invalid port number"},
    {comErr::PortAlreadyOpen, "Port already open"},
    {comErr::SetCommStateFailed, "Could not set comm state"},
    {comErr::PortNotOpen, "Operation valid only when the port is open"},
}};
} // namespace

RuntimeError commError(int number) {
    for (const auto& [known, description] : Descriptions)
        if (known == number)
            return RuntimeError(number, QString::fromLatin1(description));
    return RuntimeError::of(number);
}

} // namespace brantock::platform
