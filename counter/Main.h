#pragma once

#include <functional>
#include <memory>

namespace brantock {
class ErrorHandler;
}

namespace brantock::counter {

class frmMain;

// The counter's start: brings up the process's services, applies the single-instance rule
// and shows the main window. True (1) when the main window is loaded: the program then runs
// while it stays loaded.
int Main();
// The main window Main showed while it is loaded, otherwise null.
frmMain* LoadedMainWindow();
// Destroys the main window (before the application object goes).
void ReleaseMainWindow();

// Makes and installs the process's error handler; when that fails, says so in a box and
// returns false (the program cannot run without it).
bool LoadErrorHandler(const std::function<std::unique_ptr<ErrorHandler>()>& make);
// Whether this start may go on, given whether another counter of this user is running;
// a start that may not says why in a box.
bool SingleInstanceRule(bool previousInstance);

} // namespace brantock::counter
