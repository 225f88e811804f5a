#include "tests/support/WindowButtons.h"

#include <QWidget>

namespace brantock::testsupport {

namespace {

::testing::AssertionResult check(const QWidget* window, bool minimise) {
    const Qt::WindowFlags flags = window->windowFlags();
    if (flags.testFlag(Qt::WindowMaximizeButtonHint))
        return ::testing::AssertionFailure() << "asks for a maximise button";
    if (flags.testFlag(Qt::WindowMinimizeButtonHint) != minimise)
        return ::testing::AssertionFailure()
               << (minimise ? "has no minimise button" : "asks for a minimise button");
    if (minimise && !flags.testFlag(Qt::WindowCloseButtonHint))
        return ::testing::AssertionFailure() << "has no close button";
    if (window->minimumSize() != window->maximumSize())
        return ::testing::AssertionFailure() << "can be resized";
    return ::testing::AssertionSuccess();
}

} // namespace

::testing::AssertionResult WindowButtons::fixedDialog(const QWidget* window) {
    return check(window, false);
}

::testing::AssertionResult WindowButtons::fixedMainWindow(const QWidget* window) {
    return check(window, true);
}

} // namespace brantock::testsupport
