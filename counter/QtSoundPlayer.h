#pragma once

#include "counter/core/SoundPlayer.h"

#include <QSoundEffect>

namespace brantock::counter {

// The sound card's player: one effect, so a new sound cuts the one still playing. Loading
// and playing go on in the background; a file that cannot be played, or no sound card, is
// silence.
class QtSoundPlayer : public SoundPlayer {
public:
    QtSoundPlayer();
    void play(const QString& file) override;
    void playDefault() override;

private:
    QSoundEffect effect_;
    // The built-in sound's file, found or written on first use: the effect plays only files.
    QString defaultFile_;
};

} // namespace brantock::counter
