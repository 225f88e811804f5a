#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/platform/serial/QueueBackend.h"
#include "tests/support/MockClock.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/TemporaryRegistry.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/TriggerEngine.h"
#include "foundation/modRegistry.h"
#include "platform/serial/CommControl.h"
#include "platform/serial/CommEvents.h"
#include "runtime/RuntimeError.h"

#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace brantock;
using namespace brantock::counter;
using brantock::counter::testsupport::RecordingCounterWindow;
using brantock::testsupport::MockClock;
using brantock::testsupport::QueueBackend;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::TemporaryRegistry;
using Icon = CounterWindow::Icon;

namespace {

// An engine on a port whose levels the test sets, counting started, in a recording window.
class Engine : public ::testing::Test {
protected:
    Engine() {
        control.SetPortOpen(true);
        CountingStarted = true;
    }

public:
    // The lines now stand at these levels and the port reports an event.
    void lines(bool dsr, bool cts = false, bool dcd = false) {
        link->levels = platform::ModemLines{dsr, cts, dcd};
        engine.comPort_OnComm();
    }

protected:
    QStringList logged() const { return window.calls.filter(QStringLiteral("LogTrigger")); }

    // Runs action once, the first time the engine lets events run while when() holds.
    void meanwhileOnce(std::function<bool()> when, std::function<void()> action) {
        window.onLetEventsRun = [this, when, action, done = false]() mutable {
            if (done || !when())
                return;
            done = true;
            action();
        };
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    RecordingCounterWindow window;
    std::shared_ptr<QueueBackend::Link> link = std::make_shared<QueueBackend::Link>();
    platform::CommControl control{
        [](int) { return QStringLiteral("queue"); },
        [this](const QString&) { return std::make_unique<QueueBackend>(link); }};
    TriggerEngine engine{control};
};

TEST_F(Engine, StartsWithTheDesignedLockoutTimersStopped) {
    for (const QTimer* timer :
         {&engine.timDSRdebounce(), &engine.timCTSDebounce(), &engine.timDCDDebounce()}) {
        EXPECT_EQ(timer->interval(), 1000);
        EXPECT_FALSE(timer->isSingleShot());
        EXPECT_FALSE(timer->isActive());
    }
}

// DSR with a lockout of 1000 ms: 0 rises, 200 falls, 500 rises, 1000 lockout ends, 1200
// falls, 1500 rises. The lockout's end is its timer's tick, run where it falls.
TEST_F(Engine, ALockoutDropsTheRiseInsideItAndTheNextRiseAfterItCounts) {
    lines(true); // 0 ms
    EXPECT_EQ(window.CounterCaption(), "1 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "1");
    EXPECT_TRUE(engine.DSRdebounce());
    EXPECT_TRUE(window.IconVisible(Icon::DSRDebounce));
    EXPECT_TRUE(engine.timDSRdebounce().isActive());
    EXPECT_TRUE(window.IconVisible(Icon::DSRTrigger));

    lines(false); // 200 ms: the wrong edge
    EXPECT_FALSE(window.IconVisible(Icon::DSRTrigger));
    lines(true); // 500 ms: dropped, the lockout not extended
    EXPECT_EQ(window.CounterCaption(), "1 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "1");
    EXPECT_TRUE(engine.LastDSR());

    engine.timDSRdebounce_Timer(); // 1000 ms
    EXPECT_FALSE(engine.DSRdebounce());
    EXPECT_FALSE(window.IconVisible(Icon::DSRDebounce));
    EXPECT_FALSE(engine.timDSRdebounce().isActive());
    EXPECT_EQ(window.CounterCaption(), "1 ") << "the level that rose inside counts nothing";

    lines(false); // 1200 ms
    lines(true);  // 1500 ms
    EXPECT_EQ(window.CounterCaption(), "2 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "2");
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up", "LogTrigger 1 up"}));
    EXPECT_EQ(UpCountSinceStart, 2);
    EXPECT_EQ(window.history.front().left(9), "Count at ");
}

TEST_F(Engine, WithoutALockoutEveryRiseCountsAndTheLockoutIndicatorStaysHidden) {
    engine.timDSRdebounce().setInterval(0);
    window.SetIconVisible(Icon::DSRDebounce, true);
    for (int i = 0; i < 5; ++i) {
        lines(true);
        lines(false);
    }
    EXPECT_EQ(window.CounterCaption(), "5 ");
    EXPECT_EQ(logged().size(), 5);
    EXPECT_FALSE(window.IconVisible(Icon::DSRDebounce));
    EXPECT_FALSE(engine.DSRdebounce());
    EXPECT_FALSE(engine.timDSRdebounce().isActive());
}

TEST_F(Engine, TheLowEdgeCountsWhenItIsTheSelectedEdge) {
    SelectedEdge = true;
    engine.timDSRdebounce().setInterval(0);
    lines(true);
    EXPECT_EQ(window.CounterCaption(), "0 ");
    lines(false);
    EXPECT_EQ(window.CounterCaption(), "1 ");
}

TEST_F(Engine, BeforeCountingStartsChangesMoveTheLevelsAndIndicatorsOnly) {
    CountingStarted = false;
    lines(true, true);
    EXPECT_TRUE(engine.LastDSR());
    EXPECT_TRUE(engine.LastCTS());
    EXPECT_TRUE(window.IconVisible(Icon::DSRTrigger));
    EXPECT_EQ(window.CounterCaption(), "0 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "0");
    EXPECT_FALSE(engine.DSRdebounce());
    engine.ManualTrigger(true);
    EXPECT_TRUE(logged().isEmpty());
}

TEST_F(Engine, WhileThePortDialogIsOpenSerialEventsAndManualButtonsAreIgnored) {
    PortDialogOpen = true;
    lines(true);
    engine.ManualTrigger(true);
    EXPECT_FALSE(engine.LastDSR());
    EXPECT_FALSE(window.IconVisible(Icon::DSRTrigger));
    EXPECT_EQ(window.eventYields, 0);
    EXPECT_TRUE(window.calls.isEmpty());

    PortDialogOpen = false;
    lines(true); // compared with the level seen before the dialog
    EXPECT_EQ(window.CounterCaption(), "1 ");
}

struct UseCase {
    const char* name;
    int sensor; // 2 or 3
    std::int32_t use;
    const char* before;
    const char* after;
    const char* status; // the newest status line's start; empty: none
    QStringList log;
    bool indicator; // the line's indicator with the line high
};

class SensorUse : public Engine, public ::testing::WithParamInterface<UseCase> {};

TEST_P(SensorUse, DecidesWhatATriggerDoesToTheMainCount) {
    const UseCase& c = GetParam();
    if (c.sensor == 2)
        engine.SetSecondTriggerUse(c.use);
    else
        engine.SetThirdTriggerUse(c.use);
    window.SetCounterCaption(QString::fromLatin1(c.before));
    lines(false, c.sensor == 2, c.sensor == 3);

    EXPECT_EQ(window.SensorCounterCaption(c.sensor - 1), "1") << "its own total always rises";
    EXPECT_EQ(window.CounterCaption(), QString::fromLatin1(c.after));
    EXPECT_EQ(logged(), c.log);
    EXPECT_EQ(window.IconVisible(c.sensor == 2 ? Icon::CTSTrigger : Icon::DCDTrigger), c.indicator);
    if (*c.status)
        EXPECT_TRUE(window.history.front().startsWith(QString::fromLatin1(c.status) + u' '))
            << window.history.front().toStdString();
    else
        EXPECT_TRUE(window.history.isEmpty());
    EXPECT_EQ(UpCountSinceStart + DownCountSinceStart, c.log.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SensorUse,
    ::testing::Values(
        UseCase{"CountsDown", 2, 1, "5 ", "4 ", "Count down at", {"LogTrigger 2 down"}, true},
        UseCase{"StopsAtZero", 2, 1, "0 ", "0 ", "Negative count at", {"LogTrigger 2 down"}, true},
        UseCase{"CountsUp", 2, 2, "7 ", "8 ", "Count at", {"LogTrigger 2 up"}, true},
        UseCase{"UnknownUseCountsNothing", 2, 3, "7 ", "7 ", "", {}, true},
        UseCase{"NotUsedCountsNothingAndStaysHidden", 3, 0, "7 ", "7 ", "", {}, false},
        UseCase{"ThirdCountsDown", 3, 1, "7 ", "6 ", "Count down at", {"LogTrigger 3 down"}, true},
        UseCase{"ThirdCountsUp", 3, 2, "7 ", "8 ", "Count at", {"LogTrigger 3 up"}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Engine, ACountUpPast99999ResetsTheCounterAndIsStillLogged) {
    window.history = QStringList{"Count at 1:00:00 PM"};
    window.SetCounterCaption(QStringLiteral("99999 "));
    engine.ManualTrigger(true);
    EXPECT_EQ(window.CounterCaption(), "0 ");
    ASSERT_EQ(window.history.size(), 1);
    EXPECT_TRUE(window.history.front().startsWith("Reset at "));
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up"}));
    EXPECT_EQ(UpCountSinceStart, 1);
    EXPECT_EQ(window.SensorCounterCaption(0), "1");
}

TEST_F(Engine, ACountStartsWithTheClockCheckAndThenTheSoundBeforeTheLabelChanges) {
    window.onPlayTriggerWav = [&] { EXPECT_EQ(window.CounterCaption(), "0 "); };
    engine.ManualTrigger(true);
    EXPECT_EQ(window.calls.first(), "CheckForClockChange");
    EXPECT_EQ(window.calls.at(1), "PlayTriggerWav");
    EXPECT_EQ(window.calls.last(), "LogTrigger 1 up");
}

TEST_F(Engine, ALabelWithoutANumberCountsFromZero) {
    window.SetCounterCaption(QStringLiteral("abc"));
    window.SetSensorCounterCaption(0, QStringLiteral(""));
    engine.ManualTrigger(true);
    EXPECT_EQ(window.CounterCaption(), "1 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "1");
}

class DailyResetAtMidnight : public Engine, public ::testing::WithParamInterface<bool> {};

TEST_P(DailyResetAtMidnight, TheFirstCountOfANewDayResetsFirstWhenSet) {
    const DateValue day = DateValue::fromDate(QDate(2026, 3, 14));
    MockClock clock(DateValue(day.serial() + (86400.0 - 1.0) / 86400.0));
    LastCountDay = std::int32_t(day.serial());
    DailyReset = GetParam();
    engine.timDSRdebounce().setInterval(0);
    window.SetCounterCaption(QStringLiteral("41 "));

    engine.ManualTrigger(true);
    EXPECT_EQ(window.CounterCaption(), "42 ");
    clock.advanceSeconds(2);
    engine.ManualTrigger(true);
    EXPECT_EQ(window.CounterCaption(), GetParam() ? "1 " : "43 ");
    EXPECT_EQ(window.calls.contains("ClearHistory"), GetParam());
    EXPECT_EQ(LastCountDay, std::int32_t(day.serial()) + 1);

    clock.set(day); // the clock set back a day: nothing
    engine.ManualTrigger(true);
    EXPECT_EQ(LastCountDay, std::int32_t(day.serial()) + 1);
    EXPECT_EQ(window.CounterCaption(), GetParam() ? "2 " : "44 ");
}

INSTANTIATE_TEST_SUITE_P(Both, DailyResetAtMidnight, ::testing::Bool());

struct ManualCase {
    const char* name;
    bool normallyOpen;
    bool selectedEdge;
    bool countsOnPress;
    bool indicatorWhilePressed;
};

class ManualButton : public Engine, public ::testing::WithParamInterface<ManualCase> {};

TEST_P(ManualButton, CountsOnThePressOrTheReleaseByTheSwitchAndTheEdge) {
    const ManualCase& c = GetParam();
    engine.SetDSRNormallyOpen(c.normallyOpen);
    SelectedEdge = c.selectedEdge;
    engine.timDSRdebounce().setInterval(0);

    engine.ManualTrigger(true);
    EXPECT_EQ(window.CounterCaption(), c.countsOnPress ? "1 " : "0 ");
    EXPECT_EQ(window.IconVisible(Icon::DSRTrigger), c.indicatorWhilePressed);
    engine.ManualTrigger(false);
    EXPECT_EQ(window.CounterCaption(), "1 ");
    EXPECT_EQ(logged().size(), 1);
    EXPECT_FALSE(engine.LastDSR());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ManualButton,
    ::testing::Values(ManualCase{"NormallyClosed", false, false, true, true},
                      ManualCase{"NormallyOpenCountsOnRelease", true, false, false, true},
                      ManualCase{"NormallyOpenWithLowEdgeCountsOnPress", true, true, true, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Engine, TheManualButtonsOfSensorsTwoAndThreeCountByTheirUse) {
    engine.SetSecondTriggerUse(2);
    engine.SetThirdTriggerUse(1);
    engine.timCTSDebounce().setInterval(0);
    engine.ManualTrigger2(true);
    engine.ManualTrigger2(false);
    engine.ManualTrigger3(true);
    EXPECT_EQ(logged(), QStringList({"LogTrigger 2 up", "LogTrigger 3 down"}));
    EXPECT_TRUE(engine.DCDdebounce());
    EXPECT_EQ(window.CounterCaption(), "0 ");
    EXPECT_FALSE(engine.LastCTS());
    EXPECT_FALSE(engine.LastDCD());
}

TEST_F(Engine, AManualTriggerLeavesTheRememberedLevelSoTheNextSerialRiseCounts) {
    engine.timDSRdebounce().setInterval(0);
    engine.ManualTrigger(true);
    EXPECT_FALSE(engine.LastDSR());
    lines(true);
    EXPECT_EQ(window.CounterCaption(), "2 ");
}

TEST_F(Engine, SettingAUseStoresItAndOnlyUseZeroHidesTheIndicator) {
    engine.SetSecondTriggerUse(2);
    EXPECT_FALSE(window.IconVisible(Icon::CTSTrigger)) << "hidden until the line next changes";
    EXPECT_EQ(engine.SecondTriggerUse(), 2);
    EXPECT_EQ(GetRegSetting(settings::SecondTriggerUse, RegistryHive), "2");
    lines(false, true);
    EXPECT_TRUE(window.IconVisible(Icon::CTSTrigger));

    window.SetIconVisible(Icon::DCDTrigger, true);
    engine.SetThirdTriggerUse(0);
    EXPECT_FALSE(window.IconVisible(Icon::DCDTrigger));
    EXPECT_EQ(engine.ThirdTriggerUse(), 0);
    EXPECT_EQ(GetRegSetting(settings::ThirdTriggerUse, RegistryHive), "0");
    EXPECT_FALSE(window.mainWindowUnloaded);
}

// A failure in the logging reaches the procedure at the top with the trail of the count
// procedures; what was done before it stays done.
struct FailureCase {
    const char* name;
    void (*act)(Engine& test, TriggerEngine& engine);
    const char* trail;
    const char* activity;
};

class CountFailure : public Engine, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(CountFailure, IsReportedOnceWithTheTrailOfTheCountProcedures) {
    engine.SetSecondTriggerUse(1);
    engine.SetThirdTriggerUse(2);
    window.SetCounterCaption(QStringLiteral("10 "));
    window.onLogTrigger = [](std::int16_t, bool) {
        throw RuntimeError(err::PathNotFound, QStringLiteral("no data file"));
    };
    GetParam().act(*this, engine);

    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, GetParam().trail);
    EXPECT_EQ(errors.reports()[0].activity, GetParam().activity);
    EXPECT_EQ(errors.reports()[0].number, err::PathNotFound);
    EXPECT_NE(window.CounterCaption(), "10 ") << "the label had changed before the logging";
    EXPECT_EQ(UpCountSinceStart + DownCountSinceStart, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CountFailure,
    ::testing::Values(
        FailureCase{"Serial", [](Engine& t, TriggerEngine&) { t.lines(true); },
                    "comPort_OnComm&DSRTrigger&TriggerCountUp&", "processing com port interrupt"},
        FailureCase{"SerialCountDown", [](Engine& t, TriggerEngine&) { t.lines(false, true); },
                    "comPort_OnComm&CTSTrigger&TriggerCountDown&", "processing com port interrupt"},
        FailureCase{"Manual", [](Engine&, TriggerEngine& e) { e.ManualTrigger(true); },
                    "ManualTrigger&DSRTrigger&TriggerCountUp&", "processing manual trigger"},
        FailureCase{"Manual2", [](Engine&, TriggerEngine& e) { e.ManualTrigger2(true); },
                    "ManualTrigger2&CTSTrigger&TriggerCountDown&", "processing manual trigger"},
        FailureCase{"Manual3", [](Engine&, TriggerEngine& e) { e.ManualTrigger3(true); },
                    "ManualTrigger3&DCDTrigger&TriggerCountUp&", "processing manual trigger"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Engine, AResetThatFailsAtTheTopOfTheCountCarriesItsNameInTheTrail) {
    // The history cannot be cleared: the reset is where it fails.
    struct FailingHistory : RecordingCounterWindow {
        void ClearHistory() override { throw RuntimeError::of(err::ObjectNotSet); }
    } failing;
    failing.SetCounterCaption(QStringLiteral("99999 "));
    engine.ManualTrigger(true);
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "ManualTrigger&DSRTrigger&TriggerCountUp&ResetCounter&");
    EXPECT_EQ(failing.CounterCaption(), "0 ");
    EXPECT_TRUE(failing.calls.filter("LogTrigger").isEmpty());
}

// A window whose icons cannot be shown or hidden.
class FailingIcons : public RecordingCounterWindow {
public:
    void SetIconVisible(Icon, bool) override { throw RuntimeError::of(err::ObjectNotSet); }
};

struct IconFailureCase {
    const char* name;
    void (*act)(TriggerEngine& engine);
    const char* trail;
    const char* activity;
    bool unloads;
};

class IconFailure : public ::testing::TestWithParam<IconFailureCase> {};

TEST_P(IconFailure, IsReportedWithTheProceduresTrailAndActivity) {
    TemporaryRegistry registry;
    ScriptedErrors errors;
    FailingIcons window;
    platform::CommControl control;
    TriggerEngine engine(control);
    engine.SetDSRdebounce(true);
    engine.SetCTSdebounce(true);
    engine.SetDCDdebounce(true);
    engine.timDSRdebounce().start();
    GetParam().act(engine);

    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, GetParam().trail);
    EXPECT_EQ(errors.reports()[0].activity, GetParam().activity);
    EXPECT_EQ(window.mainWindowUnloaded, GetParam().unloads);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IconFailure,
    ::testing::Values(
        IconFailureCase{"SecondUse", [](TriggerEngine& e) { e.SetSecondTriggerUse(0); },
                        "SecondTriggerUse Let&", "changing trigger use", true},
        IconFailureCase{"ThirdUse", [](TriggerEngine& e) { e.SetThirdTriggerUse(0); },
                        "ThirdTriggerUse Let&", "changing trigger use", true},
        IconFailureCase{"DSRShow", [](TriggerEngine& e) { e.DSRShow(true); }, "DSRShow&",
                        "displaying icon", false},
        IconFailureCase{"CTSShow", [](TriggerEngine& e) { e.CTSShow(true); }, "CTSShow&",
                        "displaying icon", false},
        IconFailureCase{"DCDShow", [](TriggerEngine& e) { e.DCDShow(true); }, "DCDShow&",
                        "displaying icon", false},
        IconFailureCase{"DSRTimer", [](TriggerEngine& e) { e.timDSRdebounce_Timer(); },
                        "timdsrDebounce_Timer&", "processing the debounce timer", false},
        IconFailureCase{"CTSTimer", [](TriggerEngine& e) { e.timCTSDebounce_Timer(); },
                        "timCTSDebounce_Timer&", "processing the debounce timer", false},
        IconFailureCase{"DCDTimer", [](TriggerEngine& e) { e.timDCDDebounce_Timer(); },
                        "timDCDDebounce_Timer&", "processing the debounce timer", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TriggerUseFailure, GoingOnAfterTheFailureStoresTheUseAndKeepsTheWindow) {
    ScriptedErrors errors;
    errors.answer(answer::Continue);
    TemporaryRegistry registry;
    FailingIcons window;
    platform::CommControl control;
    TriggerEngine engine(control);
    engine.SetSecondTriggerUse(0);
    engine.SetSecondTriggerUse(1);
    EXPECT_EQ(engine.SecondTriggerUse(), 1);
    EXPECT_EQ(errors.reports().size(), 1u);
    EXPECT_FALSE(window.mainWindowUnloaded);
}

TEST_F(Engine, ATimerTickEndsTheLockoutAfterItsInterval) {
    engine.timDSRdebounce().setInterval(20);
    lines(true);
    ASSERT_TRUE(engine.DSRdebounce());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.DSRdebounce(); }, 5000));
    EXPECT_FALSE(engine.timDSRdebounce().isActive());
    EXPECT_FALSE(window.IconVisible(Icon::DSRDebounce));
}

TEST_F(Engine, ANewLockoutTimeEndsRunningLockoutsAndTheSameTimeLeavesThemRunning) {
    engine.SetSecondTriggerUse(2);
    lines(true, true); // both lines locked out for 1000 ms
    ASSERT_TRUE(engine.DSRdebounce() && engine.CTSdebounce());

    engine.ApplyLockoutTime(1000);
    EXPECT_TRUE(engine.DSRdebounce());
    EXPECT_TRUE(engine.timCTSDebounce().isActive());

    engine.ApplyLockoutTime(2.5f); // halves go to the even number
    for (const QTimer* timer :
         {&engine.timDSRdebounce(), &engine.timCTSDebounce(), &engine.timDCDDebounce()}) {
        EXPECT_EQ(timer->interval(), 2);
        EXPECT_FALSE(timer->isActive());
    }
    EXPECT_FALSE(engine.DSRdebounce() || engine.CTSdebounce() || engine.DCDdebounce());
    EXPECT_FALSE(window.IconVisible(Icon::DSRDebounce));
    EXPECT_FALSE(window.IconVisible(Icon::CTSDebounce));

    // Idle again: the next rise counts at once.
    lines(false, false);
    lines(true, true);
    EXPECT_EQ(window.CounterCaption(), "4 ");

    // No lockout: every rise counts.
    engine.ApplyLockoutTime(0);
    for (int i = 0; i < 3; ++i) {
        lines(false);
        lines(true);
    }
    EXPECT_EQ(window.CounterCaption(), "7 ");
    EXPECT_FALSE(engine.DSRdebounce());
}

// Changes that come while the engine lets events run.

TEST_F(Engine, DuringALockoutStartOtherLinesCountAndTheSameLineIsLockedOut) {
    engine.SetSecondTriggerUse(2);
    meanwhileOnce([&] { return engine.DSRdebounce(); },
                  [&] {
                      lines(false);               // DSR falls
                      lines(true);                // and rises: locked out
                      engine.ManualTrigger(true); // locked out too
                      lines(true, true);          // CTS rises: its own lockout is free
                  });
    lines(true);

    // The rise that started the lockout finishes before the changes that came meanwhile.
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up", "LogTrigger 2 up"}));
    EXPECT_EQ(window.CounterCaption(), "2 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "1");
    EXPECT_EQ(window.SensorCounterCaption(1), "1");
    // The outer event's older sample of CTS does not put back the level before the rise.
    EXPECT_TRUE(engine.LastCTS());
    EXPECT_TRUE(window.IconVisible(Icon::CTSTrigger));
    engine.timCTSDebounce_Timer();
    engine.timDSRdebounce_Timer();
    lines(true, true);
    EXPECT_EQ(logged().size(), 2) << "no change on either line: nothing more counts";
}

TEST_F(Engine, AManualTriggerDuringTheIndicatorsYieldWaitsAndMeetsTheLockout) {
    meanwhileOnce([&] { return !engine.DSRdebounce(); }, [&] { engine.ManualTrigger(true); });
    lines(true);
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up"}));
    EXPECT_EQ(window.CounterCaption(), "1 ");
    EXPECT_TRUE(engine.LastDSR());
}

TEST_F(Engine, APulseWhoseFallComesDuringTheIndicatorsYieldCountsOnce) {
    meanwhileOnce([&] { return true; }, [&] { lines(false); });
    lines(true);
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up"}));
    EXPECT_FALSE(engine.LastDSR());
    EXPECT_FALSE(window.IconVisible(Icon::DSRTrigger));
}

TEST_F(Engine, AChangeOfAnotherLineDuringTheIndicatorsYieldCountsAfterThisLine) {
    engine.SetThirdTriggerUse(2);
    meanwhileOnce([&] { return !engine.DSRdebounce(); }, [&] { lines(true, false, true); });
    lines(true);
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up", "LogTrigger 3 up"}));
    EXPECT_TRUE(engine.LastDCD());
    EXPECT_TRUE(window.IconVisible(Icon::DCDTrigger));
}

// Bursts delivered by a real serial control, each change's handler running inside the
// previous one's event yields.
class Burst : public Engine {
protected:
    Burst() {
        // Each yield lets the control deliver the next changes inside it.
        window.onLetEventsRun = [this] {
            deepestYield = std::max(deepestYield, ++yieldDepth);
            QCoreApplication::processEvents();
            --yieldDepth;
        };
        for (QTimer* timer :
             {&engine.timDSRdebounce(), &engine.timCTSDebounce(), &engine.timDCDDebounce()})
            timer->setInterval(0);
    }
    void push(const platform::ModemLines& levels, int event) { link->push({event, levels}); }
    bool waitForLogged(int count) {
        const bool arrived = QTest::qWaitFor([&] { return logged().size() >= count; }, 30000);
        QCoreApplication::processEvents();
        return arrived;
    }
    int yieldDepth = 0;
    int deepestYield = 0;
};

TEST_F(Burst, AThousandRisesCountAThousand) {
    constexpr int Rises = 1000;
    for (int i = 0; i < Rises; ++i) {
        push({true, false, false}, platform::comEvDSR);
        push({false, false, false}, platform::comEvDSR);
    }
    ASSERT_TRUE(waitForLogged(Rises));
    EXPECT_EQ(window.CounterCaption(), QString::number(Rises) + u' ');
    EXPECT_EQ(window.SensorCounterCaption(0), QString::number(Rises));
    EXPECT_EQ(logged().size(), Rises);
    EXPECT_GE(deepestYield, 1) << "the changes arrived while earlier ones were handled";
    EXPECT_EQ(UpCountSinceStart, Rises);
    EXPECT_FALSE(engine.LastDSR());
    EXPECT_FALSE(window.IconVisible(Icon::DSRTrigger));
}

TEST_F(Burst, InterleavedLinesEachCountTheirOwnRises) {
    engine.SetSecondTriggerUse(2);
    engine.SetThirdTriggerUse(2);
    constexpr int Changes = 3000;
    platform::ModemLines levels;
    for (int i = 0; i < Changes; ++i) {
        switch (i % 3) {
        case 0:
            levels.dsr = !levels.dsr;
            push(levels, platform::comEvDSR);
            break;
        case 1:
            levels.cts = !levels.cts;
            push(levels, platform::comEvCTS);
            break;
        default:
            levels.cd = !levels.cd;
            push(levels, platform::comEvCD);
            break;
        }
    }
    constexpr int RisesPerLine = Changes / 3 / 2;
    ASSERT_TRUE(waitForLogged(3 * RisesPerLine));
    for (int sensor = 0; sensor < 3; ++sensor)
        EXPECT_EQ(window.SensorCounterCaption(sensor), QString::number(RisesPerLine));
    EXPECT_EQ(window.CounterCaption(), QString::number(3 * RisesPerLine) + u' ');
    EXPECT_EQ(logged().size(), 3 * RisesPerLine);
    EXPECT_GE(deepestYield, 1);
    EXPECT_EQ(engine.LastDSR(), levels.dsr);
    EXPECT_EQ(engine.LastCTS(), levels.cts);
    EXPECT_EQ(engine.LastDCD(), levels.cd);
}

// Changes handled late, each with the time it happened: they count as they would have
// counted at once.

struct LateCase {
    const char* name;
    std::vector<std::pair<qint64, bool>> dsr; // ms after the first change, level
    bool tickBeforeHandling;                  // the lockout's tick comes before the backlog
    int counts;
};

class LateChanges : public Burst, public ::testing::WithParamInterface<LateCase> {};

TEST_P(LateChanges, AreJudgedByWhenTheyHappened) {
    engine.timDSRdebounce().setInterval(1000);
    // Everything happened ten seconds ago.
    const qint64 start = Clock::current().monotonicMilliseconds() - 10000;
    const auto& changes = GetParam().dsr;
    auto seen = [&](std::size_t i) {
        link->push(platform::LineChange{platform::comEvDSR,
                                        {changes[i].second, false, false},
                                        false,
                                        start + changes[i].first});
    };
    seen(0);
    QCoreApplication::processEvents();
    ASSERT_EQ(logged().size(), 1);
    if (GetParam().tickBeforeHandling)
        engine.timDSRdebounce_Timer();
    for (std::size_t i = 1; i < changes.size(); ++i)
        seen(i);
    QCoreApplication::processEvents();
    EXPECT_EQ(logged().size(), GetParam().counts);
    EXPECT_EQ(window.SensorCounterCaption(0), QString::number(GetParam().counts));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LateChanges,
    ::testing::Values(LateCase{"SpacedJustAboveTheLockout",
                               {{0, true}, {500, false}, {1100, true}, {1600, false}, {2200, true}},
                               false,
                               3},
                      LateCase{"InsideTheLockout",
                               {{0, true}, {200, false}, {500, true}, {700, false}, {1500, true}},
                               false,
                               2},
                      LateCase{
                          "AtTheLockoutsEnd", {{0, true}, {500, false}, {1000, true}}, false, 2},
                      LateCase{"ATickHandledFirstKeepsTheLockout",
                               {{0, true}, {200, false}, {500, true}, {700, false}, {1200, true}},
                               true,
                               2}),
    [](const auto& info) { return std::string(info.param.name); });

// Three pulses on DSR and then one on CTS, which counts down: each takes effect in the order
// the lines changed, so the count down meets a count of 3.
TEST_F(Burst, BackToBackChangesOfTwoLinesTakeEffectInTheOrderTheyCame) {
    engine.SetSecondTriggerUse(1);
    for (int i = 0; i < 3; ++i) {
        push({true, false, false}, platform::comEvDSR);
        push({false, false, false}, platform::comEvDSR);
    }
    push({false, true, false}, platform::comEvCTS);
    push({false, false, false}, platform::comEvCTS);
    ASSERT_TRUE(waitForLogged(4));
    EXPECT_EQ(logged(), QStringList({"LogTrigger 1 up", "LogTrigger 1 up", "LogTrigger 1 up",
                                     "LogTrigger 2 down"}));
    EXPECT_EQ(window.CounterCaption(), "2 ");
    EXPECT_EQ(DownCountSinceStart, 1);
}

// A backlog from before and after midnight, handled a minute later: every trigger keeps the
// day and minute it happened, and the daily reset falls between them.
TEST_F(Burst, ABacklogKeepsTheDayAndMinuteOfEachChange) {
    const DateValue day = DateValue::fromDate(QDate(2026, 3, 14));
    MockClock clock(DateValue(day.serial() + (23 * 3600 + 59 * 60) / 86400.0));
    LastCountDay = std::int32_t(day.serial());
    DailyReset = true;
    clock.advanceSeconds(120); // now 00:01 the next day
    const qint64 now = Clock::current().monotonicMilliseconds();
    for (const qint64 secondsAgo : {100, 70, 50, 10}) { // 23:59:20 23:59:50 00:00:10 00:00:50
        const qint64 at = now - secondsAgo * 1000;
        link->push(platform::LineChange{platform::comEvDSR, {true, false, false}, false, at});
        link->push(platform::LineChange{platform::comEvDSR, {false, false, false}, false, at + 1});
    }
    ASSERT_TRUE(waitForLogged(4));
    QStringList when;
    for (const DateValue& at : window.loggedAt)
        when << at.toDateTime().toString(QStringLiteral("dd hh:mm"));
    EXPECT_EQ(when, QStringList({"14 23:59", "14 23:59", "15 00:00", "15 00:00"}));
    EXPECT_EQ(window.CounterCaption(), "2 ") << "reset before the first count of the new day";
    EXPECT_EQ(LastCountDay, std::int32_t(day.serial()) + 1);
}

// A count whose logging fails opens the error box; the pulses that come while it is open
// wait, and every one counts once it closes.
TEST_F(Burst, PulsesWhileAnErrorBoxIsOpenAllCountOnceItCloses) {
    engine.timDSRdebounce().setInterval(1000);
    bool failed = false;
    window.onLogTrigger = [&](std::int16_t, bool) {
        if (!failed) {
            failed = true;
            throw RuntimeError(3704, "the data file is locked");
        }
    };
    const qint64 start = Clock::current().monotonicMilliseconds() - 20000;
    errors.whileOpen([&] {
        for (int i = 1; i <= 5; ++i) {
            const qint64 at = start + i * 1100;
            link->push(platform::LineChange{platform::comEvDSR, {true, false, false}, false, at});
            link->push(
                platform::LineChange{platform::comEvDSR, {false, false, false}, false, at + 500});
        }
        // The box's own loop delivers them.
        QCoreApplication::processEvents();
    });
    link->push(platform::LineChange{platform::comEvDSR, {true, false, false}, false, start});
    link->push(platform::LineChange{platform::comEvDSR, {false, false, false}, false, start + 500});
    ASSERT_TRUE(waitForLogged(6));
    EXPECT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(window.CounterCaption(), "6 ");
    EXPECT_EQ(window.SensorCounterCaption(0), "6");
}

} // namespace
