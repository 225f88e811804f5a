#include "tests/support/PrivateBus.h"

#include "tests/support/DataFiles.h"
#include "tests/support/ProgramEnvironment.h"

#include <QDir>
#include <QFile>

namespace brantock::testsupport {

namespace {
void write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
}
} // namespace

PrivateBus::PrivateBus(const QString& servicesFolder) {
    socket_ = home_.file("bus");
    const QString config = home_.file("bus.conf");
    write(config,
          QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus "
                         "Configuration 1.0//EN\" \"http://www.freedesktop.org/standards/dbus/"
                         "1.0/busconfig.dtd\">\n"
                         "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                         "<servicedir>%2</servicedir>"
                         "<policy context=\"default\"><allow send_destination=\"*\"/>"
                         "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n")
              .arg(socket_, servicesFolder));

    const QString data = home_.file("data.hbd");
    DataFiles::copyTemplate(data);
    write(home_.file("config/halvern/user.reg"),
          QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                         "\"DatabasePath\"=\"%1\"\n")
              .arg(data));
    QProcessEnvironment env = ProgramEnvironment::under(home_.path());
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socket_);
    daemon_.setProcessEnvironment(env);
    daemon_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    daemon_.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address=1"});
    started_ = daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000);
}

PrivateBus::~PrivateBus() {
    QDBusConnection::disconnectFromBus(Name);
    daemon_.terminate();
    daemon_.waitForFinished(5000);
}

QDBusConnection PrivateBus::connect() const {
    return QDBusConnection::connectToBus("unix:path=" + socket_, Name);
}

} // namespace brantock::testsupport
