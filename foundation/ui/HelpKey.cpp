#include "foundation/ui/HelpKey.h"

#include "foundation/App.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtils.h"
#include "platform/os/Shell.h"

#include <QShortcut>
#include <QWidget>

namespace brantock {

void HelpKey::OpenGuide(QWidget* window) {
    constexpr int ShowNormal = 1;
    RunIgnoringErrors({[&] {
        platform::Shell::current().ShellExecute(window, QStringLiteral("open"), HelpGuidePath(),
                                                QString(), App::Path(), ShowNormal);
    }});
}

void HelpKey::install(QWidget* window, const std::function<void()>& onHelp) {
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    help->setContext(Qt::ApplicationShortcut);
    QObject::connect(help, &QShortcut::activated, window, onHelp);
}

} // namespace brantock
