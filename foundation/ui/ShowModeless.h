#pragma once

#include <QPointer>

namespace brantock {

// Shows the owned modeless window of the slot, made anew by make() when there is none or the
// last one was closed (a closed one only waits to be deleted): one such window at a time.
template <class Window, class Make> Window* ShowModeless(QPointer<Window>& slot, Make make) {
    if (!slot || !slot->isVisible()) {
        slot = make();
        slot->setAttribute(Qt::WA_DeleteOnClose);
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot.data();
}

} // namespace brantock
