#include "tests/counter/support/RecordingSoundPlayer.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/DataFiles.h"
#include "tests/support/MockClock.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TextFit.h"
#include "tests/support/WindowButtons.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/DataLogger.h"
#include "counter/core/OptionsChoice.h"
#include "counter/core/TriggerEngine.h"
#include "counter/frmInterface.h"
#include "counter/frmMain.h"
#include "counter/frmOptions.h"
#include "datafile_dialog/BrowseButton.h"
#include "datafile_dialog/frmSelectData.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/StartupEntry.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::counter::testsupport;
using namespace brantock::testsupport;
using Icon = CounterWindow::Icon;

namespace {

DateValue at(int day, int h, int m) {
    return DateValue::fromDateTime(QDate(2026, 3, day), QTime(h, m));
}

QStringList entries(const QComboBox* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// The whole counter, started on port 1 with a data file from the template, and its options
// window opened from the Tools menu.
class OptionsWindow : public ::testing::Test {
public:
    OptionsWindow() {
        App::SetPath(programFolder.path());
        App::SetTitle("Brantock");
        ResetData();
        CommandLineDataPath = files.file("data.hbd");
        DataFiles::copyTemplate(CommandLineDataPath);
        store(settings::ComPort, "1");
    }
    ~OptionsWindow() override {
        form.reset();
        App::SetPath(QString());
        App::SetTitle(QString());
        ResetData();
    }
    void start() {
        ports.serve(1);
        form = std::make_unique<frmMain>();
        form->Show();
        ASSERT_TRUE(CountingStarted);
        engine = &form->engine();
        logger = &form->logger();
    }
    // The window the Tools menu shows; a closed one is gone first.
    frmOptions* open() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form->mnuToolsOptions_Click();
        auto* options = form->findChild<frmOptions*>();
        EXPECT_TRUE(options && options->isVisible());
        return options;
    }
    const frmOptionsUi& ui() const { return options->ui(); }

    static void store(const Setting& setting, const QString& value) {
        SetRegSetting(setting, value, RegistryHive);
    }
    static QString stored(const Setting& setting) {
        return GetRegSetting(setting.name, QStringLiteral("<missing>"), setting.section, true,
                             RegistryHive);
    }
    qint64 rows(const QString& where = "1") const {
        platform::Connection cn;
        cn.Open(ConnectionString(CommandLineDataPath));
        return cn.Query("SELECT count(*) FROM Triggers WHERE " + where).Fields(0).toLongLong();
    }
    QStringList history() const {
        QStringList lines;
        for (int i = 0; i < form->ui().lstHistory->count(); ++i)
            lines << form->ui().lstHistory->item(i)->text();
        return lines;
    }
    QList<int> intervals() const {
        return {engine->timDSRdebounce().interval(), engine->timCTSDebounce().interval(),
                engine->timDCDDebounce().interval()};
    }
    // A press and a release of a manual button.
    static void pressAndRelease(const std::function<void(bool)>& button) {
        button(true);
        button(false);
    }
    void type(const QString& keys) { QTest::keyClicks(ui().txtDebounceTime, keys); }
    void retype(const QString& keys) {
        ui().txtDebounceTime->selectAll();
        type(keys);
    }
    QString autostartEntry() const {
        return QString::fromStdString(registry.paths().autostart) + "/Brantock.desktop";
    }
    static void setRunEntry(const QString& command) {
        ASSERT_EQ(RegSetKeyValue(HKEY_LOCAL_MACHINE, StartupEntry::RunKey,
                                 StartupEntry::RunValueName, command, platform::REG_SZ, true),
                  0);
    }
    static QString runEntry() {
        return Reg_QueryValue(HKEY_LOCAL_MACHINE, StartupEntry::RunKey, StartupEntry::RunValueName,
                              true)
            .toString();
    }

    TemporaryRegistry registry;
    SimulatedPorts ports{registry};
    ScriptedErrors errors;
    ScriptedMessages boxes;
    RecordingSoundPlayer player;
    MockClock clock{at(2, 9, 0)};
    ScratchFolder programFolder;
    ScratchFolder files;
    std::unique_ptr<frmMain> form;
    TriggerEngine* engine = nullptr;
    DataLogger* logger = nullptr;
    frmOptions* options = nullptr;
};

} // namespace

