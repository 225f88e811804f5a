#include "tests/support/ProgramEnvironment.h"

#include <QDir>
#include <QFile>

namespace brantock::testsupport {

QProcessEnvironment ProgramEnvironment::under(const QString& home) {
    const QDir folder(home);
    const QString run = folder.filePath(QStringLiteral("run"));
    QDir().mkpath(run);
    QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CONFIG_DIRS"), folder.filePath(QStringLiteral("xdg")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), folder.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("share")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), folder.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
    env.insert(QStringLiteral("BRANTOCK_LOCK_DIR"), run);
    return env;
}

} // namespace brantock::testsupport
