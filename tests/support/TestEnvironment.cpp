#include "tests/support/TestEnvironment.h"

#include <QDir>

#include <cstdlib>

namespace brantock::testsupport {

namespace {
QTemporaryDir* processRoot = nullptr;
}

void TestEnvironment::setUp() {
    if (processRoot)
        return;
    processRoot = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/brantock-test-XXXXXX"));
    const QString base = processRoot->path();
    const auto point = [&](const char* var, const QString& sub) {
        const QString dir = base + u'/' + sub;
        QDir().mkpath(dir);
        qputenv(var, dir.toUtf8());
    };
    point("HOME", QStringLiteral("home"));
    point("XDG_CONFIG_HOME", QStringLiteral("home/.config"));
    point("XDG_DATA_HOME", QStringLiteral("home/.local/share"));
    point("XDG_STATE_HOME", QStringLiteral("home/.local/state"));
    point("XDG_CACHE_HOME", QStringLiteral("home/.cache"));
    point("XDG_RUNTIME_DIR", QStringLiteral("runtime"));
    point("XDG_CONFIG_DIRS", QStringLiteral("etc/xdg"));
    point("BRANTOCK_LOCK_DIR", QStringLiteral("lock")); // serial lock files, never /var/lock
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QString TestEnvironment::root() {
    return processRoot ? processRoot->path() : QString();
}

ScratchFolder::ScratchFolder()
    : dir_(QDir::tempPath() + QStringLiteral("/brantock-scratch-XXXXXX")) {}

} // namespace brantock::testsupport
