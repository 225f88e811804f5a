#include "tests/counter/support/RecordingSoundPlayer.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/DataFiles.h"
#include "tests/support/EnvironmentVariable.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/StandInProgram.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"

#include "counter/CanberraSoundPlayer.h"
#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/DataLogger.h"
#include "counter/core/WaveSound.h"
#include "counter/frmMain.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/ui/frmAbout.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::testsupport;
using namespace std::chrono_literals;

namespace {

// The whole counter as the program puts it together: the main window with its parts, a
// simulated port with a peer that echoes, and a data file from the template.
class CounterProgram : public ::testing::Test {
protected:
    CounterProgram() {
        App::SetPath(programFolder.path());
        CommandLineDataPath = files.file("data.hbd");
        DataFiles::copyTemplate(CommandLineDataPath);
        SetRegSetting(settings::ComPort, "1", RegistryHive);
        SetRegSetting(settings::DebounceTime, "0", RegistryHive);
    }
    ~CounterProgram() override {
        form.reset();
        App::SetPath(QString());
    }
    void start() {
        form = std::make_unique<frmMain>();
        form->Show();
        ASSERT_TRUE(form->Loaded());
        ASSERT_TRUE(CountingStarted);
    }
    qint64 rows(const QString& where = "1") const {
        platform::Connection cn;
        cn.Open(ConnectionString(CommandLineDataPath));
        platform::Recordset rs = cn.Query("SELECT count(*) FROM Triggers WHERE " + where);
        return rs.Fields(0).toLongLong();
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages boxes;
    counter::testsupport::RecordingSoundPlayer player;
    counter::testsupport::SimulatedPorts ports{registry};
    ScratchFolder programFolder;
    ScratchFolder files;
    std::unique_ptr<frmMain> form;
};

// The program's own sound player on a machine with no sound server and no sound card: no
// server at the address, and an ALSA configuration that defines no device.
class CounterProgramWithoutSound : public CounterProgram {
protected:
    CounterProgramWithoutSound() {
        QFile none(files.file("asound.conf"));
        none.open(QIODevice::WriteOnly);
        SoundPlayer::setCurrent(&sounds);
    }
    ~CounterProgramWithoutSound() override {
        form.reset();
        SoundPlayer::setCurrent(&player);
    }

    EnvironmentVariable server{"PULSE_SERVER",
                               QFile::encodeName("unix:" + files.file("no-server"))};
    EnvironmentVariable alsa{"ALSA_CONFIG_PATH", QFile::encodeName(files.file("asound.conf"))};
    CanberraSoundPlayer sounds;
};

} // namespace

TEST_F(CounterProgramWithoutSound, CountsAndLogsEveryPulseSilently) {
    portsim::PeerServer& peer = ports.serve(1);
    start();
    ASSERT_EQ(form->ui().cmbSounds->currentText(), "<default>");
    peer.pulse(portsim::PeerServer::Line::Dsr, 300, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->CounterCaption() == "300 "; }, 20000))
        << form->CounterCaption().toStdString();
    EXPECT_EQ(rows(), 300);
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CounterProgram, EveryPulseOnTheLineIsCountedShownAndLogged) {
    portsim::PeerServer& peer = ports.serve(1);
    start();
    EXPECT_EQ(InterfaceName, "1");
    peer.pulse(portsim::PeerServer::Line::Dsr, 300, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->CounterCaption() == "300 "; }, 20000))
        << form->CounterCaption().toStdString();
    EXPECT_EQ(form->SensorCounterCaption(0), "300");
    EXPECT_EQ(rows(), 300);
    EXPECT_EQ(rows("SensorID = 1 AND CountUp = 1 AND SiteID = 0"), 300);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(CounterProgram, ABurstWithASoundChosenCountsLogsAndSoundsEveryTrigger) {
    const QString click = programFolder.path() + "/sounds/click.wav";
    QDir().mkpath(programFolder.path() + "/sounds");
    QFile wave(click);
    ASSERT_TRUE(wave.open(QIODevice::WriteOnly));
    wave.write(WaveSound::Tone(880, 50));
    wave.close();
    SetRegSetting(settings::TriggerSound, click, RegistryHive);
    portsim::PeerServer& peer = ports.serve(1);
    start();
    ASSERT_EQ(form->ui().cmbSounds->currentText(), "click");
    player.played.clear();
    // 2,000 edges, of which the 1,000 rises are triggers.
    peer.pulse(portsim::PeerServer::Line::Dsr, 1000, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form->CounterCaption() == "1000 "; }, 60000))
        << form->CounterCaption().toStdString();
    EXPECT_EQ(rows(), 1000);
    EXPECT_EQ(player.played, QStringList(1000, click));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(CounterProgram, TheHelpMenuShowsOneAboutBoxOwnedByTheMainWindow) {
    ports.serve(1);
    start();
    form->mnuHelpAbout_Click();
    form->mnuHelpAbout_Click();
    const QList<frmAbout*> boxes = form->findChildren<frmAbout*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0]->isVisible());
    EXPECT_FALSE(boxes[0]->isModal());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(CounterProgram, TheReportsMenuStartsTheReportsProgramBesideItWithTheDataFileAndTag) {
    ports.serve(1);
    start();
    StandInProgram reports(programFolder.path(), "brantockreports");
    InstanceTag = "North door";
    form->ui().mnuViewReports->trigger();
    const auto starts = reports.waitForStarts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].arguments,
              QStringList{"datapath=" + CommandLineDataPath + ",TAG=North door"});
    EXPECT_EQ(starts[0].folder, QFileInfo(programFolder.path()).canonicalFilePath());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(CounterProgram, ASecondCounterOnAnotherPortLogsItsOwnSensors) {
    // The second instance of two on one data file: its sensors are 4 to 6.
    InterfaceOffset = 1; // as Main takes it from the command line
    SetRegSetting(settings::SecondTriggerUse, "1", RegistryHive);
    portsim::PeerServer& peer = ports.serve(1);
    start();
    EXPECT_EQ(SensorIDBase, 3);
    peer.pulse(portsim::PeerServer::Line::Dsr, 5, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 5; }, 10000));
    peer.pulse(portsim::PeerServer::Line::Cts, 2, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 7; }, 10000));
    EXPECT_EQ(rows("SensorID = 4 AND CountUp = 1"), 5);
    EXPECT_EQ(rows("SensorID = 5 AND CountUp = 0"), 2);
    EXPECT_EQ(form->CounterCaption(), "3 ");
}

