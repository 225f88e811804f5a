#include "tests/counter/support/PulseServer.h"

#include "tests/support/ProgramEnvironment.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

namespace brantock::counter::testsupport {

namespace {

QString socketIn(const QString& runtime) {
    return runtime + QStringLiteral("/native");
}

} // namespace

PulseServer::PulseServer() {
    const QString home = folder_.file(QStringLiteral("home"));
    const QString runtime = folder_.file(QStringLiteral("pulse"));
    QDir().mkpath(runtime);
    environment_ = brantock::testsupport::ProgramEnvironment::under(home);
    environment_.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime);
    environment_.insert(QStringLiteral("PULSE_STATE_PATH"), runtime);
    environment_.remove(QStringLiteral("PULSE_SERVER"));

    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty()) {
        failure_ = QStringLiteral("the program pulseaudio is not installed");
        return;
    }
    daemon_.setProcessEnvironment(environment_);
    daemon_.setProcessChannelMode(QProcess::MergedChannels);
    // -n: no default script, so nothing looks for sound cards; as root the daemon needs
    // --system=false to run as a user's server.
    daemon_.start(program,
                  {QStringLiteral("--system=false"), QStringLiteral("-n"),
                   QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                   QStringLiteral("--use-pid-file=false"), QStringLiteral("--log-target=stderr"),
                   QStringLiteral("-L"), QStringLiteral("module-null-sink sink_name=") + Sink,
                   QStringLiteral("-L"), QStringLiteral("module-native-protocol-unix")});
    if (!daemon_.waitForStarted(5000)) {
        failure_ = QStringLiteral("pulseaudio did not start: ") + daemon_.errorString();
        return;
    }
    const QDeadlineTimer deadline(10000);
    while (!QFileInfo::exists(socketIn(runtime))) {
        if (daemon_.state() != QProcess::Running || deadline.hasExpired()) {
            daemon_.kill();
            daemon_.waitForFinished(2000);
            failure_ = QStringLiteral("pulseaudio did not open its socket: ") +
                       QString::fromLocal8Bit(daemon_.readAll()).trimmed();
            return;
        }
        QThread::msleep(20);
    }
}

PulseServer::~PulseServer() {
    if (daemon_.state() == QProcess::NotRunning)
        return;
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) {
        daemon_.kill();
        daemon_.waitForFinished(2000);
    }
}

QByteArray PulseServer::address() const {
    return "unix:" +
           QFile::encodeName(socketIn(environment_.value(QStringLiteral("PULSE_RUNTIME_PATH"))));
}

QProcessEnvironment PulseServer::clientEnvironment() const {
    QProcessEnvironment client = environment_;
    client.insert(QStringLiteral("PULSE_SERVER"), QString::fromLocal8Bit(address()));
    return client;
}

} // namespace brantock::counter::testsupport
