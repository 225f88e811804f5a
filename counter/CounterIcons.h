#pragma once

#include <QIcon>
#include <QPixmap>

namespace brantock::counter {

// The main window's small status icons, drawn rather than shipped, and the window's icon.
class CounterIcons {
public:
    static constexpr int Size = 17; // 255 twips
    static QPixmap lineActive();
    static QPixmap lockout();
    static QPixmap mute();
    static QPixmap loggingOff();
    static QIcon window();
};

} // namespace brantock::counter
