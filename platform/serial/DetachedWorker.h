#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include <pthread.h>

namespace brantock::platform {

// A thread that may sit in a call nobody can cancel. Stopping asks it to end, wakes it and
// waits only briefly; a thread that does not answer is left to end on its own later. It
// never holds up the program's exit, and what it uses is kept alive by shared ownership.
class DetachedWorker {
public:
    DetachedWorker() = default;
    ~DetachedWorker();
    DetachedWorker(const DetachedWorker&) = delete;
    DetachedWorker& operator=(const DetachedWorker&) = delete;

    // Runs body(stopRequested) on a new thread.
    void start(std::function<void(const std::atomic<bool>& stopRequested)> body);

    // Asks the thread to stop; wake is called with the thread's handle, while the thread is
    // sure to be running, and again every millisecond (which covers a wake that came just
    // before the thread began to wait) until the thread has ended or the grace time is over.
    // Returns whether it ended.
    bool stop(const std::function<void(pthread_t)>& wake,
              std::chrono::milliseconds grace = std::chrono::milliseconds(20));

private:
    struct State {
        std::atomic<bool> stopRequested{false};
        std::mutex mutex;
        std::condition_variable ended;
        bool finished = false;
        pthread_t thread{};
    };
    std::shared_ptr<State> state_;
};

} // namespace brantock::platform
