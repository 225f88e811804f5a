#pragma once

#include "runtime/RuntimeError.h"

namespace brantock::platform {

// Run-time error numbers of the serial-port control; a property set outside its range raises
// err::InvalidPropertyValue.
namespace comErr {
constexpr int PortOpened = 8000;
constexpr int InvalidPort = 8002;
constexpr int PortAlreadyOpen = 8005;
constexpr int SetCommStateFailed = 8015;
constexpr int PortNotOpen = 8018;
} // namespace comErr

// The error with the control's description for its number.
RuntimeError commError(int number);

} // namespace brantock::platform
