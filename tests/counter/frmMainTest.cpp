#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/DataFiles.h"
#include "tests/support/MockClock.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TextFit.h"
#include "tests/support/WindowButtons.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"
#include "counter/frmInterface.h"
#include "counter/frmMain.h"
#include "counter/frmManual.h"
#include "counter/frmOptions.h"
#include "datafile_dialog/frmSelectData.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/ui/frmAbout.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace brantock;
using namespace brantock::counter;
using namespace brantock::testsupport;

namespace {

// Runs a call when the widget is asked to close.
class OnClose : public QObject {
public:
    OnClose(QWidget* widget, std::function<void()> call) : call_(std::move(call)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close)
            call_();
        return false;
    }

private:
    std::function<void()> call_;
};

DateValue at(int h, int m, int s) {
    return DateValue::fromDateTime(QDate(2026, 3, 2), QTime(h, m, s));
}

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        App::SetPath(programFolder.path());
        App::SetTitle("Brantock");
        ResetData();
        form = std::make_unique<frmMain>();
    }
    ~MainWindow() override {
        form.reset();
        App::SetPath(QString());
        App::SetTitle(QString());
        ResetData();
    }
    // A start that finds a port and a usable data file.
    void loadWithPort() {
        CommandLineDataPath = files.file("data.hbd");
        ASSERT_TRUE(DataFiles::copyTemplate(CommandLineDataPath));
        usePort1();
        form->Show();
    }
    // Port 1 is set and answers as a wired sensor.
    void usePort1() {
        ports.serve(1);
        SetRegSetting(settings::ComPort, "1", RegistryHive);
    }
    void withTray() {
        form->setTrayAvailable(true);
        UseTrayIcon = true;
    }
    QStringList history() const {
        QStringList lines;
        for (int i = 0; i < form->ui().lstHistory->count(); ++i)
            lines << form->ui().lstHistory->item(i)->text();
        return lines;
    }
    void status(const QString& text, bool showTime = false) {
        QString line = text;
        form->UpdateStatus(line, showTime);
    }
    // Runs answer on the modal dialog of its kind once it is shown (the port's opening lets
    // events run before it).
    template <class Dialog> void whenShown(std::function<void(Dialog*)> answer) {
        auto* poll = new QTimer(form.get());
        QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
            if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                poll->stop();
                answer(dialog);
            }
        });
        poll->start(0);
    }
    bool waitUntilTrayIsFree() {
        return QTest::qWaitFor([&] { return !form->TrayBusy(); }, 2000);
    }

    TemporaryRegistry registry;
    counter::testsupport::SimulatedPorts ports{registry};
    ScriptedErrors errors;
    ScriptedMessages boxes;
    RecordingShell shell;
    MockClock clock{at(9, 5, 7)};
    ScratchFolder programFolder;
    ScratchFolder files;
    std::unique_ptr<frmMain> form;
};

} // namespace

// ---- Status, tip and details

TEST_F(MainWindow, TheTipNamesTheCountTheTagAndTheStatusInItsFixedField) {
    struct Case {
        const char* caption;
        const char* tag;
        QString status;
        QString shown;
    };
    const QString longStatus(80, u'x');
    const Case cases[] = {
        {"0 ", "", "Count", "0 counts - Count"},
        {"1 ", "", "Count", "1 count - Count"},
        {"2 ", "", "Count", "2 counts - Count"},
        {"5 ", "First door", "Count", "First door - 5 counts - Count"},
        {"7 ", "", longStatus, (QStringLiteral("7 counts - ") + longStatus).left(64)},
    };
    for (const Case& c : cases) {
        InstanceTag = QString::fromLatin1(c.tag);
        form->SetCounterCaption(QString::fromLatin1(c.caption));
        status(c.status);
        ASSERT_EQ(TrayIconData.tip.size(), 64);
        EXPECT_EQ(frmMain::ShownTip(TrayIconData.tip), c.shown);
        if (c.shown.size() < 64) { // blanks after the NUL
            EXPECT_EQ(TrayIconData.tip, (c.shown + QChar(u'\0')).leftJustified(64, u' '));
        }
    }
}

