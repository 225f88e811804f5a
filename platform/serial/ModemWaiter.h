#pragma once

#include "platform/serial/ChangeQueue.h"
#include "platform/serial/DetachedWorker.h"
#include "platform/serial/ModemSample.h"

#include <memory>

namespace brantock::platform {

// Watches a tty's inputs off the window thread and queues every change. It waits in
// TIOCMIWAIT where the driver offers it, reads the levels every 2 ms where it does not, and
// only watches for a hang-up on a tty without modem lines (a pseudo-terminal). A device
// that goes away is reported as vanished.
class ModemWaiter {
public:
    ModemWaiter() = default;
    ~ModemWaiter();
    ModemWaiter(const ModemWaiter&) = delete;
    ModemWaiter& operator=(const ModemWaiter&) = delete;

    // Takes over fd, a duplicate of the port's own descriptor, and closes it when done.
    void start(int fd, bool hasModemLines, std::shared_ptr<ChangeQueue> changes);
    // Returns at once; a thread still inside the driver ends on its next wake.
    void stop();

    // One reading of levels and counts; false when the device does not answer.
    static bool sample(int fd, ModemSample& out, int& error);

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared, const std::atomic<bool>& stop);
    static bool waitForChange(Shared& shared, bool& driverWaits);

    std::shared_ptr<Shared> shared_;
    DetachedWorker worker_;
};

} // namespace brantock::platform
