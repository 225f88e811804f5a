#pragma once

#include "platform/dialogs/ErrorPrompt.h"

namespace brantock::platform {

// A modal Abort/Retry/Ignore box. Without a screen to show it on (no application object, or
// the offscreen and minimal platforms) it answers Abort, so nothing waits for a click that
// cannot come.
class DialogErrorPrompt : public ErrorPrompt {
public:
    QString ask(const ErrorReport& report) override;
    static bool canShowDialogs();
};

} // namespace brantock::platform
