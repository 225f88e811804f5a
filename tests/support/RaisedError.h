#pragma once

#include "runtime/RuntimeError.h"

#include <functional>

namespace brantock::testsupport {

// The number of the run-time error an action raises, 0 when it raises none.
class RaisedError {
public:
    static int numberOf(const std::function<void()>& action) {
        try {
            action();
            return 0;
        } catch (const RuntimeError& e) {
            return e.number();
        }
    }
};

} // namespace brantock::testsupport
