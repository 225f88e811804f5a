#include "tests/counter/support/CounterDataFile.h"
#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/support/MockClock.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"

#include "counter/core/CounterState.h"
#include "counter/core/DataLogger.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "platform/serial/CommControl.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::testsupport;
using brantock::counter::testsupport::CounterDataFile;
using brantock::counter::testsupport::RecordingCounterWindow;

namespace {

// 10 March 2026, a Tuesday: day 9565 of the data file.
constexpr int Day = 9565;
const QDate Today(2026, 3, 10);

DateValue at(int hours, int minutes, int seconds = 0, int ms = 0, int days = 0) {
    return DateValue::fromDateTime(Today.addDays(days), QTime(hours, minutes, seconds, ms));
}

// A port whose far end sends back what it is sent, unless told not to.
struct Loop {
    bool echo = true;
    QByteArray received;
};

class LoopBackend : public platform::SerialBackend {
public:
    explicit LoopBackend(std::shared_ptr<Loop> loop) : loop_(std::move(loop)) {}
    void open(const platform::PortConfig&, std::shared_ptr<platform::ChangeQueue>) override {}
    void close() override {}
    void applySettings(const platform::SerialSettings&) override {}
    void setOutputLines(bool, bool) override {}
    platform::ModemLines inputLines() override { return {}; }
    void write(const QByteArray& bytes) override {
        if (loop_->echo)
            loop_->received += bytes;
    }
    QByteArray readAll() override { return std::exchange(loop_->received, {}); }

private:
    std::shared_ptr<Loop> loop_;
};

class Logging : public ::testing::Test {
protected:
    Logging() {
        ComputerNameText = "HOST";
        InterfaceName = "Manual";
        ManualTriggerMode = true;
        SiteName = "<Unknown>";
        CountingStarted = true;
        LastClockCheck = clock.now();
        logger.timApp.stop();
        logger.SetLogToDatabase(true);
        window.calls.clear();
        window.history.clear();
    }

