#include "counter/core/CounterWindow.h"

#include "runtime/RuntimeError.h"

namespace brantock::counter {

namespace {
CounterWindow* installed = nullptr;
}

CounterWindow& CounterWindow::current() {
    if (!installed)
        throw RuntimeError(err::InternalError, QStringLiteral("The counter has no main window."));
    return *installed;
}

void CounterWindow::setCurrent(CounterWindow* window) {
    installed = window;
}

} // namespace brantock::counter
