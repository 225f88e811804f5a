#pragma once

#include <gtest/gtest.h>

class QWidget;

namespace brantock::testsupport {

// What a window asks the window system for: its buttons and whether it can be resized.
class WindowButtons {
public:
    // A dialog of a fixed size, without minimise or maximise button.
    static ::testing::AssertionResult fixedDialog(const QWidget* window);
    // A program's window of a fixed size, with a minimise and a close button, no maximise.
    static ::testing::AssertionResult fixedMainWindow(const QWidget* window);
};

} // namespace brantock::testsupport
