#pragma once

#include "platform/dialogs/MessageBoxService.h"

namespace brantock::platform {

// Message boxes as modal Qt message boxes.
class QtMessageBoxService : public MessageBoxService {
public:
    int show(const MessageRequest& request) override;
};

} // namespace brantock::platform
