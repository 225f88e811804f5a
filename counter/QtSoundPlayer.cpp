#include "counter/QtSoundPlayer.h"

#include "counter/core/WaveSound.h"

#include <QFile>
#include <QUrl>

namespace brantock::counter {

QtSoundPlayer::QtSoundPlayer() = default;

void QtSoundPlayer::play(const QString& file) {
    effect_.stop();
    effect_.setSource(QUrl::fromLocalFile(file));
    effect_.play();
}

void QtSoundPlayer::playDefault() {
    if (defaultFile_.isEmpty() && folder_.isValid()) {
        QFile file(folder_.filePath(QStringLiteral("DEFAULTSOUND.wav")));
        if (file.open(QIODevice::WriteOnly) &&
            file.write(WaveSound::Default()) == WaveSound::Default().size())
            defaultFile_ = file.fileName();
    }
    if (!defaultFile_.isEmpty())
        play(defaultFile_);
}

} // namespace brantock::counter
