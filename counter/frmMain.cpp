#include "counter/frmMain.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"
#include "counter/frmClockWarning.h"
#include "counter/frmInterface.h"
#include "counter/frmManual.h"
#include "counter/frmOptions.h"
#include "datafile_dialog/frmSelectData.h"
#include "foundation/App.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/modXPUser.h"
#include "foundation/ReportingHandler.h"
#include "foundation/ui/frmAbout.h"
#include "foundation/ui/HelpKey.h"
#include "foundation/ui/modForceFore.h"
#include "foundation/ui/ShowModeless.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/os/Shell.h"
#include "runtime/Clock.h"
#include "runtime/Conversions.h"
#include "runtime/DateFormat.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cmath>

namespace brantock::counter {

namespace {

constexpr int LargestInterval = 65535;
constexpr int ShowNormal = 1;
const QString ReportsProgram = QStringLiteral("brantockreports");
const QString ReportsTitle = QStringLiteral("Problems running reports");
const QString ReportsProblem =
    QStringLiteral("Sorry, I am having problems running the reports application");

// The tray record's tip: the text cut or padded with blanks to the fixed field.
QString TipField(const QString& text) {
    return text.left(TrayIconRecord::TipLength).leftJustified(TrayIconRecord::TipLength, u' ');
}

int DebounceInterval() {
    const std::int32_t ms =
        RoundToInt32(LeadingNumber(GetRegSetting(settings::DebounceTime, RegistryHive)));
    if (ms < 0 || ms > LargestInterval)
        throw RuntimeError::of(err::InvalidPropertyValue);
    return int(ms);
}

} // namespace

frmMain::frmMain(QWidget* parent) : QMainWindow(parent) {
    ui_.setupUi(this);
    trayAvailable_ = QSystemTrayIcon::isSystemTrayAvailable();
    trayIcon_ = new QSystemTrayIcon(windowIcon(), this);
    connectControls();
    CounterWindow::setCurrent(this);
}

frmMain::~frmMain() {
    // A window made after this one may be the installed one by now.
    try {
        if (&CounterWindow::current() == this)
            CounterWindow::setCurrent(nullptr);
    } catch (const RuntimeError&) {
    }
}

void frmMain::connectControls() {
    // F1 in any of the program's windows opens the guide, as Help > Contents does.
    HelpKey::install(this, [this] { mnuHelpContents_Click(); });

    const std::pair<QAction*, void (frmMain::*)()> menus[] = {
        {ui_.mnuFileHide, &frmMain::mnuFileHide_Click},
        {ui_.mnuFileExit, &frmMain::mnuFileExit_Click},
        {ui_.mnuViewKeepOnTop, &frmMain::mnuViewKeepOnTop_Click},
        {ui_.mnuViewSoundSelector, &frmMain::mnuViewSoundSelector_Click},
        {ui_.mnuViewStatusBar, &frmMain::mnuViewStatusBar_Click},
        {ui_.mnuViewDetails, &frmMain::mnuViewDetails_Click},
        {ui_.mnuViewReports, &frmMain::mnuViewReports_Click},
        {ui_.mnuToolsReset, &frmMain::mnuToolsReset_Click},
        {ui_.mnuToolsMute, &frmMain::mnuToolsMute_Click},
        {ui_.mnuToolsOptions, &frmMain::mnuToolsOptions_Click},
        {ui_.mnuToolsShow, &frmMain::mnuToolsShow_Click},
        {ui_.mnuToolsClose, &frmMain::mnuToolsClose_Click},
        {ui_.mnuHelpContents, &frmMain::mnuHelpContents_Click},
        {ui_.mnuHelpAbout, &frmMain::mnuHelpAbout_Click},
        {ui_.mnuSoundPopMute, &frmMain::mnuSoundPopMute_Click},
        {ui_.mnuPopReset, &frmMain::mnuPopReset_Click},
    };
    // A checkable item inverts its own check mark as it triggers; the procedures invert it
    // themselves, so the check mark changes only there.
    for (const auto& [action, procedure] : menus)
        connect(action, &QAction::triggered, this, [this, action, procedure] {
            if (action->isCheckable())
                action->setChecked(!action->isChecked());
            (this->*procedure)();
        });
    connectSoundSelector();
    connect(ui_.timTrayStabalise, &QTimer::timeout, this, &frmMain::timTrayStabalise_Timer);
    connect(trayIcon_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    Form_MouseMove(TrayDoubleClick);
                else if (reason == QSystemTrayIcon::Context)
                    Form_MouseMove(TrayRightButtonUp);
            });
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { sessionEnding_ = true; });
    for (QObject* watched :
         std::initializer_list<QObject*>{ui_.lblCounter, ui_.fraSoundSelector, ui_.imgMute,
                                         ui_.imgLogToDatabase, ui_.lstHistory})
        watched->installEventFilter(this);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (watched == ui_.lblCounter && event->type() == QEvent::MouseButtonDblClick) {
        lblCounter_DblClick();
        return true;
    }
    if (mouse && event->type() == QEvent::MouseButtonPress) {
        if (watched == ui_.lblCounter)
            lblCounter_MouseDown(mouse->button());
        else if (watched == ui_.fraSoundSelector)
            fraSoundSelector_MouseDown(mouse->button());
    }
    if (mouse && event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        if (watched == ui_.imgMute)
            imgMute_Click();
        else if (watched == ui_.imgLogToDatabase)
            imgLogToDatabase_Click();
    }
    if (watched == ui_.lstHistory && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, this, &frmMain::lstHistory_GotFocus);
    return QMainWindow::eventFilter(watched, event);
}

