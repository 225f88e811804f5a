#include "foundation/ui/modForceFore.h"

#include "runtime/RuntimeError.h"

#include <QWidget>

namespace brantock {

bool ForceForegroundWindow(QWidget* window) {
    return withTrail("ForceForegroundWindow&", [&] {
        if (!window)
            return false;
        if (window->isActiveWindow() && !window->isMinimized())
            return true;
        if (window->isMinimized())
            window->showNormal();
        else
            window->show();
        window->raise();
        window->activateWindow();
        // The window system may refuse the focus (it decides on Wayland, for one); the
        // request has been made and the window is visible either way.
        return window->isVisible();
    });
}

} // namespace brantock
