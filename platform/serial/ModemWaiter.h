#pragma once

#include "platform/serial/ChangeQueue.h"
#include "platform/serial/DetachedWorker.h"
#include "platform/serial/ModemSample.h"

#include <functional>
#include <memory>

namespace brantock::platform {

// Watches a tty's inputs off the window thread and queues every change. It waits in
// TIOCMIWAIT where the driver offers it, reads the levels every 2 ms where it does not, and
// only watches for a hang-up on a tty without modem lines (a pseudo-terminal). A device
// that goes away is reported as vanished.
class ModemWaiter {
public:
    // One reading of a descriptor's levels and counts; false when the device does not answer.
    using Sampler = std::function<bool(int fd, ModemSample& out, int& error)>;

    // Tests give their own sampler to play a device with modem lines.
    explicit ModemWaiter(Sampler sampler = &ModemWaiter::sample) : sampler_(std::move(sampler)) {}
    ~ModemWaiter();
    ModemWaiter(const ModemWaiter&) = delete;
    ModemWaiter& operator=(const ModemWaiter&) = delete;

    // Takes over fd, a duplicate of the port's own descriptor, and closes it when done. The
    // levels to compare with are read here, before the caller goes on, so a change right after
    // opening is queued. False, with fd closed, when the device does not answer.
    bool start(int fd, bool hasModemLines, std::shared_ptr<ChangeQueue> changes);
    // Returns at once; a thread still inside the driver ends on its next wake.
    void stop();

    // One reading of levels and counts; false when the device does not answer.
    static bool sample(int fd, ModemSample& out, int& error);

private:
    struct Shared;
    static void run(const std::shared_ptr<Shared>& shared, const std::atomic<bool>& stop);
    static bool waitForChange(Shared& shared, bool& driverWaits);

    Sampler sampler_;
    std::shared_ptr<Shared> shared_;
    DetachedWorker worker_;
};

} // namespace brantock::platform
