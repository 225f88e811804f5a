#include "tests/support/ScriptedMessages.h"

namespace brantock::testsupport {

ScriptedMessages::ScriptedMessages() {
    platform::MessageBoxService::setCurrent(this);
}

ScriptedMessages::~ScriptedMessages() {
    platform::MessageBoxService::setCurrent(nullptr);
}

int ScriptedMessages::show(const platform::MessageRequest& request) {
    shown_.push_back(request);
    if (!answers_.empty()) {
        const int a = answers_.front();
        answers_.pop_front();
        return a;
    }
    switch (request.style & 0x7) {
    case platform::style::AbortRetryIgnore:
        return platform::button::Abort;
    case platform::style::YesNoCancel:
    case platform::style::YesNo:
        return platform::button::Yes;
    case platform::style::RetryCancel:
        return platform::button::Retry;
    default:
        return platform::button::OK;
    }
}

} // namespace brantock::testsupport
