#pragma once

#include <QByteArray>
#include <QProcess>

#include <cstdint>
#include <vector>

namespace brantock::counter::testsupport {

class PulseServer;

// What a test's PulseAudio daemon plays, recorded from its sink's monitor (parec): mono
// 16-bit samples, 8,000 a second. Positions are sample numbers from the recording's start.
class MonitorRecording {
public:
    static constexpr int Rate = 8000;

    explicit MonitorRecording(const PulseServer& server);
    ~MonitorRecording();
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;

    // Waits until samples arrive; false, with the recorder's messages, when none do.
    bool waitForStart(QString* failure);
    // The position reached now.
    std::int64_t now();
    // Waits until the recording has reached position (false after timeoutMs).
    bool waitUntil(std::int64_t position, int timeoutMs);
    // The largest sample size in [from, to).
    int peak(std::int64_t from, std::int64_t to) const;
    // The positions where a sound begins: a sample louder than level after at least gapMs of
    // nothing louder, in [from, to).
    std::vector<std::int64_t> onsets(std::int64_t from, std::int64_t to, int level,
                                     int gapMs) const;

private:
    void take();

    QProcess recorder_;
    std::vector<std::int16_t> samples_;
    QByteArray partial_;
};

} // namespace brantock::counter::testsupport