    // Ticks of a running counter: the first one after start-up also sets the interval.
    void tick(DataLogger& l) { l.timApp_Timer(); }
    void tick() { tick(logger); }
    void tickAt(DateValue when) {
        clock.set(when);
        tick();
    }
    std::vector<std::string> activity() const {
        return file.rows("SELECT ActiveDate, ActiveFrom, ActiveTo FROM AppActivity ORDER BY rowid");
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages messages;
    RecordingCounterWindow window;
    MockClock clock{at(10, 0)};
    CounterDataFile file;
    std::shared_ptr<Loop> loop = std::make_shared<Loop>();
    platform::CommControl comPort{
        [](int) { return QStringLiteral("loop"); },
        [this](const QString&) { return std::make_unique<LoopBackend>(loop); }};
    DataLogger logger{comPort};
};

} // namespace

TEST_F(Logging, TheSwitchShowsItsIconStoresItselfAndSaysSo) {
    logger.SetLogToDatabase(false);
    EXPECT_FALSE(logger.LogToDatabase());
    EXPECT_TRUE(window.IconVisible(CounterWindow::Icon::LogToDatabase));
    EXPECT_EQ(GetRegSetting("LogToDatabase", "", "", true, RegistryHive), "0");
    logger.SetLogToDatabase(true);
    EXPECT_TRUE(logger.LogToDatabase());
    EXPECT_FALSE(window.IconVisible(CounterWindow::Icon::LogToDatabase));
    EXPECT_EQ(GetRegSetting("LogToDatabase", "", "", true, RegistryHive), "1");
    EXPECT_EQ(window.history,
              QStringList({"Logging is on 10:00:00 AM", "Logging is off 10:00:00 AM"}));
}

TEST_F(Logging, OffOpensNothingAndRecordsNoActivity) {
    logger.SetLogToDatabase(false);
    // A file that is not there would fail any opening.
    CachedDataPath = file.path() + ".gone";
    logger.LogTrigger(1, true);
    tick();
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_EQ(window.detailsUpdates, 1);
    CachedDataPath = file.path();
    EXPECT_TRUE(file.rows("SELECT * FROM Triggers").empty());
    EXPECT_TRUE(activity().empty());
}

TEST_F(Logging, ATriggerRowHoldsDayMinuteSensorSiteAndDirection) {
    InterfaceOffset = 1;
    SensorIDBase = 3;
    clock.set(at(10, 7, 42));
    logger.LogTrigger(2, true);
    logger.LogTrigger(3, false);
    EXPECT_EQ(file.rows("SELECT TriggerDate, TriggerTime, SensorID, SiteID, CountUp, "
                        "typeof(CountUp) FROM Triggers ORDER BY rowid"),
              (std::vector<std::string>{"9565|607|5|0|1|integer", "9565|607|6|0|0|integer"}));
    EXPECT_TRUE(SiteLoaded);
}

TEST_F(Logging, TheMinuteDropsTheSecondsAndTheDayIsTheClocksDate) {
    const struct {
        DateValue when;
        std::string row;
    } cases[] = {
        {at(0, 0, 0), "9565|0"},         {at(0, 0, 59, 999), "9565|0"},
        {at(12, 1, 0), "9565|721"},      {at(23, 59, 59, 700), "9565|1439"},
        {at(0, 0, 0, 200, 1), "9566|0"},
    };
    for (const auto& c : cases) {
        file.execute("DELETE FROM Triggers");
        clock.set(c.when);
        logger.LogTrigger(1, true);
        EXPECT_EQ(file.rows("SELECT TriggerDate, TriggerTime FROM Triggers"),
                  std::vector<std::string>{c.row});
    }
}

TEST_F(Logging, AFailedInsertIsRaisedWithTheTrailAndLeavesNoConnection) {
    file.execute("DROP TABLE Triggers");
    file.execute("CREATE TABLE Triggers (TriggerDate INTEGER, TriggerTime INTEGER, "
                 "SensorID INTEGER, SiteID INTEGER, Archived INTEGER)");
    try {
        logger.LogTrigger(1, true);
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_TRUE(e.source().startsWith("LogTrigger&")) << e.source().toStdString();
    }
    EXPECT_TRUE(file.rows("SELECT * FROM Triggers").empty());
}

TEST_F(Logging, TwoTicksAMinuteApartExtendTheLatestPeriodUpToTwoMinutes) {
    const struct {
        int gap;
        std::vector<std::string> rows;
    } cases[] = {
        {0, {"9565|600|600"}},
        {1, {"9565|600|601"}},
        {2, {"9565|600|602"}},
        {3, {"9565|600|600", "9565|603|603"}},
    };
    for (const auto& c : cases) {
        file.execute("DELETE FROM AppActivity");
        tickAt(at(10, 0, 5));
        tickAt(at(10, c.gap, 5));
        EXPECT_EQ(activity(), c.rows) << "gap " << c.gap;
    }
}

TEST_F(Logging, AfterMidnightANewRowBeginsAndYesterdaysKeepsItsEnd) {
    tickAt(at(23, 58, 30));
    tickAt(at(23, 59, 30));
    tickAt(at(0, 0, 30, 0, 1));
    EXPECT_EQ(activity(), (std::vector<std::string>{"9565|1438|1439", "9566|0|0"}));
}

TEST_F(Logging, ARestartWithinTwoMinutesContinuesTheRowALaterOneAddsOne) {
    tickAt(at(10, 0));
    {
        DataLogger restarted(comPort);
        restarted.timApp.stop();
        restarted.SetLogToDatabase(true);
        clock.set(at(10, 2));
        tick(restarted);
    }
    DataLogger later(comPort);
    later.timApp.stop();
    later.SetLogToDatabase(true);
    clock.set(at(10, 5));
    tick(later);
    EXPECT_EQ(activity(), (std::vector<std::string>{"9565|600|602", "9565|605|605"}));
}

TEST_F(Logging, AClockSetBackSetsTheEndBack) {
    tickAt(at(10, 0));
    tickAt(at(10, 40));
    tickAt(at(10, 41));
    tickAt(at(10, 11));
    EXPECT_EQ(activity(), (std::vector<std::string>{"9565|600|600", "9565|640|611"}));
}

TEST_F(Logging, SwitchedOffForMoreThanTwoMinutesTheNextPeriodIsANewRow) {
    tickAt(at(10, 0));
    logger.SetLogToDatabase(false);
    tickAt(at(10, 1));
    tickAt(at(10, 2));
    logger.SetLogToDatabase(true);
    tickAt(at(10, 3));
    EXPECT_EQ(activity(), (std::vector<std::string>{"9565|600|600", "9565|603|603"}));
}

TEST_F(Logging, TwoCountersInOneFileKeepTheirRowsApart) {
    DataLogger second(comPort);
    second.timApp.stop();
    second.SetLogToDatabase(true);
    const auto tickAs = [&](DataLogger& counter, std::uint8_t offset, int minute) {
        InterfaceOffset = offset;
        InterfaceName = QString::number(offset + 1);
        clock.set(at(10, minute));
        tick(counter);
    };
    tickAs(logger, 0, 0);
    tickAs(second, 1, 0);
    // Only the first one's period grows, though both ended at the same minute.
    tickAs(logger, 0, 1);
    // The second one's own period ended three minutes ago.
    tickAs(second, 1, 3);
    EXPECT_EQ(file.rows("SELECT ActiveFrom, ActiveTo, Machine, Interface, InterfaceOffset, SiteID "
                        "FROM AppActivity ORDER BY rowid"),
              (std::vector<std::string>{"600|601|HOST|1|0|0", "600|600|HOST|2|1|0",
                                        "603|603|HOST|2|1|0"}));
}

TEST_F(Logging, NamesWithQuotesAreStoredAsTheyAre) {
    ComputerNameText = "Ann's PC";
    InterfaceName = "O'Port";
    SiteName = "Ann's \"Shop\"";
    SiteID = 4;
    tickAt(at(10, 0));
    tickAt(at(10, 1));
    logger.LogTrigger(1, true);
    EXPECT_EQ(file.rows("SELECT ActiveFrom, ActiveTo, Machine, Interface, SiteID FROM AppActivity"),
              std::vector<std::string>{"600|601|Ann's PC|O'Port|4"});
    EXPECT_EQ(file.rows("SELECT SiteID, SiteName, MachineName, Interface FROM Sites"),
              std::vector<std::string>{"4|Ann's \"Shop\"|Ann's PC|O'Port"});
    EXPECT_EQ(file.rows("SELECT SiteID FROM Triggers"), std::vector<std::string>{"4"});
}

TEST_F(Logging, TheActivityInsertOfEachFormat) {
    ComputerNameText = "HOST";
    InterfaceName = "3";
    InterfaceOffset = 1;
    SiteID = 7;
    DataVersion = 1;
    EXPECT_EQ(logger.BuildActivityInsertSQL("9565", "600"),
              "INSERT INTO AppActivity (ActiveDate, ActiveFrom, ActiveTo) SELECT 9565 , 600 , 600");
    EXPECT_TRUE(logger.ActivityInsertValues().isEmpty());
    for (std::int16_t version : {2, 3}) {
        DataVersion = version;
        EXPECT_EQ(logger.BuildActivityInsertSQL("9565", "600"),
                  "INSERT INTO AppActivity (ActiveDate, ActiveFrom, "
                  "ActiveTo,Machine,Interface,InterfaceOffset,SiteID) SELECT 9565,600,600,?,?,1,7");
        EXPECT_EQ(logger.ActivityInsertValues(), QVariantList({"HOST", "3"}));
    }
    DataVersion = 4;
    EXPECT_TRUE(logger.BuildActivityInsertSQL("9565", "600").isEmpty());
}

TEST_F(Logging, AFailingStatementIsReportedOnceATickAndEndsIt) {
    file.execute("DROP TABLE AppActivity");
    tickAt(at(10, 0));
    tickAt(at(10, 1));
    ASSERT_EQ(errors.reports().size(), 2u);
    EXPECT_EQ(errors.reports()[0].trail, "timApp_Timer&");
    EXPECT_EQ(errors.reports()[0].activity, "processing the main application timer event");
    EXPECT_EQ(window.detailsUpdates, 2);
}

TEST_F(Logging, NothingRunsBeforeCountingHasStarted) {
    CountingStarted = false;
    const DateValue before = LastClockCheck;
    clock.set(at(14, 0));
    tick();
    EXPECT_EQ(logger.timApp.interval(), 1);
    EXPECT_EQ(LastClockCheck, before);
    EXPECT_EQ(window.detailsUpdates, 0);
    EXPECT_EQ(window.clockWarnings, 0);
    EXPECT_TRUE(activity().empty());
}

TEST_F(Logging, TheFirstTickSetsTheMinuteAndLaterOnesResetOnANewDay) {
    LastCountDay = int(at(0, 0).serial());
    for (bool reset : {true, false}) {
        DailyReset = reset;
        window.calls.clear();
        DataLogger fresh(comPort);
        fresh.timApp.stop();
        clock.set(at(0, 0, 30, 0, 1));
        tick(fresh); // the first tick after start-up sets the interval only
        EXPECT_EQ(fresh.timApp.interval(), 60000);
        EXPECT_FALSE(window.calls.contains("ResetCounter"));
        tick(fresh);
        EXPECT_EQ(window.calls.contains("ResetCounter"), reset);
        EXPECT_EQ(LastCountDay, int(at(0, 0, 0, 0, 1).serial()));
        LastCountDay = int(at(0, 0).serial());
    }
}

TEST_F(Logging, AClosedPortIsSaidEveryMinuteAndRecordsNoActivity) {
    ManualTriggerMode = false;
    tickAt(at(10, 0));
    tickAt(at(10, 1, 5));
    EXPECT_EQ(window.history, QStringList({"The com port has been closed 10:01:05 AM",
                                           "The com port has been closed 10:00:00 AM"}));
    EXPECT_EQ(window.detailsUpdates, 0);
    EXPECT_TRUE(activity().empty());
}

TEST_F(Logging, TheEchoTestOfAnOpenPort) {
    ManualTriggerMode = false;
    InterfaceName = "3";
    comPort.SetCommPort(3);
    comPort.SetPortOpen(true);
    tickAt(at(10, 0));
    EXPECT_TRUE(window.history.isEmpty());
    EXPECT_EQ(activity(), std::vector<std::string>{"9565|600|600"});
    loop->echo = false;
    tickAt(at(10, 1));
    EXPECT_EQ(window.history, QStringList({"No response from Brantock on com port 3 10:01:00 AM"}));
    EXPECT_EQ(window.detailsUpdates, 1);
    EXPECT_EQ(activity(), std::vector<std::string>{"9565|600|600"});
    comPort.SetPortOpen(false);
}

TEST_F(Logging, TheClockCheckWarnsOnMoreThanOneHourBoundary) {
    const struct {
        DateValue from, to;
        bool warns;
    } cases[] = {
        {at(10, 59, 50), at(11, 0, 10), false}, {at(10, 30), at(11, 29), false},
        {at(10, 30), at(12, 0), true},          {at(12, 0), at(10, 0), true},
        {at(11, 0), at(10, 0), false},
    };
    for (const auto& c : cases) {
        window.clockWarnings = 0;
        LastClockCheck = c.from;
        clock.set(c.to);
        logger.CheckForClockChange();
        EXPECT_EQ(window.clockWarnings, c.warns ? 1 : 0)
            << c.from.toDateTime().toString().toStdString() << " to "
            << c.to.toDateTime().toString().toStdString();
        EXPECT_EQ(LastClockCheck, c.to);
    }
}

TEST_F(Logging, TheTickChecksTheClock) {
    tickAt(at(13, 0));
    EXPECT_EQ(window.clockWarnings, 1);
    EXPECT_EQ(LastClockCheck, at(13, 0));
}

namespace {

class FirstFormatLogging : public Logging {
protected:
    CounterDataFile first{CounterDataFile::Format::First};
};

} // namespace

TEST_F(FirstFormatLogging, OnlyCountsUpAreStoredAndNoSiteIsChecked) {
    ASSERT_EQ(DataVersion, 1);
    SiteID = 0;
    SiteName = "Shop"; // would be refused by a site check
    clock.set(at(10, 7));
    logger.LogTrigger(1, false);
    logger.LogTrigger(1, true);
    tickAt(at(10, 8));
    tickAt(at(10, 10));
    EXPECT_EQ(first.rows("SELECT * FROM Triggers"), std::vector<std::string>{"9565|607"});
    EXPECT_EQ(first.rows("SELECT * FROM AppActivity"), std::vector<std::string>{"9565|608|610"});
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}
