#pragma once

#include <functional>
#include <memory>

namespace brantock {
class ErrorHandler;
}

namespace brantock::reports {

class frmMain;

// The reports program's start, run when the process starts and again on every automation
// Run: makes the error handler, reads the command line and shows the report window. True
// when the window is loaded afterwards.
bool Main();
// As Main, with the error handler made by make (tests make one that fails).
bool Main(const std::function<std::unique_ptr<ErrorHandler>()>& make);
// Shows the report window, loading it first when it is not loaded; a window that unloaded
// itself while loading is no error.
void ShowMainForm();
// The report window while it is loaded, otherwise null.
frmMain* LoadedMainWindow();
// Destroys the report window (before the application object goes).
void ReleaseMainWindow();

} // namespace brantock::reports