// ---- Load, show and unload

void frmMain::Show() {
    life_.LoadOnce([&] { Form_Load(); });
    show();
    Form_Resize();
}

void frmMain::Form_Load() {
    std::int16_t port = 0;
    bool normallyOpen = false;
    const bool ran =
        ReportingHandler::WithSource("Main form load&", "loading the application")
            .run({
                [&] {
                    setWindowTitle(InstanceTag.isEmpty()
                                       ? QStringLiteral("Brantock")
                                       : QStringLiteral("Brantock - ") + TrimBlanks(InstanceTag));
                },
                [&] { ui_.setHeight(this, frmMainUi::CompactHeight); },
                [&] {
                    if (GetRegCheckBox(settings::StartMinimized, RegistryHive) == 1)
                        HideForm(true);
                },
                [&] { ClearHistory(); },
                [&] { ComputerNameText = GetLocalComputerName(QString()); },
                [&] {
                    QString status = QStringLiteral("Computer name: ") + ComputerNameText;
                    UpdateStatus(status, true);
                },
                [&] { GetSiteNameAndID(); },
                [&] {
                    QString status = QStringLiteral("Site name: ") + SiteName;
                    UpdateStatus(status, true);
                },
                [&] { PortDialogOpen = false; },
                [&] {
                    const std::int16_t number = GetPortNumber();
                    port = OpenValidPort(comPort_, number);
                },
                [&] {
                    if (port != 0)
                        return;
                    ShowPortDialog();
                    port = GetPortNumber();
                },
                [&] {
                    if (port != 0 || ManualTriggerMode)
                        return Flow::Next;
                    Unload();
                    return Flow::Leave;
                },
                [&] {
                    if (frmSelectData::ShowUntilUsable(true, this))
                        return Flow::Next;
                    Unload();
                    return Flow::Leave;
                },
                [&] { LoadThemeFolders(); },
                [&] {
                    engine_.SetSecondTriggerUse(
                        ToLong(GetRegSetting(settings::SecondTriggerUse, RegistryHive)));
                },
                [&] {
                    engine_.SetThirdTriggerUse(
                        ToLong(GetRegSetting(settings::ThirdTriggerUse, RegistryHive)));
                },
                [&] { SelectedEdge = GetRegBoolean(settings::SelectedEdge, RegistryHive); },
                [&] {
                    ui_.mnuViewKeepOnTop->setChecked(
                        GetRegBoolean(settings::KeepOnTop, RegistryHive));
                },
                [&] { SetKeepOnTop(); },
                [&] {
                    logger_.SetLogToDatabase(GetRegBoolean(settings::LogToDatabase, RegistryHive));
                },
                [&] { engine_.timDSRdebounce().setInterval(DebounceInterval()); },
                [&] { engine_.timCTSDebounce().setInterval(DebounceInterval()); },
                [&] { engine_.timDCDDebounce().setInterval(DebounceInterval()); },
                [&] {
                    ui_.mnuViewSoundSelector->setChecked(
                        GetRegBoolean(settings::SoundSelector, RegistryHive));
                },
                [&] { SetSoundSelector(); },
                [&] { DailyReset = GetRegBoolean(settings::DailyReset, RegistryHive); },
                [&] { UseTrayIcon = GetRegBoolean(settings::UseTrayIcon, RegistryHive); },
                [&] { ScrollStatus = GetRegBoolean(settings::ScrollStatus, RegistryHive); },
                [&] { SensorIDBase = std::int16_t(InterfaceOffset * 3); },
                [&] {
                    normallyOpen = GetRegBoolean(settings::NormallyOpen, RegistryHive);
                    engine_.SetDSRdebounce(false);
                    engine_.SetCTSdebounce(false);
                    engine_.SetDCDdebounce(false);
                    engine_.SetNormallyOpen(normallyOpen);
                },
                [&] {
                    CountingStartTime = Clock::current().now();
                    LastClockCheck = Clock::current().now();
                    ui_.lblstarttime->setText(QStringLiteral("I started counting at ") +
                                              DateFormat::MediumTime(CountingStartTime) +
                                              QStringLiteral(" on ") +
                                              DateFormat::ShortDate(CountingStartTime));
                },
                [&] {
                    UpCountSinceStart = 0;
                    DownCountSinceStart = 0;
                    LastCountDay = std::int32_t(std::floor(Clock::current().now().serial()));
                },
                [&] {
                    comPort_.SetDTREnable(true);
                    comPort_.SetRTSEnable(!comPort_.DTREnable());
                    engine_.SetLastDSR(comPort_.DSRHolding());
                    engine_.SetLastCTS(comPort_.CTSHolding());
                    engine_.SetLastDCD(comPort_.CDHolding());
                },
                [&] {
                    engine_.DSRShow(normallyOpen);
                    engine_.CTSShow(normallyOpen);
                    engine_.DCDShow(normallyOpen);
                },
                [&] {
                    TrayIconData.size = 88;
                    TrayIconData.hasWindow = true;
                    TrayIconData.id = 1;
                    TrayIconData.flags = 7;
                    TrayIconData.callbackMessage = 0x200;
                    trayIcon_->setIcon(windowIcon());
                    TrayIconData.tip = TipField(BuildTip(QStringLiteral("No counts yet")));
                },
                [&] { engine_.comPort_OnComm(); },
                [&] {
                    if (UseTrayIcon)
                        AddTrayIcon();
                },
                [&] { LetEventsRun(); },
                [&] { CountingStarted = true; },
                [&] {
                    QString status = QStringLiteral("Started at");
                    UpdateStatus(status, true);
                },
            });
    if (!ran)
        Unload();
}

