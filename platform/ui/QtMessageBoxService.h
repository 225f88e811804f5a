#pragma once

#include "platform/dialogs/MessageBoxService.h"

namespace brantock::platform {

// Message boxes as modal Qt message boxes. Without a screen to show them on (the offscreen
// and minimal platforms) a box is answered as closed at once and its text goes to the
// standard error, so a program run that way never waits for a click that cannot come; tests
// of the boxes themselves ask for them to be shown all the same.
class QtMessageBoxService : public MessageBoxService {
public:
    explicit QtMessageBoxService(bool showWithoutScreen = false)
        : showWithoutScreen_(showWithoutScreen) {}
    int show(const MessageRequest& request) override;

private:
    bool showWithoutScreen_;
};

} // namespace brantock::platform
