#pragma once

namespace brantock::platform {

// Values of `CommEvent` while `OnComm` runs: which input line changed.
constexpr int comEvCTS = 3;
constexpr int comEvDSR = 4;
constexpr int comEvCD = 5;

} // namespace brantock::platform
