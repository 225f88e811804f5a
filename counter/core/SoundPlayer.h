#pragma once

#include <QString>

namespace brantock::counter {

// Where the counter's sounds go: the program installs a player of the sound card, tests one
// that records. Both calls return at once; a new sound cuts the one still playing, and a
// sound that cannot be played is silence, never an error. Without a player nothing plays.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString& file) = 0;
    // The built-in sound.
    virtual void playDefault() = 0;

    static SoundPlayer& current();
    static void setCurrent(SoundPlayer* player);
};

} // namespace brantock::counter
