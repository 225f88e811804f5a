#include "platform/settings/RegistryApi.h"

#include "platform/settings/HiveFileRegistry.h"
#include "runtime/CurrentService.h"

namespace brantock::platform {

namespace {
CurrentService<RegistryApi> slot;
}

RegistryApi& RegistryApi::current() {
    return slot.get(
        [] { return std::make_unique<HiveFileRegistry>(HivePaths::fromEnvironment()); });
}

void RegistryApi::setCurrent(RegistryApi* registry) {
    slot.set(registry);
}

} // namespace brantock::platform