TEST(OptionsLayout, TheFramesControlsTextsAndDesignStatesAreAsDesigned) {
    QDialog dialog;
    frmOptionsUi ui;
    ui.setupUi(&dialog);
    EXPECT_EQ(dialog.windowTitle(), "Options");
    EXPECT_FALSE(dialog.isModal());

    const std::pair<QGroupBox*, const char*> frames[] = {
        {ui.fraSensorSettings, "Sensor interface settings"},
        {ui.fraAdditionalSensors, "Additional sensors"},
        {ui.fraPreferences, "Counter settings"},
        {ui.fraApplication, "Application settings"},
        {ui.fraDataFile, "Data file"},
    };
    for (const auto& [frame, caption] : frames)
        EXPECT_EQ(frame->title(), caption);

    const QString lockoutTip = "Time delay before a second trigger is counted (in seconds)";
    struct Text {
        QWidget* control;
        QWidget* frame;
        QString text;
        QString tip;
    };
    const auto textOf = [](QWidget* w) {
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->text();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e->text();
        return QString();
    };
    const Text texts[] = {
        {ui.Label2, ui.fraSensorSettings, "Interface", ""},
        {ui.lblComPort, ui.fraSensorSettings, "Not specified", ""},
        {ui.cmdSelectPort, ui.fraSensorSettings, "Change interface", ""},
        {ui.Label6, ui.fraSensorSettings, "Trigger edge", ""},
        {ui.Label5, ui.fraSensorSettings, "Switch is normally", ""},
        {ui.Label1, ui.fraSensorSettings, "Wait", lockoutTip},
        {ui.txtDebounceTime, ui.fraSensorSettings, "0", lockoutTip},
        {ui.Label3, ui.fraSensorSettings, "second(s) before accepting another count", lockoutTip},
        {ui.lblSecondSensor, ui.fraAdditionalSensors, "Sensor 2", ""},
        {ui.Label4, ui.fraAdditionalSensors, "Sensor 3", ""},
        {ui.chkStartMin, ui.fraPreferences, "Start minimized", ""},
        {ui.chkRunOnStartup, ui.fraPreferences, "Run at start-up", ""},
        {ui.chkReset, ui.fraPreferences, "Reset counter each day", ""},
        {ui.chkLog, ui.fraPreferences, "Store results in database",
         "Check to record all triggers in a database file for reporting."},
        {ui.chkScrollStatus, ui.fraApplication, "Scroll status bar",
         "Turn the status bar scrolling effect on or off"},
        {ui.chkMinToTray, ui.fraApplication, "Show system tray icon",
         "Just show tray icon when the application is minimised"},
        {ui.txtDataPath, ui.fraDataFile, "", ""},
        {ui.cmdChangeDataPath, ui.fraDataFile, "...", "Click to change data file"},
        {ui.cmdClose, &dialog, "&Close", ""},
    };
    for (const Text& t : texts) {
        EXPECT_EQ(textOf(t.control), t.text);
        EXPECT_EQ(t.control->toolTip(), t.tip) << t.text.toStdString();
        EXPECT_EQ(t.control->parentWidget(), t.frame) << t.text.toStdString();
    }

    const std::pair<QComboBox*, QStringList> lists[] = {
        {ui.cboEdge, {"trailing", "leading"}},
        {ui.cboNormallyOpen, {"closed", "open"}},
        {ui.cboSensor2, {"Not used", "Counts down", "Add to main count"}},
        {ui.cboSensor3, {"Not used", "Counts down", "Add to main count"}},
    };
    for (const auto& [list, items] : lists) {
        EXPECT_EQ(entries(list), items);
        EXPECT_EQ(list->currentIndex(), -1);
        EXPECT_FALSE(list->isEditable());
    }
    EXPECT_FALSE(ui.chkStartMin->isChecked());
    EXPECT_FALSE(ui.chkRunOnStartup->isChecked());
    EXPECT_TRUE(ui.chkReset->isChecked());
    EXPECT_TRUE(ui.chkLog->isChecked());
    EXPECT_TRUE(ui.chkScrollStatus->isChecked());
    EXPECT_TRUE(ui.chkMinToTray->isChecked());
    EXPECT_TRUE(ui.txtDataPath->isReadOnly());

    // Every control lies inside its frame, and every frame inside the window.
    QList<QWidget*> placed;
    for (const Text& t : texts)
        placed << t.control;
    for (const auto& [list, items] : lists)
        placed << list;
    for (const auto& [frame, caption] : frames)
        placed << frame;
    for (QWidget* w : placed)
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << w->metaObject()->className() << " " << textOf(w).toStdString();
}

