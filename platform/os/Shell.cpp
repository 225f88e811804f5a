#include "platform/os/Shell.h"

#include "platform/os/DesktopShell.h"
#include "runtime/CurrentService.h"

namespace brantock::platform {

namespace {
CurrentService<Shell> slot;
}

Shell& Shell::current() {
    return slot.get([] { return std::make_unique<DesktopShell>(); });
}

void Shell::setCurrent(Shell* shell) {
    slot.set(shell);
}

} // namespace brantock::platform
