#include "platform/dialogs/MessageBoxService.h"

#include "runtime/CurrentService.h"

#include <cstdio>

namespace brantock::platform {

namespace {

// Until a program installs its boxes, a box is answered as if closed at once (closedAnswer).
// What it said goes to the standard error.
class UnattendedMessageBoxes final : public MessageBoxService {
public:
    int show(const MessageRequest& request) override {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.title),
                     qUtf8Printable(request.prompt));
        return closedAnswer(request.style);
    }
};

CurrentService<MessageBoxService> slot;

} // namespace

MessageBoxService& MessageBoxService::current() {
    return slot.get([] { return std::make_unique<UnattendedMessageBoxes>(); });
}

void MessageBoxService::setCurrent(MessageBoxService* service) {
    slot.set(service);
}

int MessageBoxService::closedAnswer(int style) {
    switch (style & 0x7) {
    case style::OKCancel:
    case style::YesNoCancel:
    case style::RetryCancel:
        return button::Cancel;
    case style::AbortRetryIgnore:
        return button::Abort;
    case style::YesNo:
        // Such a box cannot be closed without an answer; unanswered, nothing is done.
        return button::No;
    default:
        return button::OK;
    }
}

} // namespace brantock::platform
