#include "counter/QtSoundPlayer.h"

#include "counter/core/WaveSound.h"

#include <QUrl>

namespace brantock::counter {

QtSoundPlayer::QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& file) {
    effect_.stop();
    effect_.setSource(QUrl::fromLocalFile(file));
    effect_.play();
}

void QtSoundPlayer::playDefault() {
    if (defaultFile_.isEmpty())
        defaultFile_ = WaveSound::DefaultFile();
    if (!defaultFile_.isEmpty())
        play(defaultFile_);
}

} // namespace brantock::counter
