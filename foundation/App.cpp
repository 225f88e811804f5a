#include "foundation/App.h"

#include "foundation/FoundationState.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace brantock {

namespace {
FoundationState& state() {
    return FoundationState::Current();
}
} // namespace

QString App::Title() {
    return state().AppTitle.isEmpty() ? QCoreApplication::applicationName() : state().AppTitle;
}
void App::SetTitle(const QString& t) {
    state().AppTitle = t;
}

QString App::Path() {
    return state().AppPath.isEmpty() ? QCoreApplication::applicationDirPath() : state().AppPath;
}
void App::SetPath(const QString& folder) {
    state().AppPath = folder;
}

QString App::EXEName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QString App::HelpFile() {
    return state().AppHelpFile;
}
void App::SetHelpFile(const QString& name) {
    state().AppHelpFile = name;
}

} // namespace brantock
