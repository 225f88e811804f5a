#include "foundation/ui/HelpKey.h"

#include "foundation/App.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtils.h"
#include "foundation/modWeb.h"

#include <QShortcut>
#include <QWidget>

namespace brantock {

void HelpKey::OpenGuide(QWidget* window) {
    RunIgnoringErrors({[&] { OpenOrTell(window, HelpGuidePath(), App::Path()); }});
}

void HelpKey::install(QWidget* window, const std::function<void()>& onHelp) {
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
    help->setContext(Qt::ApplicationShortcut);
    QObject::connect(help, &QShortcut::activated, window, onHelp);
}

} // namespace brantock
