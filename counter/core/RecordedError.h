#pragma once

#include "runtime/RuntimeError.h"

#include <QString>

#include <exception>
#include <utility>

namespace brantock::counter {

// Statements whose run-time errors are not handled but recorded, the procedure going on
// with its next statement: the last error is kept until it is cleared. The port routines
// work so, because a port that fails to open is an answer to them, not a fault.
class RecordedError {
public:
    template <class F> void attempt(F&& f) {
        try {
            std::forward<F>(f)();
        } catch (const RuntimeError& e) {
            number_ = e.number();
            description_ = e.description();
        } catch (const std::exception& e) {
            number_ = err::InternalError;
            description_ = QString::fromUtf8(e.what());
        }
    }

    int number() const { return number_; }
    const QString& description() const { return description_; }
    void clear() {
        number_ = 0;
        description_.clear();
    }

private:
    int number_ = 0;
    QString description_;
};

} // namespace brantock::counter