TEST_F(OptionsWindow, OnAFreshMachineTheWindowOffersHalfASecondAndAppliesIt) {
    start();
    ASSERT_EQ(intervals(), QList<int>({1000, 1000, 1000})); // the start-up's default
    options = open();
    EXPECT_EQ(ui().txtDebounceTime->text(), "0.5");
    EXPECT_EQ(stored(settings::DebounceTime), "500");
    EXPECT_EQ(intervals(), QList<int>({500, 500, 500}));

    // Lists and boxes show the running counter; the lists' first selection stored them.
    EXPECT_EQ(ui().cboEdge->currentText(), "trailing");
    EXPECT_EQ(ui().cboNormallyOpen->currentText(), "closed");
    EXPECT_EQ(ui().cboSensor2->currentText(), "Not used");
    EXPECT_EQ(ui().cboSensor3->currentText(), "Not used");
    EXPECT_EQ(stored(settings::SelectedEdge), "0");
    EXPECT_EQ(stored(settings::NormallyOpen), "0");
    EXPECT_EQ(stored(settings::SecondTriggerUse), "0");
    EXPECT_TRUE(ui().chkMinToTray->isChecked());
    EXPECT_TRUE(ui().chkReset->isChecked());
    EXPECT_TRUE(ui().chkLog->isChecked());
    EXPECT_FALSE(ui().chkRunOnStartup->isChecked());
    EXPECT_EQ(ui().lblComPort->text(), "Com 1");
    EXPECT_EQ(ui().txtDataPath->text(), CommandLineDataPath);
    // Boxes at their design state ran nothing: their values were never written.
    EXPECT_EQ(stored(settings::StartMinimized), "<missing>");
    EXPECT_EQ(stored(settings::DailyReset), "<missing>");
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(OptionsWindow, OpeningWithTheBoxesAtTheirDesignStateAddsNoStatusLine) {
    start();
    const QStringList before = history();
    options = open();
    EXPECT_EQ(history(), before);
}

TEST_F(OptionsWindow, OpeningWithLoggingOffStoresItOnceMoreAndSaysSo) {
    store(settings::LogToDatabase, "0");
    store(settings::StartMinimized, "1");
    start();
    ASSERT_FALSE(logger->LogToDatabase());
    const qsizetype before = history().filter("Logging is off").size();
    options = open();
    EXPECT_FALSE(ui().chkLog->isChecked());
    EXPECT_TRUE(ui().chkStartMin->isChecked());
    EXPECT_EQ(history().filter("Logging is off").size(), before + 1);
    EXPECT_EQ(stored(settings::LogToDatabase), "0");
    EXPECT_EQ(stored(settings::StartMinimized), "1");
}

// ---- Each control: its setting stored at once, and the next trigger behaves the new way

namespace {
struct ControlCase {
    const char* name;
    std::function<void(const frmOptionsUi&)> change;
    Setting setting;
    const char* stored;
    // The counter afterwards: what a trigger does now.
    std::function<void(OptionsWindow&, TriggerEngine&, frmMain&)> behaves;
};

void pick(QComboBox* list, const char* text) {
    list->setCurrentIndex(list->findText(QString::fromLatin1(text)));
}
} // namespace

class EachControl : public OptionsWindow, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(EachControl, StoresItsSettingAndChangesTheRunningCounter) {
    const ControlCase& c = GetParam();
    store(settings::DebounceTime, "0"); // every press counts
    start();
    options = open();
    c.change(ui());
    EXPECT_EQ(stored(c.setting), c.stored);
    c.behaves(*this, *engine, *form);
    EXPECT_TRUE(errors.reports().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, EachControl,
    ::testing::Values(
        ControlCase{"LeadingEdge", [](const frmOptionsUi& ui) { pick(ui.cboEdge, "leading"); },
                    settings::SelectedEdge, "1",
                    [](OptionsWindow&, TriggerEngine& engine, frmMain& form) {
                        EXPECT_TRUE(SelectedEdge);
                        engine.ManualTrigger(true);
                        EXPECT_EQ(form.CounterCaption(), "0 ") << "the press counts nothing";
                        engine.ManualTrigger(false);
                        EXPECT_EQ(form.CounterCaption(), "1 ");
                    }},
        ControlCase{"NormallyOpenSwitch",
                    [](const frmOptionsUi& ui) { pick(ui.cboNormallyOpen, "open"); },
                    settings::NormallyOpen, "1",
                    [](OptionsWindow& t, TriggerEngine& engine, frmMain& form) {
                        EXPECT_EQ(t.stored(settings::SelectedEdge), "1");
                        EXPECT_TRUE(engine.DSRNormallyOpen() && engine.CTSNormallyOpen() &&
                                    engine.DCDNormallyOpen());
                        engine.ManualTrigger(true);
                        EXPECT_EQ(form.CounterCaption(), "1 ") << "the press counts";
                    }},
        ControlCase{"SecondSensorCountsDown",
                    [](const frmOptionsUi& ui) { pick(ui.cboSensor2, "Counts down"); },
                    settings::SecondTriggerUse, "1",
                    [](OptionsWindow& t, TriggerEngine& engine, frmMain& form) {
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger2(e); });
                        EXPECT_EQ(form.CounterCaption(), "1 ");
                        EXPECT_EQ(t.rows("SensorID = 2 AND CountUp = 0"), 1);
                    }},
        ControlCase{"ThirdSensorAddsToTheMainCount",
                    [](const frmOptionsUi& ui) { pick(ui.cboSensor3, "Add to main count"); },
                    settings::ThirdTriggerUse, "2",
                    [](OptionsWindow& t, TriggerEngine& engine, frmMain& form) {
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger3(e); });
                        EXPECT_EQ(form.CounterCaption(), "1 ");
                        EXPECT_EQ(t.rows("SensorID = 3 AND CountUp = 1"), 1);
                    }},
        ControlCase{"LockoutTime",
                    [](const frmOptionsUi& ui) {
                        ui.txtDebounceTime->selectAll();
                        QTest::keyClicks(ui.txtDebounceTime, "2");
                    },
                    settings::DebounceTime, "2000",
                    [](OptionsWindow& t, TriggerEngine& engine, frmMain& form) {
                        EXPECT_EQ(t.intervals(), QList<int>({2000, 2000, 2000}));
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        EXPECT_EQ(form.CounterCaption(), "1 ") << "the second is locked out";
                        EXPECT_TRUE(engine.timDSRdebounce().isActive());
                    }},
        ControlCase{"NoLogging", [](const frmOptionsUi& ui) { ui.chkLog->click(); },
                    settings::LogToDatabase, "0",
                    [](OptionsWindow& t, TriggerEngine& engine, frmMain& form) {
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        EXPECT_EQ(form.CounterCaption(), "1 ");
                        EXPECT_EQ(t.rows(), 0);
                        EXPECT_TRUE(form.IconVisible(Icon::LogToDatabase));
                    }},
        ControlCase{"NoDailyReset", [](const frmOptionsUi& ui) { ui.chkReset->click(); },
                    settings::DailyReset, "0",
                    [](OptionsWindow& t, TriggerEngine& engine, frmMain& form) {
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        t.clock.set(at(3, 9, 0)); // the next day
                        t.pressAndRelease([&](bool e) { engine.ManualTrigger(e); });
                        EXPECT_EQ(form.CounterCaption(), "2 ");
                    }},
        ControlCase{"NoStatusScrolling",
                    [](const frmOptionsUi& ui) { ui.chkScrollStatus->click(); },
                    settings::ScrollStatus, "0",
                    [](OptionsWindow&, TriggerEngine&, frmMain&) { EXPECT_FALSE(ScrollStatus); }},
        ControlCase{"StartMinimized", [](const frmOptionsUi& ui) { ui.chkStartMin->click(); },
                    settings::StartMinimized, "1",
                    [](OptionsWindow&, TriggerEngine&, frmMain& form) {
                        EXPECT_TRUE(form.isVisible()) << "only the next start is minimised";
                        EXPECT_FALSE(form.isMinimized());
                    }},
        ControlCase{"NoTrayIcon", [](const frmOptionsUi& ui) { ui.chkMinToTray->click(); },
                    settings::UseTrayIcon, "0",
                    [](OptionsWindow&, TriggerEngine&, frmMain& form) {
                        EXPECT_FALSE(UseTrayIcon);
                        EXPECT_FALSE(form.trayIcon()->isVisible());
                        EXPECT_TRUE(form.isVisible());
                    }}),
    [](const ::testing::TestParamInfo<ControlCase>& info) { return info.param.name; });

