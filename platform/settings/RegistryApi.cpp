#include "RegistryApi.h"

#include "HiveFileRegistry.h"

#include <atomic>

namespace brantock::platform {

namespace {
std::atomic<RegistryApi*> installed{nullptr};
}

RegistryApi& RegistryApi::current() {
    if (RegistryApi* r = installed.load())
        return *r;
    static HiveFileRegistry fromEnvironment(HivePaths::fromEnvironment());
    return fromEnvironment;
}

void RegistryApi::setCurrent(RegistryApi* registry) { installed.store(registry); }

} // namespace brantock::platform
