#pragma once

#include "platform/serial/LineChange.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace brantock::platform {

// The hand-over of line changes from a backend's worker thread to the window thread, one
// queue for each time a port is opened. Records are never merged. The eventfd is readable
// exactly while records wait, so every event loop on the window thread, nested ones included,
// sees them.
class ChangeQueue {
public:
    ChangeQueue();
    ~ChangeQueue();
    ChangeQueue(const ChangeQueue&) = delete;
    ChangeQueue& operator=(const ChangeQueue&) = delete;

    // Readable while records wait; watched on the window thread.
    int wakeFd() const { return wakeFd_; }

    // Records not yet stamped get the time of the push: backends push right after they read
    // the device, so that is when the change was seen.
    void push(std::vector<LineChange> changes);
    // Marks the device as gone; only the first report queues the marker.
    void reportVanished();
    bool vanished() const { return vanished_.load(); }

    // Window thread: the oldest record, if any.
    std::optional<LineChange> pop();

private:
    void appendLocked(const LineChange* first, const LineChange* last);

    std::mutex mutex_;
    std::deque<LineChange> records_;
    std::atomic<bool> vanished_{false};
    int wakeFd_ = -1;
};

} // namespace brantock::platform