// ---- The lockout time

TEST_F(OptionsWindow, TheLockoutTimeTakesDigitsAndAPointAndAtMostFiveTypedCharacters) {
    start();
    options = open();
    retype("1a-2,");
    EXPECT_EQ(ui().txtDebounceTime->text(), "12");
    EXPECT_EQ(stored(settings::DebounceTime), "12000");
    type(QString(QChar(8))); // backspace edits as usual
    EXPECT_EQ(ui().txtDebounceTime->text(), "1");
    retype(".0015");
    EXPECT_EQ(ui().txtDebounceTime->text(), ".0015");
    EXPECT_EQ(stored(settings::DebounceTime), "1.5");
    EXPECT_EQ(intervals(), QList<int>({2, 2, 2})); // halves go to the even number
    type("9");
    EXPECT_EQ(ui().txtDebounceTime->text(), ".0015") << "a sixth character is not typed";
}

TEST_F(OptionsWindow, TypedValuesBeyondTheTimersAreCorrectedWithTheCaretAtTheEnd) {
    start();
    options = open();
    struct Case {
        const char* typed;
        const char* shown;
        const char* stored;
        int interval;
    };
    const Case cases[] = {
        {"70", "65.535", "65535", 65535}, {"99999", "65.535", "65535", 65535},
        {".0001", "0.001", "1", 1},       {"0", "0", "0", 0},
        {"0.001", "0.001", "1", 1},       {"", "", "0", 0},
    };
    for (const Case& c : cases) {
        retype(c.typed);
        if (QString(c.typed).isEmpty())
            type(QString(QChar(8)));
        EXPECT_EQ(ui().txtDebounceTime->text(), c.shown) << c.typed;
        EXPECT_EQ(ui().txtDebounceTime->cursorPosition(), QString(c.shown).size()) << c.typed;
        EXPECT_FALSE(ui().txtDebounceTime->hasSelectedText()) << c.typed;
        EXPECT_EQ(stored(settings::DebounceTime), c.stored) << c.typed;
        EXPECT_EQ(intervals(), QList<int>({c.interval, c.interval, c.interval})) << c.typed;
    }
}