void frmMain::Unload() {
    unloadFor(UnloadMode::FormCode);
}

bool frmMain::unloadFor(UnloadMode mode) {
    const FormLife::UnloadResult result =
        life_.Unload([&] { return Form_QueryUnload(mode); }, [&] { Form_Unload(); });
    if (result == FormLife::UnloadResult::Unloaded) {
        hide();
        Q_EMIT unloaded();
    }
    return result != FormLife::UnloadResult::Cancelled;
}

bool frmMain::Form_QueryUnload(UnloadMode mode) {
    bool cancel = false;
    ReportingHandler("Form_QueryUnload&", "closing form").run([&] {
        if (mode == UnloadMode::FormControlMenu && TrayIconInUse()) {
            cancel = true;
            HideForm(true);
        }
    });
    return cancel;
}

void frmMain::closeEvent(QCloseEvent* event) {
    // The program's own requests unload without closing, so a close that arrives here comes
    // from the window's close command, or from the session ending.
    const UnloadMode mode = sessionEnding_ ? UnloadMode::AppWindows : UnloadMode::FormControlMenu;
    if (unloadFor(mode))
        event->accept();
    else
        event->ignore();
}

void frmMain::Form_Unload() {
    RunIgnoringErrors({
        [&] {
            if (TrayIconData.hasWindow && UseTrayIcon)
                DeleteTrayIcon();
        },
        [&] {
            if (portDialog_)
                portDialog_->done(QDialog::Rejected);
        },
        [&] { UnloadOptionsWindow(); },
        [&] { UnloadManualWindow(); },
    });
}

