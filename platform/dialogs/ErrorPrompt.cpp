#include "platform/dialogs/ErrorPrompt.h"

#include "runtime/CurrentService.h"

namespace brantock::platform {

namespace {

// Until a program installs its prompt, every error leaves its procedure.
class UnattendedErrorPrompt final : public ErrorPrompt {
public:
    QString ask(const ErrorReport&) override { return answer::Leave; }
};

CurrentService<ErrorPrompt> slot;

} // namespace

ErrorPrompt& ErrorPrompt::current() {
    return slot.get([] { return std::make_unique<UnattendedErrorPrompt>(); });
}

void ErrorPrompt::setCurrent(ErrorPrompt* prompt) {
    slot.set(prompt);
}

} // namespace brantock::platform