TEST_F(OptionsWindow, APastedTimeBelowAMillisecondBecomesOneAndANegativeOneIsRefused) {
    start();
    options = open();
    QLineEdit* box = ui().txtDebounceTime;
    QGuiApplication::clipboard()->setText("0.0004");
    box->selectAll();
    box->paste();
    EXPECT_EQ(box->text(), "0.001");
    EXPECT_EQ(stored(settings::DebounceTime), "1");

    retype("2");
    QGuiApplication::clipboard()->setText("-5");
    box->selectAll();
    box->paste();
    EXPECT_EQ(box->text(), "2") << "the time in force is shown again";
    EXPECT_EQ(stored(settings::DebounceTime), "2000");
    EXPECT_EQ(intervals(), QList<int>({2000, 2000, 2000}));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(OptionsWindow, ANewLockoutTimeEndsARunningLockoutAtOnce) {
    start();
    options = open(); // 500 ms
    engine->ManualTrigger(true);
    ASSERT_TRUE(engine->DSRdebounce());
    ASSERT_TRUE(form->IconVisible(Icon::DSRDebounce));
    retype("3");
    EXPECT_FALSE(engine->DSRdebounce());
    EXPECT_FALSE(engine->timDSRdebounce().isActive());
    EXPECT_FALSE(form->IconVisible(Icon::DSRDebounce));
    engine->ManualTrigger(false);
    engine->ManualTrigger(true);
    EXPECT_EQ(form->CounterCaption(), "2 ");
}

TEST_F(OptionsWindow, AStoredTimeIsShownInSecondsAndWrittenBackAsItWas) {
    store(settings::DebounceTime, "1500");
    start();
    options = open();
    EXPECT_EQ(ui().txtDebounceTime->text(), "1.5");
    EXPECT_EQ(stored(settings::DebounceTime), "1500");
    EXPECT_EQ(intervals(), QList<int>({1500, 1500, 1500}));
}

// ---- The switch type and the edge

TEST_F(OptionsWindow, AnOpenSwitchHidesTheIndicatorsAndTakesTheLeadingEdgeOnce) {
    store(settings::DebounceTime, "0");
    start();
    options = open();
    engine->ManualTrigger(true); // a closed switch: pressed shows its line active
    ASSERT_TRUE(form->IconVisible(Icon::DSRTrigger));
    pick(ui().cboNormallyOpen, "open");
    EXPECT_FALSE(form->IconVisible(Icon::DSRTrigger));
    EXPECT_FALSE(form->IconVisible(Icon::CTSTrigger));
    EXPECT_FALSE(form->IconVisible(Icon::DCDTrigger));
    EXPECT_EQ(ui().cboEdge->currentText(), "leading");
    EXPECT_EQ(stored(settings::NormallyOpen), "1");
    EXPECT_EQ(stored(settings::SelectedEdge), "1");

    // The same switch type again changes neither the indicators nor the edge.
    pick(ui().cboEdge, "trailing");
    engine->ManualTrigger(true);
    ASSERT_TRUE(form->IconVisible(Icon::DSRTrigger));
    options->cboNormallyOpen_Click();
    EXPECT_TRUE(form->IconVisible(Icon::DSRTrigger));
    EXPECT_EQ(ui().cboEdge->currentText(), "trailing");
    EXPECT_EQ(stored(settings::SelectedEdge), "0");

    // Reopened, the stored open switch hides nothing.
    options->close();
    options = open();
    EXPECT_TRUE(form->IconVisible(Icon::DSRTrigger));
    EXPECT_EQ(ui().cboNormallyOpen->currentText(), "open");
}

TEST_F(OptionsWindow, ChoosingNotUsedStopsTheSecondSensorAtOnce) {
    store(settings::DebounceTime, "0");
    store(settings::SecondTriggerUse, "2");
    start();
    options = open();
    EXPECT_EQ(ui().cboSensor2->currentText(), "Add to main count");
    pressAndRelease([&](bool e) { engine->ManualTrigger2(e); });
    ASSERT_EQ(form->CounterCaption(), "1 ");
    pick(ui().cboSensor2, "Not used");
    pressAndRelease([&](bool e) { engine->ManualTrigger2(e); });
    EXPECT_EQ(form->CounterCaption(), "1 ");
    EXPECT_EQ(stored(settings::SecondTriggerUse), "0");
}

TEST_F(OptionsWindow, AStoredUseTheListDoesNotHaveIsReportedAndTheRestStillLoads) {
    store(settings::ThirdTriggerUse, "7");
    start();
    options = open();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail, "Options Form_Load&");
    EXPECT_EQ(errors.reports()[0].number, 380);
    EXPECT_EQ(errors.reports()[0].activity, "loading options form");
    EXPECT_EQ(ui().cboSensor3->currentIndex(), -1);
    EXPECT_EQ(ui().lblComPort->text(), "Not specified") << "the load left at the error";
    EXPECT_EQ(engine->ThirdTriggerUse(), 7) << "and changed nothing";
}

