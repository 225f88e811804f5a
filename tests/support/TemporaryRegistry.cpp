#include "tests/support/TemporaryRegistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace brantock::testsupport {

namespace {
QString hivePath(const platform::HivePaths& paths, platform::HKEY root) {
    switch (root) {
    case platform::HKEY_CURRENT_USER:
        return QString::fromStdString(paths.user);
    case platform::HKEY_LOCAL_MACHINE:
        return QString::fromStdString(paths.machine);
    default:
        return QString::fromStdString(paths.classes);
    }
}
} // namespace

TemporaryRegistry::TemporaryRegistry()
    : paths_(platform::HivePaths::under(folder_.stdPath())),
      registry_(std::make_unique<platform::HiveFileRegistry>(paths_)) {
    platform::RegistryApi::setCurrent(registry_.get());
}

TemporaryRegistry::~TemporaryRegistry() {
    platform::RegistryApi::setCurrent(nullptr);
}

QString TemporaryRegistry::readHive(platform::HKEY root) const {
    QFile file(hivePath(paths_, root));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

void TemporaryRegistry::writeHive(platform::HKEY root, const QByteArray& content) const {
    const QString path = hivePath(paths_, root);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

} // namespace brantock::testsupport
