#pragma once

#include <QtGlobal>

#include <optional>

class QInputEvent;

namespace brantock::counter {

// When an input event happened, on the clock's monotonic milliseconds. The window system
// stamps events on a clock of its own; the smallest gap seen between an event's stamp and the
// moment it was handled is taken as the offset between the two clocks, so a press handled
// late keeps the time it was made.
class InputEventTime {
public:
    qint64 at(const QInputEvent& event);

private:
    std::optional<qint64> offset_;
    quint64 lastStamp_ = 0;
};

} // namespace brantock::counter