// ---- Start with the desktop

TEST_F(OptionsWindow, RunAtStartUpReplacesTheLaunchersEntryAndRemovesTheOneEntry) {
    setRunEntry("/opt/brantock/brantockmultiportloader");
    start();
    options = open();
    EXPECT_FALSE(ui().chkRunOnStartup->isChecked());
    ui().chkRunOnStartup->click();
    EXPECT_EQ(runEntry(), OptionsChoice::ProgramPath());
    QFile entry(autostartEntry());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=" + OptionsChoice::ProgramPath().toUtf8()));
    entry.close();

    options->close();
    options = open();
    EXPECT_TRUE(ui().chkRunOnStartup->isChecked());
    ui().chkRunOnStartup->click();
    EXPECT_TRUE(runEntry().isEmpty());
    EXPECT_FALSE(QFile::exists(autostartEntry()));
}

TEST_F(OptionsWindow, AnEntryNamingThisProgramInAnotherLetterCaseCountsAsOurs) {
    setRunEntry(OptionsChoice::ProgramPath().toUpper());
    start();
    options = open();
    EXPECT_TRUE(ui().chkRunOnStartup->isChecked());
}

TEST_F(OptionsWindow, ARefusedStartEntryGivesNoMessageAndLeavesTheBoxAsSet) {
    // A file where the autostart folder would be: no entry can be written there.
    QFile blocker(QString::fromStdString(registry.paths().autostart));
    QDir().mkpath(QFileInfo(blocker).path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    start();
    options = open();
    ui().chkRunOnStartup->click();
    EXPECT_TRUE(ui().chkRunOnStartup->isChecked());
    EXPECT_TRUE(runEntry().isEmpty());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
}

// ---- The tray

TEST_F(OptionsWindow, WithoutTheTrayIconAHiddenWindowComesBackBeforeTheIconGoes) {
    start();
    form->setTrayAvailable(true);
    form->AddTrayIcon();
    form->HideForm(true);
    ASSERT_FALSE(form->isVisible());
    ASSERT_TRUE(form->trayIcon()->isVisible());
    options = open();
    ui().chkMinToTray->click();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->trayIcon()->isVisible());
    EXPECT_FALSE(UseTrayIcon);

    ui().chkMinToTray->click();
    EXPECT_TRUE(UseTrayIcon);
    EXPECT_TRUE(form->trayIcon()->isVisible());
    EXPECT_EQ(stored(settings::UseTrayIcon), "1");
}