// ---- Minimise, hide, restore and the tray

void frmMain::AddTrayIcon() {
    if (!trayAvailable_)
        return;
    SetTrayTip();
    trayIcon_->show();
}

void frmMain::DeleteTrayIcon() {
    trayIcon_->hide();
}

bool frmMain::TrayIconInUse() const {
    return UseTrayIcon && trayAvailable_;
}

void frmMain::HideForm(bool minimise) {
    withTrail("HideForm&", [&] {
        if (minimise) {
            setWindowState(windowState() | Qt::WindowMinimized);
            return;
        }
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        ForceForegroundWindow(this);
    });
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmMain::Form_Resize() {
    RunIgnoringErrors({[&] {
        if (isMinimized() && TrayIconInUse())
            hide();
    }});
}

void frmMain::Form_MouseMove(int code) {
    ReportingHandler("Form_MouseMove&", "processing mouse movement")
        .run({
            [&] { return trayBusy_ ? Flow::Leave : Flow::Next; },
            [&] {
                if (code != TrayDoubleClick)
                    return;
                trayBusy_ = true;
                HideForm(!isMinimized());
                ui_.timTrayStabalise->start(TrayStabaliseMilliseconds);
            },
            [&] {
                if (code != TrayRightButtonUp)
                    return;
                trayBusy_ = true;
                exitRequested_ = false;
                ui_.mnuToolsClose->setVisible(true);
                ui_.mnuToolsShow->setVisible(true);
                ui_.mnuToolDivider->setVisible(true);
                activateWindow();
                ui_.mnuTools->setDefaultAction(ui_.mnuToolsClose);
                ui_.mnuTools->exec(QCursor::pos());
                ui_.mnuTools->setDefaultAction(nullptr);
                ui_.mnuToolsClose->setVisible(false);
                ui_.mnuToolsShow->setVisible(false);
                ui_.mnuToolDivider->setVisible(false);
                ui_.timTrayStabalise->start(TrayStabaliseMilliseconds);
            },
            [&] {
                if (exitRequested_)
                    Unload();
            },
        });
}

void frmMain::timTrayStabalise_Timer() {
    ReportingHandler("timTrayStabalise_Timer&", "context menu timer")
        .run({
            [&] {
                ui_.timTrayStabalise->stop();
                ui_.timTrayStabalise->setInterval(0);
            },
            [&] { trayBusy_ = false; },
        });
}

void frmMain::SetTrayTip() {
    trayIcon_->setToolTip(ShownTip(TrayIconData.tip));
}

QString frmMain::BuildTip(const QString& text) const {
    return withTrail("BuildTip&", [&] {
        const QChar nul(u'\0');
        return InstanceTag.isEmpty() ? text + nul
                                     : InstanceTag + QStringLiteral(" - ") + text + nul;
    });
}

QString frmMain::ShownTip(const QString& tipField) {
    const qsizetype end = tipField.indexOf(QChar(u'\0'));
    return end < 0 ? tipField : tipField.left(end);
}

// ---- Status and details

void frmMain::UpdateStatus(QString& newStatus, bool showTime) {
    withTrail("UpdateStatus&", [&] {
        if (showTime)
            newStatus += u' ' + DateFormat::TimeAmPm(Clock::current().now());
        const QString suffix =
            RoundHalfEven(LeadingNumber(CounterCaption())) == 1 ? QString() : QStringLiteral("s");
        auto* line = new QListWidgetItem(newStatus);
        line->setSizeHint(ui_.historyLineSize());
        ui_.lstHistory->insertItem(0, line);
        while (ui_.lstHistory->count() > HistoryLines)
            delete ui_.lstHistory->takeItem(ui_.lstHistory->count() - 1);
        if (ScrollStatus) {
            SetTopIndex(1);
            if (ui_.lstHistory->isVisible())
                ui_.lstHistory->repaint();
        }
        SetTopIndex(0);
        TrayIconData.tip = TipField(BuildTip(CounterCaption() + QStringLiteral("count") + suffix +
                                             QStringLiteral(" - ") + newStatus));
        if (UseTrayIcon)
            SetTrayTip();
        UpdateDetails();
    });
}

void frmMain::SetTopIndex(int line) {
    QListWidget* list = ui_.lstHistory;
    if (line >= list->count())
        return;
    // Laying out every line again for each new one would make each status cost more than the
    // last; the lines are of one size, so the scroll range is known without a layout.
    QScrollBar* bar = list->verticalScrollBar();
    if (bar->maximum() < line)
        bar->setRange(0, list->count() - 1);
    bar->setValue(line);
}

void frmMain::UpdateDetails() {
    withTrail("UpdateDetails&", [&] {
        ui_.lblUptime->setText(QStringLiteral("I've been running for ") + UpTimeString());
        ui_.lblTotalCount->setText(UpCountSinceStart == 1
                                       ? QStringLiteral("I've counted up once since starting.")
                                       : QStringLiteral("I've counted up %1 times since starting.")
                                             .arg(UpCountSinceStart));
        ui_.lblTotalDownCount->setText(
            DownCountSinceStart == 1 ? QStringLiteral("I've counted down once since starting.")
                                     : QStringLiteral("I've counted down %1 times since starting.")
                                           .arg(DownCountSinceStart));
    });
}

void frmMain::ClearHistory() {
    ui_.lstHistory->clear();
}

void frmMain::lstHistory_GotFocus() {
    ReportingHandler("lstHistory_GotFocus&", "processing got focus event")
        .run({
            [&] {
                if (ui_.lstHistory->currentRow() >= 0 ||
                    !ui_.lstHistory->selectedItems().isEmpty()) {
                    ui_.lstHistory->clearSelection();
                    ui_.lstHistory->setCurrentRow(-1);
                }
            },
            [&] { ui_.txtFocusHolder->setFocus(); },
        });
}

// ---- Counts and icons

QString frmMain::CounterCaption() const {
    return ui_.lblCounter->text();
}

void frmMain::SetCounterCaption(const QString& caption) {
    ui_.lblCounter->setText(caption);
}

QString frmMain::SensorCounterCaption(int index) const {
    if (index < 0 || index > 2)
        throw RuntimeError::of(err::SubscriptOutOfRange);
    return ui_.lblSensorCounter[std::size_t(index)]->text();
}

void frmMain::SetSensorCounterCaption(int index, const QString& caption) {
    if (index < 0 || index > 2)
        throw RuntimeError::of(err::SubscriptOutOfRange);
    ui_.lblSensorCounter[std::size_t(index)]->setText(caption);
}

QLabel* frmMain::iconLabel(Icon icon) const {
    switch (icon) {
    case Icon::DSRTrigger:
        return ui_.imgDSRTrigger;
    case Icon::CTSTrigger:
        return ui_.imgCTSTrigger;
    case Icon::DCDTrigger:
        return ui_.imgDCDTrigger;
    case Icon::DSRDebounce:
        return ui_.imgDSRDebounce;
    case Icon::CTSDebounce:
        return ui_.imgCTSDebounce;
    case Icon::DCDDebounce:
        return ui_.imgDCDDebounce;
    case Icon::LogToDatabase:
        return ui_.imgLogToDatabase;
    case Icon::Mute:
        return ui_.imgMute;
    }
    throw RuntimeError::of(err::InvalidProcedureCall);
}

bool frmMain::IconVisible(Icon icon) const {
    return !iconLabel(icon)->isHidden();
}

void frmMain::SetIconVisible(Icon icon, bool visible) {
    iconLabel(icon)->setVisible(visible);
}

// ---- Switches

bool frmMain::Muted() const {
    return ui_.mnuToolsMute->isChecked();
}

void frmMain::ToggleMute() {
    withTrail("ToggleMute&", [&] {
        ui_.mnuToolsMute->setChecked(!ui_.mnuToolsMute->isChecked());
        ui_.imgMute->setVisible(ui_.mnuToolsMute->isChecked());
    });
}

void frmMain::SetKeepOnTop() {
    withTrail("SetKeepOnTop&", [&] {
        const bool onTop = ui_.mnuViewKeepOnTop->isChecked();
        if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
            // Changing the flag takes the window off the screen; a shown one comes back.
            const bool shown = isVisible();
            setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
            if (shown)
                show();
        }
        SetRegSetting(settings::KeepOnTop, onTop ? QStringLiteral("1") : QStringLiteral("0"),
                      RegistryHive);
    });
}