TEST_F(CounterProgram, ATriggerWhileAnotherProgramHoldsTheFileWaitsAndIsLogged) {
    portsim::PeerServer& peer = ports.serve(1);
    start();
    // Another program in the middle of a write for a while.
    std::atomic<bool> holding{false};
    std::thread other([&] {
        platform::Connection cn;
        cn.Open(ConnectionString(CommandLineDataPath));
        cn.Execute("BEGIN IMMEDIATE");
        cn.Execute("INSERT INTO Sites (SiteID, SiteName) VALUES (9, 'Other')");
        holding = true;
        std::this_thread::sleep_for(700ms);
        cn.Execute("COMMIT");
    });
    while (!holding)
        std::this_thread::sleep_for(1ms);
    peer.pulse(portsim::PeerServer::Line::Dsr, 1, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 1; }, 20000));
    other.join();
    EXPECT_EQ(form->CounterCaption(), "1 ");
    EXPECT_TRUE(errors.reports().empty());
}

// A report reading the file holds it most of the time; the counter waits for each insert.
// Pulses farther apart than the lockout all count, in order, each with its own minute.
TEST_F(CounterProgram, PulsesSpacedAboveTheLockoutWhileAReaderHoldsTheFileAreAllLogged) {
    SetRegSetting(settings::DebounceTime, "100", RegistryHive);
    portsim::PeerServer& peer = ports.serve(1);
    start();
    std::atomic<bool> stop{false};
    std::atomic<bool> holding{false};
    std::thread reader([&] {
        platform::Connection cn;
        cn.Open(ConnectionString(CommandLineDataPath));
        while (!stop) {
            cn.Execute("BEGIN");
            cn.Query("SELECT count(*) FROM Triggers");
            holding = true;
            std::this_thread::sleep_for(600ms);
            cn.Execute("COMMIT");
            std::this_thread::sleep_for(60ms);
        }
    });
    while (!holding)
        std::this_thread::sleep_for(1ms);
    const QDateTime before = QDateTime::currentDateTime();
    constexpr int Pulses = 12;
    peer.pulse(portsim::PeerServer::Line::Dsr, Pulses, 130ms);
    const QDateTime after = QDateTime::currentDateTime();
    const bool arrived = QTest::qWaitFor([&] { return rows() == Pulses; }, 30000);
    stop = true;
    reader.join();
    ASSERT_TRUE(arrived) << rows();
    EXPECT_EQ(form->CounterCaption(), QString::number(Pulses) + u' ');
    EXPECT_TRUE(errors.reports().empty());

    // In the order they came, none dated later than when the peer sent it.
    platform::Connection cn;
    cn.Open(ConnectionString(CommandLineDataPath));
    platform::Recordset rs =
        cn.Query("SELECT TriggerDate * 1440 + TriggerTime FROM Triggers ORDER BY rowid");
    const auto minuteOf = [](const QDateTime& t) {
        return qint64(t.date().toJulianDay() - QDate(2000, 1, 1).toJulianDay()) * 1440 +
               t.time().hour() * 60 + t.time().minute();
    };
    qint64 previous = minuteOf(before);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const qint64 minute = rs.Fields(0).toLongLong();
        EXPECT_GE(minute, previous);
        EXPECT_LE(minute, minuteOf(after));
        previous = minute;
    }
}

TEST_F(CounterProgram, AVanishedPortIsReportedEveryTickAndCountsNothing) {
    portsim::PeerServer& peer = ports.serve(1);
    start();
    peer.pulse(portsim::PeerServer::Line::Dsr, 2, 0us);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows() == 2; }, 10000));
    peer.dropClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form->comPort().PortOpen(); }, 10000));
    for (int tick = 0; tick < 2; ++tick) {
        form->logger().timApp_Timer();
        EXPECT_TRUE(
            form->ui().lstHistory->item(0)->text().startsWith("The com port has been closed "));
    }
    QTest::qWait(50);
    EXPECT_EQ(form->CounterCaption(), "2 ");
    EXPECT_EQ(rows(), 2);
}