TEST_F(OptionsWindow, OpeningWithTheTrayIconOffShowsTheWindowAndRemovesTheIconOnceMore) {
    store(settings::UseTrayIcon, "0");
    start();
    form->setTrayAvailable(true);
    form->AddTrayIcon(); // as if it were there
    options = open();
    EXPECT_FALSE(ui().chkMinToTray->isChecked());
    EXPECT_FALSE(form->trayIcon()->isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(stored(settings::UseTrayIcon), "0");
}

// ---- The interface and the data file

TEST_F(OptionsWindow, ThePortDialogReportsItsChoiceToTheOpenWindowOnly) {
    start();
    bool shown = false;
    const auto choose = [&] {
        auto* dialog = qobject_cast<frmInterface*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        shown = true;
        form->UpdateOptionsForm("Manual");
        dialog->reject();
    };
    form->UpdateOptionsForm("7"); // no options window yet: nothing happens
    options = open();
    EXPECT_EQ(ui().lblComPort->text(), "Com 1");
    QTimer::singleShot(0, form.get(), choose);
    ui().cmdSelectPort->click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(ui().lblComPort->text(), "Manual");
    form->UpdateOptionsForm("12");
    EXPECT_EQ(ui().lblComPort->text(), "Com 12");
}

TEST_F(OptionsWindow, AnotherDataFileChosenInItsDialogTakesTheNextTrigger) {
    store(settings::DebounceTime, "0");
    start();
    options = open();
    const QString other = files.file("other.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(other));
    const QString first = CommandLineDataPath;
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmSelectData*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->brsDataPath()->SetPath(other);
        dialog->cmdOK_Click();
        answered = true;
    });
    ui().cmdChangeDataPath->click();
    ASSERT_TRUE(answered);
    EXPECT_EQ(ui().txtDataPath->text(), other);
    pressAndRelease([&](bool e) { engine->ManualTrigger(e); });
    EXPECT_EQ(rows(), 1); // CommandLineDataPath is the chosen file now
    CommandLineDataPath = first;
    EXPECT_EQ(rows(), 0);
}

