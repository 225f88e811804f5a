#include "counter/core/SoundPlayer.h"

namespace brantock::counter {

namespace {

class SilentPlayer : public SoundPlayer {
public:
    void play(const QString&) override {}
    void playDefault() override {}
};

SilentPlayer silent;
SoundPlayer* installed = nullptr;

} // namespace

SoundPlayer& SoundPlayer::current() {
    return installed ? *installed : silent;
}

void SoundPlayer::setCurrent(SoundPlayer* player) {
    installed = player;
}

} // namespace brantock::counter