void frmMain::SetViewDetails() {
    withTrail("SetViewDetails&", [&] {
        ui_.setHeight(this, ui_.mnuViewDetails->isChecked() ? frmMainUi::DetailsHeight
                                                            : frmMainUi::CompactHeight);
    });
}

void frmMain::SetSoundSelector() {
    withTrail("SetSoundSelector&", [&] {
        const bool on = ui_.mnuViewSoundSelector->isChecked();
        ui_.fraSoundSelector->setVisible(on);
        SetRegSetting(settings::SoundSelector, on ? QStringLiteral("1") : QStringLiteral("0"),
                      RegistryHive);
    });
}

// ---- Event procedures

namespace {
constexpr const char* MenuClick = "processing menu click";
} // namespace

void frmMain::mnuFileHide_Click() {
    ReportingHandler("mnuFileHide_Click&", "processing file menu click").run([&] {
        HideForm(true);
    });
}

void frmMain::mnuFileExit_Click() {
    ReportingHandler("mnuFileExit_Click&", MenuClick).run([&] { Unload(); });
}

void frmMain::mnuViewKeepOnTop_Click() {
    ReportingHandler("mnuViewKeepOnTop_Click&", MenuClick)
        .run({
            [&] { ui_.mnuViewKeepOnTop->setChecked(!ui_.mnuViewKeepOnTop->isChecked()); },
            [&] { SetKeepOnTop(); },
        });
}

