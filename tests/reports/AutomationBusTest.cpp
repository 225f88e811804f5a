#include "tests/support/DataFiles.h"
#include "tests/support/TestEnvironment.h"

#include "reports/clsBrantockReports.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::testsupport;

namespace {

// A session bus of the test's own whose services folder is the program folder, so that a
// call to the reports program's automation name starts the built program through the
// activation file beside it. The programs it starts run offscreen in scratch folders, with
// a data file made from the template as their stored one.
class PrivateBus {
public:
    PrivateBus() {
        const QString config = home.file("bus.conf");
        socket = home.file("bus");
        QFile conf(config);
        conf.open(QIODevice::WriteOnly);
        conf.write(QStringLiteral(
                       "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                       "1.0//EN\" \"http://www.freedesktop.org/standards/dbus/1.0/"
                       "busconfig.dtd\">\n"
                       "<busconfig><type>session</type><listen>unix:path=%1</listen>"
                       "<servicedir>%2</servicedir>"
                       "<policy context=\"default\"><allow send_destination=\"*\"/>"
                       "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n")
                       .arg(socket, DataFiles::programFolder())
                       .toUtf8());
        conf.close();

        const QString data = home.file("data.hbd");
        DataFiles::copyTemplate(data);
        QDir().mkpath(home.file("config/halvern"));
        QFile hive(home.file("config/halvern/user.reg"));
        hive.open(QIODevice::WriteOnly);
        hive.write(QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                                  "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                                  "\"DatabasePath\"=\"%1\"\n")
                       .arg(data)
                       .toUtf8());
        hive.close();
        QDir().mkpath(home.file("run"));
        QFile::setPermissions(home.file("run"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.file("config"));
        env.insert("XDG_CONFIG_DIRS", home.file("xdg"));
        env.insert("XDG_STATE_HOME", home.file("state"));
        env.insert("XDG_DATA_HOME", home.file("share"));
        env.insert("XDG_RUNTIME_DIR", home.file("run"));
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + socket);
        daemon.setProcessEnvironment(env);
        daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        daemon.start("dbus-daemon", {"--config-file=" + config, "--nofork", "--print-address=1"});
        started = daemon.waitForStarted(5000) && daemon.waitForReadyRead(5000);
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus(Name);
        daemon.terminate();
        daemon.waitForFinished(5000);
    }

    QDBusConnection connect() const {
        return QDBusConnection::connectToBus("unix:path=" + socket, Name);
    }

    static inline const QString Name = QStringLiteral("brantock-private-bus");
    ScratchFolder home;
    QString socket;
    QProcess daemon;
    bool started = false;
};

QDBusMessage run(QDBusConnection& bus) {
    return bus.call(QDBusMessage::createMethodCall(clsBrantockReports::ServiceName,
                                                   clsBrantockReports::ObjectPath,
                                                   clsBrantockReports::InterfaceName, "Run"),
                    QDBus::Block, 30000);
}

} // namespace

TEST(AutomationBus, TheActivationFileLiesBesideTheProgramAndNamesIt) {
    QFile file(DataFiles::programFolder() + "/BrantockReports.clsBrantockReports.service");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("Name=BrantockReports.clsBrantockReports"));
    EXPECT_TRUE(text.contains("Exec=\"" + DataFiles::programFolder() + "/brantockreports\""));
}

TEST(AutomationBus, ACallStartsTheProgramAndASecondRunGoesToTheSameProcess) {
    PrivateBus bus;
    ASSERT_TRUE(bus.started) << "dbus-daemon could not be started";
    QDBusConnection connection = bus.connect();
    ASSERT_TRUE(connection.isConnected()) << connection.lastError().message().toStdString();

    const QDBusMessage first = run(connection);
    ASSERT_EQ(first.type(), QDBusMessage::ReplyMessage) << first.errorMessage().toStdString();
    const uint pid = connection.interface()->servicePid(clsBrantockReports::ServiceName);
    ASSERT_GT(pid, 0u);
    EXPECT_EQ(::kill(pid_t(pid), 0), 0);

    const QDBusMessage second = run(connection);
    EXPECT_EQ(second.type(), QDBusMessage::ReplyMessage) << second.errorMessage().toStdString();
    EXPECT_EQ(connection.interface()->servicePid(clsBrantockReports::ServiceName).value(), pid);

    ::kill(pid_t(pid), SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return !connection.interface()
                        ->isServiceRegistered(clsBrantockReports::ServiceName)
                        .value();
        },
        10000));
}
