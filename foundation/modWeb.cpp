#include "foundation/modWeb.h"

#include "platform/os/Shell.h"
#include "runtime/RuntimeError.h"

namespace brantock {

void BrowseToWebSite(const QString& address, QWidget* window) {
    withTrail("BrowseToWebSite&", [&] {
        platform::Shell::current().ShellExecute(window, QStringLiteral("open"), address, QString(),
                                                QString(), 1);
    });
}

} // namespace brantock
