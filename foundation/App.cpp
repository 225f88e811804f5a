#include "foundation/App.h"

#include <QCoreApplication>

namespace brantock {

namespace {
QString title;
QString path;
QString helpFile;
} // namespace

QString App::Title() {
    return title.isEmpty() ? QCoreApplication::applicationName() : title;
}
void App::SetTitle(const QString& t) {
    title = t;
}

QString App::Path() {
    return path.isEmpty() ? QCoreApplication::applicationDirPath() : path;
}
void App::SetPath(const QString& folder) {
    path = folder;
}

QString App::HelpFile() {
    return helpFile;
}
void App::SetHelpFile(const QString& name) {
    helpFile = name;
}

} // namespace brantock
