#pragma once

class QWidget;

namespace brantock {

// Brings a window to the front and gives it the focus, restoring it when minimised.
bool ForceForegroundWindow(QWidget* window);

} // namespace brantock