void frmMain::mnuViewSoundSelector_Click() {
    ReportingHandler("mnuViewSoundSelector_Click&", MenuClick)
        .run({
            [&] { ui_.mnuViewSoundSelector->setChecked(!ui_.mnuViewSoundSelector->isChecked()); },
            [&] { SetSoundSelector(); },
        });
}

void frmMain::mnuViewStatusBar_Click() {
    ReportingHandler("mnuViewStatusBar_Click&", MenuClick)
        .run({
            [&] { ui_.mnuViewStatusBar->setChecked(!ui_.mnuViewStatusBar->isChecked()); },
            [&] { ui_.fraStatus->setVisible(ui_.mnuViewStatusBar->isChecked()); },
        });
}

void frmMain::mnuViewDetails_Click() {
    ReportingHandler("mnuViewDetails_Click&", MenuClick)
        .run({
            [&] { ui_.mnuViewDetails->setChecked(!ui_.mnuViewDetails->isChecked()); },
            [&] { SetViewDetails(); },
        });
}

void frmMain::mnuViewReports_Click() {
    const QString folder = App::Path();
    QString tagPart;
    int result = 0;
    ReportingHandler("mnuViewReports_Click&", MenuClick)
        .run({
            [&] {
                if (DoesFileExist(folder + u'/' + ReportsProgram, 0))
                    return Flow::Next;
                Message(ReportsProblem + u'\n' +
                            QStringLiteral("I can't find the reports application") + u'\n' +
                            QStringLiteral("Try running the program manually."),
                        platform::style::SystemModal + platform::style::Exclamation, ReportsTitle);
                return Flow::Leave;
            },
            [&] {
                if (!InstanceTag.isEmpty())
                    tagPart = QStringLiteral(",TAG=") + InstanceTag;
            },
            [&] {
                QString fileName = QStringLiteral("/data.hbd");
                result = platform::Shell::current().ShellExecute(
                    this, QStringLiteral("open"), ReportsProgram,
                    QStringLiteral("datapath=") + GetDataPath(fileName) + tagPart, folder,
                    ShowNormal);
            },
            [&] {
                if (result > 32)
                    return;
                Message(ReportsProblem + u'\n' + QStringLiteral("Error code: ") +
                            QString::number(result) + u'\n' +
                            QStringLiteral("Try running the file: ") + folder + u'/' +
                            ReportsProgram + QStringLiteral(" manually"),
                        platform::style::SystemModal + platform::style::Exclamation, ReportsTitle);
            },
        });
}

void frmMain::mnuToolsReset_Click() {
    ReportingHandler("mnuToolsReset_Click&", MenuClick).run([&] { ResetCounter(); });
}

void frmMain::mnuToolsMute_Click() {
    ReportingHandler("mnuToolsMute_Click&", MenuClick).run([&] { ToggleMute(); });
}

