#pragma once

#include "counter/core/SoundPlayer.h"

#include <QSoundEffect>
#include <QTemporaryDir>

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
    // The built-in sound written out on first use, as the effect plays only files.
    QTemporaryDir folder_;
    QString defaultFile_;
};

} // namespace brantock::counter
