#include "modWeb.h"

#include "RuntimeError.h"
#include "shell/Shell.h"

namespace brantock {

void BrowseToWebSite(const QString& address, QWidget* window) {
    withTrail("BrowseToWebSite&", [&] {
        platform::Shell::current().ShellExecute(window, QStringLiteral("open"), address, QString(),
                                                QString(), 1);
    });
}

} // namespace brantock
