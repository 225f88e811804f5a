#pragma once

#include "platform/serial/LineChange.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace brantock::platform {

// The hand-over of line changes from a backend's worker thread to the window thread, one
// queue for each time a port is opened. Records are never merged; only the wake-ups are:
// the eventfd is written once until the reader has emptied the queue again.
class ChangeQueue {
public:
    ChangeQueue();
    ~ChangeQueue();
    ChangeQueue(const ChangeQueue&) = delete;
    ChangeQueue& operator=(const ChangeQueue&) = delete;

    // Readable while records wait; watched on the window thread.
    int wakeFd() const { return wakeFd_; }

    void push(const std::vector<LineChange>& changes);
    // Marks the device as gone; only the first report queues the marker.
    void reportVanished();
    bool vanished() const { return vanished_.load(); }

    // Window thread: consume the wake-up, then take records until none is left.
    void clearWake();
    std::optional<LineChange> pop();
    bool empty() const;

private:
    void wakeLocked();

    mutable std::mutex mutex_;
    std::deque<LineChange> records_;
    bool wakePending_ = false;
    std::atomic<bool> vanished_{false};
    int wakeFd_ = -1;
};

} // namespace brantock::platform
