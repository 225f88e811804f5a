#pragma once

#include <functional>

class QWidget;

namespace brantock {

// The program's help: Help > Contents and F1, in any of the program's windows, open the
// user guide in the desktop's browser.
class HelpKey {
public:
    // Opens the guide; when nothing opens it, a box gives its path.
    static void OpenGuide(QWidget* window);
    // F1 anywhere in the program, for as long as window lives, calls onHelp.
    static void install(QWidget* window, const std::function<void()>& onHelp);
};

} // namespace brantock
