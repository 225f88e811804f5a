#include "foundation/modWeb.h"

#include "foundation/modbrUtils.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/os/Shell.h"
#include "runtime/RuntimeError.h"

namespace brantock {

namespace {
constexpr int ShowNormal = 1;
constexpr int LastFailure = 32; // the shell's results up to 32 are failures
} // namespace

void BrowseToWebSite(const QString& address, QWidget* window) {
    withTrail("BrowseToWebSite&", [&] { OpenOrTell(window, address, QString()); });
}

bool OpenOrTell(QWidget* window, const QString& target, const QString& directory) {
    if (platform::Shell::current().ShellExecute(window, QStringLiteral("open"), target, QString(),
                                                directory, ShowNormal) > LastFailure)
        return true;
    // The desktop's own reason goes to standard error at best, which nobody sees.
    Message(QStringLiteral("I could not open ") + target +
                QStringLiteral(". Please open it yourself, for example in your web browser."),
            platform::style::Exclamation + platform::style::OKOnly, QString());
    return false;
}

} // namespace brantock
