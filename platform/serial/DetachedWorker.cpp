#include "platform/serial/DetachedWorker.h"

#include <thread>

namespace brantock::platform {

DetachedWorker::~DetachedWorker() {
    if (state_)
        stop([](pthread_t) {});
}

void DetachedWorker::start(std::function<void(const std::atomic<bool>&)> body) {
    auto state = std::make_shared<State>();
    std::unique_lock lock(state->mutex);
    std::thread thread([state, body = std::move(body)] {
        {
            // Start only once the owner knows the handle, so signal() never misses it.
            std::lock_guard started(state->mutex);
        }
        body(state->stopRequested);
        std::lock_guard done(state->mutex);
        state->finished = true;
        state->ended.notify_all();
    });
    state->thread = thread.native_handle();
    thread.detach();
    state_ = std::move(state);
}

bool DetachedWorker::stop(const std::function<void(pthread_t)>& wake,
                          std::chrono::milliseconds grace) {
    if (!state_)
        return true;
    std::shared_ptr<State> state = std::move(state_);
    state->stopRequested.store(true);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    std::unique_lock lock(state->mutex);
    while (!state->finished) {
        wake(state->thread);
        if (state->ended.wait_for(lock, std::chrono::milliseconds(1)) == std::cv_status::timeout &&
            std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return state->finished;
}

} // namespace brantock::platform
