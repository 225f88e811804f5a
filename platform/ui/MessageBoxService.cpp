#include "MessageBoxService.h"

#include "CurrentService.h"
#include "QtMessageBoxService.h"

namespace brantock::platform {

namespace {
CurrentService<MessageBoxService> slot;
}

MessageBoxService& MessageBoxService::current() {
    return slot.get([] { return std::make_unique<QtMessageBoxService>(); });
}

void MessageBoxService::setCurrent(MessageBoxService* service) {
    slot.set(service);
}

} // namespace brantock::platform
