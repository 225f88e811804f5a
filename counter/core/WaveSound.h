#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace brantock::counter {

// Short tones as wave files (PCM, mono, 8 bits a sample), made by the counter itself: its
// built-in sound, and the sample sounds the build puts beside the program.
class WaveSound {
public:
    static constexpr std::int32_t SampleRate = 11025;
    // The built-in sound's samples: 1,008 bytes, about 0.09 s.
    static constexpr std::int32_t DefaultSampleCount = 1008;

    // A tone of frequency hertz, sampleCount samples long, fading out so it ends without a
    // click; the whole file, header included.
    static QByteArray Tone(double frequency, std::int32_t sampleCount);
    // The built-in sound "DEFAULTSOUND".
    static const QByteArray& Default();
    // The built-in sound as a file, for players that play only files: one file in the user's
    // cache folder, written once and shared by every counter; the empty text when it cannot
    // be written.
    static QString DefaultFile();
};

} // namespace brantock::counter