void frmMain::mnuToolsOptions_Click() {
    ReportingHandler("mnuToolsOptions_Click&", MenuClick).run([&] {
        ShowModeless(options_, [&] { return new frmOptions(engine_, logger_, *this, this); });
    });
}

void frmMain::mnuToolsShow_Click() {
    ReportingHandler("mnuToolsShow_Click&", MenuClick).run([&] { HideForm(false); });
}

void frmMain::mnuToolsClose_Click() {
    ReportingHandler("mnuToolsClose_Click()&", MenuClick).run([&] { exitRequested_ = true; });
}

void frmMain::mnuHelpContents_Click() {
    HelpKey::OpenGuide(this);
}

void frmMain::mnuHelpAbout_Click() {
    ReportingHandler("mnuHelpAbout_Click&", MenuClick).run([&] {
        ShowModeless(about_,
                     [&] { return new frmAbout(frmAbout::AddressLookup::ProgramHive, this); });
    });
}

void frmMain::mnuSoundPopMute_Click() {
    ReportingHandler("mnuSoundPopMute_Click&", "processing popup menu click").run([&] {
        ToggleMute();
    });
}

void frmMain::mnuPopReset_Click() {
    ReportingHandler("mnuPopReset_Click&", "processing popup menu click").run([&] {
        ResetCounter();
    });
}

void frmMain::imgMute_Click() {
    ReportingHandler("imgMute_Click&", "processing mouse click event").run([&] { ToggleMute(); });
}

void frmMain::imgLogToDatabase_Click() {
    ReportingHandler("imgLogToDatabase_Click&", "processing mouse click").run([&] {
        logger_.SetLogToDatabase(!logger_.LogToDatabase());
    });
}

void frmMain::lblCounter_DblClick() {
    ReportingHandler("lblCounter_DblClick&", "processing mouse double click").run([&] {
        ResetCounter();
    });
}

void frmMain::lblCounter_MouseDown(Qt::MouseButton button) {
    ReportingHandler("lblCounter_MouseDown&", "processing mouse down event").run([&] {
        if (button == Qt::RightButton)
            ui_.mnuCounterPop->exec(QCursor::pos());
    });
}

void frmMain::fraSoundSelector_MouseDown(Qt::MouseButton button) {
    ReportingHandler("fraSoundSelector_MouseDown&", "processing mouse down event").run([&] {
        if (button == Qt::RightButton)
            ui_.mnuSoundPop->exec(QCursor::pos());
    });
}

// ---- The engine, the logger and the other windows

void frmMain::ResetCounter() {
    engine_.ResetCounter();
}

void frmMain::CheckForClockChange() {
    logger_.CheckForClockChange();
}

void frmMain::LogTrigger(std::int16_t sensorNumber, bool countUp, DateValue when) {
    logger_.LogTrigger(sensorNumber, countUp, when);
}

void frmMain::ShowClockWarning() {
    frmClockWarning::ShowModeless();
}

frmInterface& frmMain::portDialog() {
    if (!portDialog_)
        portDialog_ = new frmInterface(comPort_, this);
    return *portDialog_;
}

void frmMain::ShowPortDialog() {
    portDialog().exec();
}

void frmMain::SetPortDialogMessage(const QString& text) {
    portDialog().SetMessage(text);
}

frmOptions* frmMain::loadedOptions() const {
    return options_ && options_->isVisible() ? options_.data() : nullptr;
}

void frmMain::UpdateOptionsForm(const QString& portText) {
    if (frmOptions* options = loadedOptions())
        options->UpdateInterfaceStatus(portText);
}

void frmMain::UnloadOptionsWindow() {
    if (frmOptions* options = loadedOptions())
        options->close();
}

void frmMain::ShowManualWindow() {
    if (!manual_) {
        manual_ = new frmManual(engine_, this);
        manual_->setAttribute(Qt::WA_DeleteOnClose);
    }
    manual_->show();
}

void frmMain::UnloadManualWindow() {
    if (manual_)
        manual_->close();
}

void frmMain::Beep() {
    QApplication::beep();
}

void frmMain::UnloadMainWindow() {
    Unload();
}

void frmMain::LetEventsRun() {
    QCoreApplication::processEvents();
}

} // namespace brantock::counter