TEST_F(MainWindow, AStatusWithTheTimeGetsItOnTheClocksTwelveHourFormat) {
    QString line = QStringLiteral("Count at");
    form->UpdateStatus(line, true);
    EXPECT_EQ(line, QStringLiteral("Count at 9:05:07 AM"));
    EXPECT_EQ(history().value(0), line);
}

TEST_F(MainWindow, TheHistoryKeepsItsLinesNewestFirstFromAnEmptyStart) {
    ASSERT_EQ(form->ui().lstHistory->count(), 0);
    ScrollStatus = true;
    status("first");
    status("second");
    status("third");
    EXPECT_EQ(history(), QStringList({"third", "second", "first"}));
    EXPECT_TRUE(errors.reports().empty());
    form->ClearHistory();
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(MainWindow, TheHistoryShowsItsNewestThousandLines) {
    for (int i = 1; i <= frmMain::HistoryLines + 50; ++i)
        status(QString::number(i));
    const QStringList lines = history();
    ASSERT_EQ(lines.size(), frmMain::HistoryLines);
    EXPECT_EQ(lines.first(), QString::number(frmMain::HistoryLines + 50));
    EXPECT_EQ(lines.last(), "51");
}

TEST_F(MainWindow, ScrollingShowsThePreviousStatusFirstOnlyWhenSwitchedOn) {
    form->show();
    for (const bool scroll : {true, false}) {
        ScrollStatus = scroll;
        form->ClearHistory();
        status("older");
        std::vector<int> tops;
        QObject::connect(form->ui().lstHistory->verticalScrollBar(), &QScrollBar::valueChanged,
                         form.get(), [&](int top) { tops.push_back(top); });
        status("newer");
        QObject::disconnect(form->ui().lstHistory->verticalScrollBar(), nullptr, form.get(),
                            nullptr);
        EXPECT_EQ(tops, scroll ? std::vector<int>({1, 0}) : std::vector<int>()) << scroll;
        EXPECT_EQ(form->ui().lstHistory->verticalScrollBar()->value(), 0);
        EXPECT_EQ(form->ui().lstHistory->indexAt(QPoint(2, 2)).row(), 0);
    }
}

TEST_F(MainWindow, TheDetailsSayOnceForOneAndTheNumberOtherwise) {
    struct Case {
        int up, down;
        const char* upText;
        const char* downText;
    };
    const Case cases[] = {
        {0, 0, "I've counted up 0 times since starting.",
         "I've counted down 0 times since starting."},
        {1, 1, "I've counted up once since starting.", "I've counted down once since starting."},
        {12, 2, "I've counted up 12 times since starting.",
         "I've counted down 2 times since starting."},
    };
    CountingStartTime = at(8, 0, 0);
    for (const Case& c : cases) {
        UpCountSinceStart = c.up;
        DownCountSinceStart = c.down;
        form->UpdateDetails();
        EXPECT_EQ(form->ui().lblTotalCount->text(), QString::fromLatin1(c.upText));
        EXPECT_EQ(form->ui().lblTotalDownCount->text(), QString::fromLatin1(c.downText));
        EXPECT_EQ(form->ui().lblUptime->text(),
                  QStringLiteral("I've been running for 1 hour and 5 minutes"));
    }
}

TEST_F(MainWindow, TheHistoryGivesUpItsSelectionAndTheFocus) {
    form->show();
    status("one");
    form->ui().lstHistory->setCurrentRow(0);
    form->lstHistory_GotFocus();
    EXPECT_TRUE(form->ui().lstHistory->selectedItems().isEmpty());
    EXPECT_EQ(form->ui().lstHistory->currentRow(), -1);
    EXPECT_FALSE(QRect(QPoint(), form->ui().central->size())
                     .intersects(form->ui().txtFocusHolder->geometry()));
}

// ---- Closing, the tray and its menu

TEST_F(MainWindow, TheCloseBoxHidesIntoTheTrayWhenTheIconIsOnAndEndsOtherwise) {
    int unloads = 0;
    QObject::connect(form.get(), &frmMain::unloaded, [&] { ++unloads; });
    withTray();
    form->show();
    form->close();
    EXPECT_TRUE(form->Loaded());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    EXPECT_EQ(unloads, 0);

    form->HideForm(false);
    UseTrayIcon = false;
    form->close();
    EXPECT_FALSE(form->Loaded());
    EXPECT_EQ(unloads, 1);
}

TEST_F(MainWindow, WithoutATrayTheIconCountsAsOffSoTheWindowStaysWithinReach) {
    form->setTrayAvailable(false);
    UseTrayIcon = true;
    form->show();
    form->HideForm(true);
    EXPECT_TRUE(form->isVisible());
    form->close();
    EXPECT_FALSE(form->Loaded());
}

TEST_F(MainWindow, RequestsFromCodeAreNeverCancelled) {
    withTray();
    form->show();
    form->ui().mnuFileExit->trigger();
    EXPECT_FALSE(form->Loaded());
}

TEST_F(MainWindow, ADoubleClickOnTheIconHidesAShownWindowAndRestoresAHiddenOne) {
    withTray();
    form->show();
    form->Form_MouseMove(frmMain::TrayDoubleClick);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(form->isMinimized());
    ASSERT_TRUE(waitUntilTrayIsFree());
    form->Form_MouseMove(frmMain::TrayDoubleClick);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(MainWindow, ASecondTrayEventWhileTheFirstSettlesIsIgnored) {
    withTray();
    form->show();
    form->Form_MouseMove(frmMain::TrayDoubleClick);
    ASSERT_TRUE(form->TrayBusy());
    form->Form_MouseMove(frmMain::TrayDoubleClick);
    bool menuOpened = false;
    QTimer::singleShot(0, form.get(), [&] { // a menu opened by mistake must not hang the test
        menuOpened = form->ui().mnuTools->isVisible();
        form->ui().mnuTools->close();
    });
    form->Form_MouseMove(frmMain::TrayRightButtonUp);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(menuOpened);
    ASSERT_TRUE(waitUntilTrayIsFree());
    EXPECT_EQ(form->ui().timTrayStabalise->interval(), 0);
    EXPECT_FALSE(form->ui().timTrayStabalise->isActive());
}

TEST_F(MainWindow, TheTrayMenuOffersShowAndExitAndExitUnloadsOnlyAfterItCloses) {
    withTray();
    form->show();
    bool loadedWhileOpen = false;
    bool ignoredWhileOpen = false;
    QStringList items;
    QAction* defaultItem = nullptr;
    QTimer::singleShot(0, form.get(), [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_EQ(menu, form->ui().mnuTools);
        for (QAction* a : menu->actions())
            if (a->isVisible())
                items << (a->isSeparator() ? QStringLiteral("-") : a->text());
        defaultItem = menu->defaultAction();
        form->Form_MouseMove(frmMain::TrayDoubleClick); // dropped: the menu is open
        ignoredWhileOpen = form->isVisible();
        form->ui().mnuToolsClose->trigger();
        loadedWhileOpen = form->Loaded();
        menu->close();
    });
    form->Form_MouseMove(frmMain::TrayRightButtonUp);
    EXPECT_EQ(items,
              QStringList({"Re&ports", "&Reset", "&Mute", "&Options...", "-", "&Show", "E&xit"}));
    EXPECT_EQ(defaultItem, form->ui().mnuToolsClose);
    EXPECT_TRUE(ignoredWhileOpen);
    EXPECT_TRUE(loadedWhileOpen);
    EXPECT_FALSE(form->Loaded());
}

TEST_F(MainWindow, TheTrayMenuClosedWithoutAChoiceChangesNothingAndHidesItsItemsAgain) {
    withTray();
    form->show();
    form->HideForm(true);
    QTimer::singleShot(0, form.get(), [&] { form->ui().mnuTools->close(); });
    form->Form_MouseMove(frmMain::TrayRightButtonUp);
    EXPECT_TRUE(form->Loaded());
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(form->ui().mnuToolsShow->isVisible());
    EXPECT_FALSE(form->ui().mnuToolsClose->isVisible());
    EXPECT_FALSE(form->ui().mnuToolDivider->isVisible());
    EXPECT_EQ(form->ui().mnuTools->defaultAction(), nullptr);

    ASSERT_TRUE(waitUntilTrayIsFree());
    QTimer::singleShot(0, form.get(), [&] {
        form->ui().mnuToolsShow->trigger();
        form->ui().mnuTools->close();
    });
    form->Form_MouseMove(frmMain::TrayRightButtonUp);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
}

TEST_F(MainWindow, AnUnloadAskedForAgainWhileUnloadingHasNoEffect) {
    QStringList closed;
    int unloads = 0;
    QObject::connect(form.get(), &frmMain::unloaded, [&] { ++unloads; });
    form->SetPortDialogMessage("Com 1"); // loads the port dialog
    form->mnuToolsOptions_Click();
    form->ShowManualWindow();
    auto* port = form->findChild<frmInterface*>();
    auto* options = form->findChild<frmOptions*>();
    QList<frmManual*> manual;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<frmManual*>(window))
            manual << m;
    ASSERT_TRUE(port && options && manual.size() == 1);
    QObject::connect(port, &QDialog::finished, [&] { closed << "port"; });
    QObject::connect(options, &QDialog::finished, [&] { closed << "options"; });
    OnClose manualClosed(manual.first(), [&] {
        closed << "manual";
        form->UnloadMainWindow(); // the manual window's own unload asks again
    });
    form->Unload();
    form->Unload();
    EXPECT_EQ(closed, QStringList({"port", "options", "manual"}));
    EXPECT_EQ(unloads, 1);
}

// ---- Switches

TEST_F(MainWindow, MuteFromEachOfItsThreePlacesTogglesTheOneState) {
    form->show();
    ASSERT_FALSE(form->Muted());
    form->ui().mnuToolsMute->trigger();
    EXPECT_TRUE(form->Muted());
    EXPECT_TRUE(form->ui().mnuToolsMute->isChecked());
    EXPECT_TRUE(form->ui().imgMute->isVisible());
    form->ui().mnuSoundPopMute->trigger();
    EXPECT_FALSE(form->Muted());
    EXPECT_FALSE(form->ui().imgMute->isVisible());
    EXPECT_FALSE(form->ui().mnuSoundPopMute->isChecked());
    form->ui().mnuSoundPopMute->trigger();
    ASSERT_TRUE(form->ui().imgMute->isVisible());
    QTest::mouseClick(form->ui().imgMute, Qt::LeftButton);
    EXPECT_FALSE(form->Muted());
    EXPECT_FALSE(form->ui().imgMute->isVisible());
    EXPECT_FALSE(form->ui().mnuSoundPopMute->isCheckable());
}

TEST_F(MainWindow, KeepOnTopAndTheSoundSelectorAreSavedTheStatusBarAndDetailsAreNot) {
    form->show();
    form->ui().mnuViewKeepOnTop->trigger();
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(GetRegSetting(settings::KeepOnTop, RegistryHive), "1");
    form->ui().mnuViewSoundSelector->trigger();
    EXPECT_FALSE(form->ui().fraSoundSelector->isVisible());
    EXPECT_EQ(GetRegSetting(settings::SoundSelector, RegistryHive), "0");
    const QString saved = registry.readHive(platform::HKEY_CURRENT_USER);

    form->ui().mnuViewStatusBar->trigger();
    EXPECT_FALSE(form->ui().fraStatus->isVisible());
    EXPECT_FALSE(form->ui().mnuViewStatusBar->isChecked());
    form->ui().mnuViewDetails->trigger();
    EXPECT_TRUE(form->ui().mnuViewDetails->isChecked());
    EXPECT_EQ(registry.readHive(platform::HKEY_CURRENT_USER), saved);

    form->ui().mnuViewKeepOnTop->trigger();
    EXPECT_FALSE(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(GetRegSetting(settings::KeepOnTop, RegistryHive), "0");
}

TEST_F(MainWindow, TheDetailsPanelLiesBelowTheCompactViewAndInsideTheTallOne) {
    form->show();
    const auto detailsInside = [&] {
        return QRect(QPoint(), form->ui().central->size())
            .contains(form->ui().fraDetails->geometry());
    };
    const auto statusInside = [&] {
        return QRect(QPoint(), form->ui().central->size())
            .contains(form->ui().fraStatus->geometry().adjusted(0, 0, -(4800 - 4515) / 15, 0));
    };
    EXPECT_FALSE(detailsInside());
    EXPECT_TRUE(statusInside());
    const int compact = form->height();
    form->ui().mnuViewDetails->trigger();
    QTest::qWait(0);
    EXPECT_EQ(form->height() - compact, (3950 - 2050) / 15);
    EXPECT_TRUE(detailsInside());
    form->ui().mnuViewDetails->trigger();
    EXPECT_EQ(form->height(), compact);
}

TEST_F(MainWindow, ResetAndTheLoggingSwitchReachTheirParts) {
    form->show();
    int resets = 0;
    // The engine's reset sets the count to "0 ".
    const auto countReset = [&](const std::function<void()>& request) {
        form->SetCounterCaption("5 ");
        request();
        if (form->CounterCaption() == "0 ")
            ++resets;
    };
    countReset([&] { QTest::mouseDClick(form->ui().lblCounter, Qt::LeftButton); });
    countReset([&] { form->ui().mnuToolsReset->trigger(); });
    countReset([&] { form->ui().mnuPopReset->trigger(); });
    EXPECT_EQ(resets, 3);
    form->logger().SetLogToDatabase(true);
    form->SetIconVisible(CounterWindow::Icon::LogToDatabase, true);
    QTest::mouseClick(form->ui().imgLogToDatabase, Qt::LeftButton);
    EXPECT_FALSE(form->logger().LogToDatabase());
    EXPECT_FALSE(form->windowIcon().availableSizes().isEmpty());
}

// ---- The reports program

TEST_F(MainWindow, TheReportsProgramStartsWithTheDataPathAndTheTag) {
    QFile program(programFolder.file("brantockreports"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    CommandLineDataPath = "/srv/count/data.hbd";
    struct Case {
        const char* tag;
        const char* parameters;
    };
    const Case cases[] = {
        {"", "datapath=/srv/count/data.hbd"},
        {"North door", "datapath=/srv/count/data.hbd,TAG=North door"},
    };
    for (const Case& c : cases) {
        InstanceTag = QString::fromLatin1(c.tag);
        shell.calls.clear();
        form->ui().mnuViewReports->trigger();
        ASSERT_EQ(shell.calls.size(), 1u);
        EXPECT_EQ(shell.calls[0].verb, "open");
        EXPECT_EQ(shell.calls[0].file, "brantockreports");
        EXPECT_EQ(shell.calls[0].parameters, QString::fromLatin1(c.parameters));
        EXPECT_EQ(shell.calls[0].directory, programFolder.path());
        EXPECT_EQ(shell.calls[0].show, 1);
    }
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, TheReportsProgramsProblemsAreSaidInTheirBoxes) {
    form->ui().mnuViewReports->trigger();
    EXPECT_TRUE(shell.calls.empty());
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              "Sorry, I am having problems running the reports application\n"
              "I can't find the reports application\nTry running the program manually.");
    EXPECT_EQ(boxes.last().style, 4144);
    EXPECT_EQ(boxes.last().title, "Problems running reports");

    QFile program(programFolder.file("brantockreports"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    for (const int result : {2, 32}) {
        shell.result = result;
        form->ui().mnuViewReports->trigger();
        EXPECT_EQ(
            boxes.last().prompt,
            QStringLiteral("Sorry, I am having problems running the reports application\n"
                           "Error code: %1\nTry running the file: %2/brantockreports manually")
                .arg(result)
                .arg(programFolder.path()));
        EXPECT_EQ(boxes.last().style, 4144);
    }
    shell.result = 33;
    form->ui().mnuViewReports->trigger();
    EXPECT_EQ(boxes.shown().size(), 3u);
}

TEST_F(MainWindow, HelpOpensTheGuideAndAboutAndOptionsWaitForTheirWindows) {
    form->ui().mnuHelpContents->trigger();
    ASSERT_EQ(shell.calls.size(), 1u);
    EXPECT_EQ(shell.calls[0].file, HelpGuidePath());
    form->ui().mnuHelpAbout->trigger();
    const QList<frmAbout*> abouts = form->findChildren<frmAbout*>();
    ASSERT_EQ(abouts.size(), 1);
    EXPECT_TRUE(abouts.first()->isVisible());
    form->ui().mnuToolsOptions->trigger();
    EXPECT_TRUE(errors.reports().empty());
}

// ---- The load

TEST_F(MainWindow, TheLoadSetsUpTheWindowAndStartsCounting) {
    InstanceTag = "  First door  ";
    InterfaceOffset = 1;
    SetRegSetting(settings::DebounceTime, "1001.5", RegistryHive);
    SetRegSetting(settings::StartMinimized, "2", RegistryHive);
    SetRegSetting(settings::SecondTriggerUse, "1", RegistryHive);
    SetRegSetting(settings::SiteName, "North", RegistryHive);
    // DSRShow shows the indicator as the line stands: low, and normally closed.
    form->SetIconVisible(CounterWindow::Icon::DSRTrigger, true);
    loadWithPort();
    TriggerEngine& engine = form->engine();
    const std::vector<int> intervals = {engine.timDSRdebounce().interval(),
                                        engine.timCTSDebounce().interval(),
                                        engine.timDCDDebounce().interval()};
    const std::int32_t second = engine.SecondTriggerUse();
    ASSERT_TRUE(form->Loaded());
    EXPECT_EQ(form->windowTitle(), "Brantock - First door");
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(CountingStarted);
    EXPECT_EQ(intervals, std::vector<int>({1002, 1002, 1002}));
    EXPECT_EQ(second, 1);
    EXPECT_EQ(SensorIDBase, 3);
    EXPECT_FALSE(form->IconVisible(CounterWindow::Icon::DSRTrigger));
    const QStringList lines = history();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Started at 9:05:07 AM");
    EXPECT_EQ(lines[1], "Logging is on 9:05:07 AM"); // the logger's switch, from its setting
    EXPECT_EQ(lines[2], "Site name: North 9:05:07 AM");
    EXPECT_TRUE(lines[3].startsWith("Computer name: "));
    EXPECT_EQ(form->ui().lblstarttime->text(), "I started counting at 09:05 AM on 3/2/2026");
    EXPECT_EQ(TrayIconData.size, 88);
    EXPECT_EQ(TrayIconData.id, 1);
    EXPECT_EQ(TrayIconData.flags, 7);
    EXPECT_EQ(TrayIconData.callbackMessage, 0x200);
    EXPECT_TRUE(TrayIconData.hasWindow);
    EXPECT_TRUE(form->ui().fraSoundSelector->isVisible());
    EXPECT_TRUE(form->comPort().DTREnable());
    EXPECT_FALSE(form->comPort().RTSEnable());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(MainWindow, WithoutAPortOrManualModeTheLoadUnloadsTheWindow) {
    int dialogs = 0;
    whenShown<frmInterface>([&](frmInterface* dialog) {
        ++dialogs;
        dialog->reject();
    });
    try {
        form->Show();
        FAIL() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::ObjectUnloaded);
    }
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, ManualModeChosenInThePortDialogGoesOn) {
    CommandLineDataPath = files.file("data.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(CommandLineDataPath));
    whenShown<frmInterface>([](frmInterface* dialog) {
        ManualTriggerMode = true;
        dialog->reject();
    });
    form->Show();
    EXPECT_TRUE(form->Loaded());
    EXPECT_TRUE(CountingStarted);
}

TEST_F(MainWindow, CancellingTheDataFileDialogEndsTheLoadSilently) {
    CommandLineDataPath = files.file("missing.hbd");
    usePort1();
    int dialogs = 0;
    whenShown<frmSelectData>([&](frmSelectData* dialog) {
        ++dialogs;
        dialog->cmdCancel_Click();
    });
    EXPECT_THROW(form->Show(), RuntimeError);
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(form->Loaded());
    EXPECT_FALSE(CountingStarted);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, AFailingLoadStepIsReportedAndItsAnswerDecides) {
    SetRegSetting(settings::ThirdTriggerUse, "abc", RegistryHive);
    for (const char* answer : {"3", "5"}) {
        form = std::make_unique<frmMain>();
        CountingStarted = false;
        errors.answer(QString::fromLatin1(answer));
        const bool leaves = QString::fromLatin1(answer) == "3";
        if (leaves)
            EXPECT_THROW(loadWithPort(), RuntimeError);
        else
            loadWithPort();
        EXPECT_EQ(form->Loaded(), !leaves) << answer;
        EXPECT_EQ(CountingStarted, !leaves) << answer;
        ASSERT_FALSE(errors.reports().empty());
        EXPECT_EQ(errors.reports().back().number, err::TypeMismatch);
        EXPECT_TRUE(errors.reports().back().trail.startsWith("Main form load&"));
        EXPECT_EQ(errors.reports().back().activity, "loading the application");
    }
}

TEST_F(MainWindow, AnErrorRaisedAgainIntoTheLoadKeepsItsTrail) {
    SetRegSetting(settings::SiteID, "abc", RegistryHive);
    errors.answer("5");
    loadWithPort();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, err::TypeMismatch);
    EXPECT_EQ(errors.reports()[0].trail, "Main form load&GetSiteNameAndID&");
}

TEST_F(MainWindow, ContentsAndF1OpenTheGuideBesideTheProgram) {
    loadWithPort();
    form->ui().mnuHelpContents->trigger();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    ASSERT_EQ(shell.calls.size(), 2u);
    for (const RecordingShell::Call& call : shell.calls) {
        EXPECT_EQ(call.verb, "open");
        EXPECT_EQ(call.file, programFolder.path() + "/help/brantock.html");
    }
    // The build puts the guide where the program looks for it.
    EXPECT_TRUE(QFile::exists(DataFiles::programFolder() + "/help/brantock.html"));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(MainWindow, AGuideNothingOpensIsNamedInABox) {
    loadWithPort();
    shell.result = 31;
    form->ui().mnuHelpContents->trigger();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    ASSERT_EQ(boxes.shown().size(), 2u);
    for (const platform::MessageRequest& box : boxes.shown()) {
        EXPECT_EQ(box.prompt, "I could not open " + programFolder.path() +
                                  "/help/brantock.html. Please open it yourself, for example in "
                                  "your web browser.");
        EXPECT_EQ(box.style, 48);
        EXPECT_EQ(box.title, "Brantock");
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(MainWindow, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    loadWithPort();
    form->ui().mnuViewDetails->trigger();
    const QStringList cut = TextFit::overflowing(form.get());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(MainWindow, AsksForAFixedBorderWithAMinimiseButtonAndNoMaximiseButton) {
    loadWithPort();
    EXPECT_TRUE(WindowButtons::fixedMainWindow(form.get()));
}