TEST_F(OptionsWindow, CancellingTheDataFileDialogKeepsTheFileAndTheCounterRunning) {
    start();
    options = open();
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<frmSelectData*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->cmdCancel_Click();
    });
    ui().cmdChangeDataPath->click();
    EXPECT_EQ(ui().txtDataPath->text(), CommandLineDataPath);
    EXPECT_TRUE(form->Loaded());
}

// ---- Showing and closing

TEST_F(OptionsWindow, TheMenuShowsOneWindowOwnedByTheMainWindowAndCloseUnloadsIt) {
    start();
    options = open();
    EXPECT_EQ(options->parentWidget(), form.get());
    form->mnuToolsOptions_Click();
    EXPECT_EQ(form->findChildren<frmOptions*>().size(), 1);
    QPointer<frmOptions> closed = options;
    ui().cmdClose->click();
    EXPECT_FALSE(closed->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    form->UpdateOptionsForm("3"); // nothing left to update
    options = open();
    EXPECT_NE(options, nullptr);
}

TEST_F(OptionsWindow, TheManualWindowBecomingActiveAndTheMainWindowsUnloadCloseIt) {
    start();
    options = open();
    form->UnloadOptionsWindow();
    EXPECT_FALSE(options->isVisible());
    options = open();
    QPointer<frmOptions> last = options;
    form->Unload();
    EXPECT_TRUE(last.isNull() || !last->isVisible());
}

TEST_F(OptionsWindow, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    start();
    options = open();
    ASSERT_TRUE(options);
    const QStringList cut = TextFit::overflowing(options);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(OptionsWindow, IsAFixedDialogWithoutMinimiseOrMaximise) {
    start();
    options = open();
    ASSERT_TRUE(options);
    EXPECT_TRUE(WindowButtons::fixedDialog(options));
}
