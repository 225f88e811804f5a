#pragma once

#include "counter/core/SoundPlayer.h"

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace brantock::counter {

// The desktop's event-sound player (libcanberra: PulseAudio, PipeWire through its PulseAudio
// service, or ALSA). A request only hands the sound to a thread of its own, so the window
// thread never waits on the sound server; that thread cuts the sound still playing and
// starts the new one. Requests that come faster than the server takes them keep only the
// latest, which is the one a new sound would leave playing anyway. No server, no device or
// an unplayable file is silence.
class CanberraSoundPlayer : public SoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void play(const QString& file) override;
    void playDefault() override;

private:
    struct Request {
        bool builtIn = false;
        QString file;
    };

    void request(Request next);
    void run(std::stop_token stop);

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::optional<Request> pending_;
    // Last, so it stops before the members it uses go.
    std::jthread worker_;
};

} // namespace brantock::counter
