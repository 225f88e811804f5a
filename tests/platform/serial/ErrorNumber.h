#pragma once

#include "RuntimeError.h"

#include <functional>

namespace brantock::testsupport {

// The number of the run-time error the action raised; 0 when it raised none.
inline int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace brantock::testsupport
