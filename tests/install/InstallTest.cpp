#include "tests/support/DataFiles.h"
#include "tests/support/PrivateBus.h"
#include "tests/support/ProgramEnvironment.h"
#include "tests/support/TestEnvironment.h"

#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"
#include "tools/portsim/PeerServer.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>

using namespace brantock;
using namespace brantock::testsupport;
using namespace std::chrono_literals;

namespace {

QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void write(const QString& path, const QString& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

// The suite installed once into a prefix with a blank in its name, as a user's may have.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new ScratchFolder;
        prefix = folder->file("my prefix");
        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(BRANTOCK_CMAKE, {"--install", BRANTOCK_BUILD_DIR, "--prefix", prefix});
        installed = install.waitForFinished(120000) &&
                    install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0;
        output = QString::fromUtf8(install.readAll());
    }
    static void TearDownTestSuite() {
        delete folder;
        folder = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(installed) << output.toStdString(); }

    static QString programs() { return prefix + "/lib/brantock"; }

    static inline ScratchFolder* folder = nullptr;
    static inline QString prefix;
    static inline bool installed = false;
    static inline QString output;
};

} // namespace

TEST_F(Installed, TheProgramsAndWhatTheyFindBesideThemShareOneFolder) {
    for (const char* program :
         {"brantock", "brantockreports", "brantockmultiportconfig", "brantockmultiportloader"})
        EXPECT_TRUE(QFileInfo(programs() + "/" + program).isExecutable()) << program;
    for (const char* file : {"empty.hbt", "sounds/chime.wav", "sounds/Tones/high.wav",
                             "help/brantock.html", "BrantockReports.clsBrantockReports.service"})
        EXPECT_TRUE(QFileInfo::exists(programs() + "/" + file)) << file;
    // The template is the built one, a data file the programs accept once copied.
    EXPECT_EQ(read(programs() + "/empty.hbt").size(), read(DataFiles::templatePath()).size());
    EXPECT_TRUE(QFileInfo::exists(prefix + "/share/icons/hicolor/128x128/apps/brantock.png"));
    // Nothing of the tests or the tools is installed.
    EXPECT_FALSE(QFileInfo::exists(programs() + "/brantock-portsim"));
}

TEST_F(Installed, TheDesktopEntriesAndTheActivationFileNameTheInstalledPrograms) {
    const std::pair<const char*, const char*> entries[] = {
        {"brantock.desktop", "brantock"},
        {"brantockreports.desktop", "brantockreports"},
        {"brantockmultiportconfig.desktop", "brantockmultiportconfig"},
    };
    for (const auto& [entry, program] : entries) {
        const QString text = read(prefix + "/share/applications/" + entry);
        EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\n")) << entry;
        EXPECT_TRUE(text.contains("\nExec=\"" + programs() + "/" + program + "\"\n")) << entry;
        EXPECT_TRUE(text.contains("\nIcon=brantock\n")) << entry;
    }
    for (const QString& service :
         {prefix + "/share/dbus-1/services/BrantockReports.clsBrantockReports.service",
          programs() + "/BrantockReports.clsBrantockReports.service"})
        EXPECT_TRUE(read(service).contains("Exec=\"" + programs() + "/brantockreports\""))
            << service.toStdString();
}

TEST_F(Installed, TheInstalledReportsProgramAnswersThroughItsActivationFile) {
    PrivateBus bus(prefix + "/share/dbus-1/services");
    ASSERT_TRUE(bus.started());
    QDBusConnection connection = bus.connect();
    ASSERT_TRUE(connection.isConnected());
    const QDBusMessage reply = connection.call(
        QDBusMessage::createMethodCall("BrantockReports.clsBrantockReports", "/clsBrantockReports",
                                       "BrantockReports._clsBrantockReports", "Run"),
        QDBus::Block, 30000);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    const uint pid = connection.interface()->servicePid("BrantockReports.clsBrantockReports");
    ASSERT_GT(pid, 0u);
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget(),
              programs() + "/brantockreports");
    ::kill(pid_t(pid), SIGTERM);
}

TEST_F(Installed, TheInstalledCounterFindsItsSoundsAndCountsFromASimulatedPort) {
    ScratchFolder home;
    const QString data = home.file("data.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(data));
    const QString sound = programs() + "/sounds/Tones/high.wav";
    const QString socket = home.file("com1.sock");
    write(home.file("config/halvern/user.reg"),
          QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CURRENT_USER\\Software\\Halvern\\Brantock]\n"
                         "\"DatabasePath\"=\"%1\"\n\"ComPort\"=\"1\"\n\"DebounceTime\"=\"0\"\n"
                         "\"ThemeFolder\"=\"Tones\"\n\"TriggerSound\"=\"%2\"\n")
              .arg(data, sound));
    write(home.file("xdg/halvern/machine.reg"),
          QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_LOCAL_MACHINE\\Software\\Halvern\\Brantock\\Ports]\n"
                         "\"Com1\"=\"sim:%1\"\n")
              .arg(socket));
    portsim::PeerServer peer(socket.toStdString());

    QProcess counter;
    const QProcessEnvironment env = ProgramEnvironment::under(home.path());
    counter.setProcessEnvironment(env);
    counter.setProcessChannelMode(QProcess::ForwardedChannels);
    counter.start(programs() + "/brantock", {});
    ASSERT_TRUE(counter.waitForStarted(5000));

    // Counting has started once the window's load wrote the sound selector's switch.
    const QString hive = home.file("config/halvern/user.reg");
    ASSERT_TRUE(QTest::qWaitFor([&] { return read(hive).contains("SoundSelector"); }, 20000))
        << read(hive).toStdString();
    ASSERT_TRUE(peer.waitClient(5s));
    EXPECT_TRUE(read(hive).contains("\"ThemeFolder\"=\"Tones\"")) << "the theme was found";
    EXPECT_TRUE(read(hive).contains(sound)) << "the sound was found";

    const auto rows = [&](const char* table) {
        platform::Connection cn;
        cn.Open(DataFiles::connectionText(data));
        return cn.Query(QStringLiteral("SELECT count(*) FROM ") + table).Fields(0).toLongLong();
    };
    // The first minute's activity row follows the start of counting.
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows("AppActivity") > 0; }, 20000));
    peer.pulse(portsim::PeerServer::Line::Dsr, 3, 0us);
    EXPECT_TRUE(QTest::qWaitFor([&] { return rows("Triggers") == 3; }, 20000));
    counter.terminate();
    counter.waitForFinished(5000);
    EXPECT_TRUE(read(home.file("state/halvern/errors.log")).isEmpty());
}

TEST_F(Installed, TheInstalledConfigurationProgramWritesTheInstalledLaunchersEntry) {
    ScratchFolder home;
    // An entry for the launcher in other letters: the window's load checks its box, and the
    // box's handler writes the entry again, naming the launcher beside the program.
    const QString loader = programs() + "/brantockmultiportloader";
    const QString entry = home.file("xdg/autostart/Brantock.desktop");
    write(entry,
          "[Desktop Entry]\nType=Application\nName=Brantock\nExec=" + loader.toUpper() + "\n");
    QProcess config;
    const QProcessEnvironment env = ProgramEnvironment::under(home.path());
    config.setProcessEnvironment(env);
    config.start(programs() + "/brantockmultiportconfig", {});
    ASSERT_TRUE(config.waitForStarted(5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return read(entry).contains(loader); }, 20000))
        << read(entry).toStdString();
    config.terminate();
    config.waitForFinished(5000);
}
