#pragma once

#include "platform/serial/ChangeQueue.h"
#include "platform/serial/ModemLines.h"
#include "platform/serial/PortConfig.h"

#include <QByteArray>

#include <memory>

namespace brantock::platform {

// One opened device behind the serial-port control. open and the calls after it run on the
// window thread; line changes and a vanished device reach the control through the queue,
// from whatever thread watches the device. Failures raise the control's run-time errors.
class SerialBackend {
public:
    virtual ~SerialBackend() = default;

    // Raises 8002 when the device does not exist, 8005 when another holder has it.
    virtual void open(const PortConfig& config, std::shared_ptr<ChangeQueue> changes) = 0;
    // Returns at once, whatever a watching thread is doing.
    virtual void close() = 0;

    virtual void applySettings(const SerialSettings& settings) = 0;
    virtual void setOutputLines(bool dtr, bool rts) = 0;
    // The levels now.
    virtual ModemLines inputLines() = 0;
    virtual void write(const QByteArray& bytes) = 0;
    // Everything received and not yet read.
    virtual QByteArray readAll() = 0;
};

} // namespace brantock::platform
