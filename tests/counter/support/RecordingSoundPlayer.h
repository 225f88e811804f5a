#pragma once

#include "counter/core/SoundPlayer.h"

#include <QStringList>

namespace brantock::counter::testsupport {

// A player without a sound card: it keeps what it was asked to play ("DEFAULTSOUND" for the
// built-in sound) and is the current player for its lifetime.
class RecordingSoundPlayer : public SoundPlayer {
public:
    RecordingSoundPlayer();
    ~RecordingSoundPlayer() override;
    RecordingSoundPlayer(const RecordingSoundPlayer&) = delete;
    RecordingSoundPlayer& operator=(const RecordingSoundPlayer&) = delete;

    void play(const QString& file) override { played << file; }
    void playDefault() override { played << QStringLiteral("DEFAULTSOUND"); }

    QStringList played;
};

} // namespace brantock::counter::testsupport
