#include "tests/counter/support/RecordingSoundPlayer.h"

namespace brantock::counter::testsupport {

RecordingSoundPlayer::RecordingSoundPlayer() {
    SoundPlayer::setCurrent(this);
}

RecordingSoundPlayer::~RecordingSoundPlayer() {
    SoundPlayer::setCurrent(nullptr);
}

} // namespace brantock::counter::testsupport
