#include "tests/support/DataFiles.h"
#include "tests/support/PrivateBus.h"
#include "tests/support/TestEnvironment.h"

#include "reports/clsBrantockReports.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::testsupport;

namespace {

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
    PrivateBus bus(DataFiles::programFolder());
    ASSERT_TRUE(bus.started()) << "dbus-daemon could not be started";
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
