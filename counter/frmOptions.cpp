#include "counter/frmOptions.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/CounterWindow.h"
#include "counter/core/DataLogger.h"
#include "counter/core/modMain.h"
#include "counter/core/OptionsChoice.h"
#include "counter/core/TriggerEngine.h"
#include "datafile_dialog/frmSelectData.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/ReportingHandler.h"
#include "foundation/StartupEntry.h"
#include "runtime/RuntimeError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brantock::counter {

namespace {

constexpr int Backspace = 8;
constexpr int Point = 46;
constexpr const char* MouseClick = "processing mouse click";

// A check box's value: 0 unchecked, 1 checked, 2 grayed.
int value(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    default:
        return 2;
    }
}

void setValue(QCheckBox* box, int v) {
    if (v < 0 || v > 2)
        throw RuntimeError::of(err::InvalidPropertyValue);
    box->setCheckState(v == 0 ? Qt::Unchecked : v == 1 ? Qt::Checked : Qt::PartiallyChecked);
}

// Selects a list's entry by position; -1 selects none, and a position the list does not
// have is refused as the list's own property would refuse it.
void setListIndex(QComboBox* list, std::int32_t index) {
    if (index < -1 || index >= list->count())
        throw RuntimeError::of(err::InvalidPropertyValue);
    list->setCurrentIndex(int(index));
}

QString oneOrZero(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

frmOptions::frmOptions(TriggerEngine& engine, DataLogger& logger, CounterWindow& owner,
                       QWidget* ownerWindow)
    : QDialog(ownerWindow), engine_(engine), logger_(logger), owner_(owner) {
    ui_.setupUi(this);
    connectControls();
    Form_Load();
}

void frmOptions::connectControls() {
    const std::pair<QComboBox*, void (frmOptions::*)()> lists[] = {
        {ui_.cboEdge, &frmOptions::cboEdge_Click},
        {ui_.cboNormallyOpen, &frmOptions::cboNormallyOpen_Click},
        {ui_.cboSensor2, &frmOptions::cboSensor2_Click},
        {ui_.cboSensor3, &frmOptions::cboSensor3_Click},
    };
    for (const auto& [list, handler] : lists)
        connect(list, &QComboBox::currentIndexChanged, this, handler);

    const std::pair<QCheckBox*, void (frmOptions::*)()> boxes[] = {
        {ui_.chkStartMin, &frmOptions::chkStartMin_Click},
        {ui_.chkRunOnStartup, &frmOptions::chkRunOnStartup_Click},
        {ui_.chkReset, &frmOptions::chkReset_Click},
        {ui_.chkLog, &frmOptions::chkLog_Click},
        {ui_.chkScrollStatus, &frmOptions::chkScrollStatus_Click},
        {ui_.chkMinToTray, &frmOptions::chkMinToTray_Click},
    };
    for (const auto& [box, handler] : boxes)
        connect(box, &QCheckBox::stateChanged, this, [this, box = box, handler = handler] {
            // Grayed is a stored state the user cannot choose: a click leaves it for good.
            box->setTristate(box->checkState() == Qt::PartiallyChecked);
            (this->*handler)();
        });

    connect(ui_.txtDebounceTime, &QLineEdit::textChanged, this,
            &frmOptions::txtDebounceTime_Change);
    ui_.txtDebounceTime->installEventFilter(this);
    connect(ui_.cmdSelectPort, &QPushButton::clicked, this, &frmOptions::cmdSelectPort_Click);
    connect(ui_.cmdChangeDataPath, &QPushButton::clicked, this,
            &frmOptions::cmdChangeDataPath_Click);
    connect(ui_.cmdClose, &QPushButton::clicked, this, &frmOptions::cmdClose_Click);
}

void frmOptions::Form_Load() {
    ReportingHandler("Options Form_Load&", "loading options form")
        .run({
            [&] {
                ui_.txtDebounceTime->setText(OptionsChoice::LockoutText(
                    GetRegSetting(settings::DebounceTimeOffered, RegistryHive)));
            },
            [&] {
                setListIndex(ui_.cboEdge,
                             GetRegBoolean(settings::SelectedEdge, RegistryHive) ? 1 : 0);
            },
            [&] {
                setValue(ui_.chkMinToTray, GetRegCheckBox(settings::UseTrayIcon, RegistryHive));
            },
            [&] {
                setValue(ui_.chkStartMin, GetRegCheckBox(settings::StartMinimized, RegistryHive));
            },
            [&] { setValue(ui_.chkLog, logger_.LogToDatabase() ? 1 : 0); },
            [&] { setValue(ui_.chkReset, GetRegCheckBox(settings::DailyReset, RegistryHive)); },
            [&] {
                setValue(ui_.chkScrollStatus, GetRegCheckBox(settings::ScrollStatus, RegistryHive));
            },
            // Known before the list is set, so that the load hides no indicator.
            [&] { OriginalNormallyOpen = GetRegBoolean(settings::NormallyOpen, RegistryHive); },
            [&] { setListIndex(ui_.cboNormallyOpen, OriginalNormallyOpen ? 1 : 0); },
            [&] { setListIndex(ui_.cboSensor2, engine_.SecondTriggerUse()); },
            [&] { setListIndex(ui_.cboSensor3, engine_.ThirdTriggerUse()); },
            [&] {
                setValue(ui_.chkRunOnStartup,
                         StartupEntry::Starts(OptionsChoice::ProgramPath()) ? 1 : 0);
            },
            [&] { UpdateInterfaceStatus(GetPortNumberString()); },
            [&] {
                QString fileName = QStringLiteral("/data.hbd");
                ui_.txtDataPath->setText(GetDataPath(fileName));
            },
        });
}

void frmOptions::UpdateInterfaceStatus(const QString& portText) {
    ReportingHandler("UpdateInterfaceStatus&").run([&] {
        ui_.lblComPort->setText(OptionsChoice::InterfaceStatus(portText));
    });
}

// ---- The sensor interface

void frmOptions::cboEdge_Click() {
    const int position = ui_.cboEdge->currentIndex();
    ReportingHandler("cboEdge_Click&", MouseClick)
        .run({
            [&] { SetRegSetting(settings::SelectedEdge, QString::number(position), RegistryHive); },
            [&] { SelectedEdge = position != 0; },
        });
}

void frmOptions::cboNormallyOpen_Click() {
    bool open = false;
    ReportingHandler("cboNormallyOpen_Click&", MouseClick)
        .run({
            [&] {
                open = ui_.cboNormallyOpen->currentIndex() == 1;
                SetRegBoolean(settings::NormallyOpen, open, RegistryHive);
            },
            [&] { engine_.SetNormallyOpen(open); },
            [&] {
                if (open == OriginalNormallyOpen)
                    return;
                for (const auto icon :
                     {CounterWindow::Icon::DSRTrigger, CounterWindow::Icon::CTSTrigger,
                      CounterWindow::Icon::DCDTrigger})
                    owner_.SetIconVisible(icon, false);
                OriginalNormallyOpen = open;
                // A normally-open switch goes with the leading edge, a closed one with the
                // trailing edge; the edge's handler stores it.
                setListIndex(ui_.cboEdge, open ? 1 : 0);
            },
        });
}

void frmOptions::txtDebounceTime_KeyPress(int& KeyAscii) {
    ReportingHandler("txtDebounceTime_KeyPress&", "processing key stroke").run([&] {
        const bool digit = KeyAscii >= '0' && KeyAscii <= '9';
        if (!digit && KeyAscii != Backspace && KeyAscii != Point) {
            owner_.Beep();
            KeyAscii = 0;
        }
    });
}

void frmOptions::txtDebounceTime_Change() {
    QLineEdit* box = ui_.txtDebounceTime;
    OptionsChoice::Lockout lockout;
    ReportingHandler("txtDebounceTime_Change&", "processing change to time delay")
        .run({
            [&] { lockout = OptionsChoice::ReadLockout(box->text()); },
            [&] {
                if (!lockout.refused)
                    return Flow::Next;
                // No timer takes a negative time: the box shows the time in force again.
                owner_.Beep();
                box->setText(OptionsChoice::LockoutText(
                    QString::number(engine_.timDSRdebounce().interval())));
                return Flow::Leave;
            },
            [&] {
                // The corrected text runs this handler again with the value it shows.
                if (!lockout.correctedText.isNull()) {
                    box->setText(lockout.correctedText);
                    box->end(false);
                }
            },
            [&] { engine_.ApplyLockoutTime(lockout.milliseconds); },
            [&] {
                SetRegSetting(settings::DebounceTime,
                              OptionsChoice::MillisecondsText(lockout.milliseconds), RegistryHive);
            },
        });
}

// ---- The additional sensors: their properties handle their own errors

void frmOptions::cboSensor2_Click() {
    engine_.SetSecondTriggerUse(ui_.cboSensor2->currentIndex());
}

void frmOptions::cboSensor3_Click() {
    engine_.SetThirdTriggerUse(ui_.cboSensor3->currentIndex());
}

// ---- Counter and application settings

void frmOptions::chkStartMin_Click() {
    ReportingHandler("chkStartMin_Click&").run([&] {
        SetRegSetting(settings::StartMinimized, QString::number(value(ui_.chkStartMin)),
                      RegistryHive);
    });
}

void frmOptions::chkRunOnStartup_Click() {
    ReportingHandler("chkRunOnStartup_Click&", MouseClick).run([&] {
        // A refused write leaves the box as the user set it, without a message.
        if (value(ui_.chkRunOnStartup) == 1)
            StartupEntry::Write(OptionsChoice::ProgramPath());
        else
            StartupEntry::Remove();
    });
}

void frmOptions::chkReset_Click() {
    ReportingHandler("chkReset_Click&", MouseClick)
        .run({
            [&] { DailyReset = value(ui_.chkReset) == 1; },
            [&] { SetRegSetting(settings::DailyReset, oneOrZero(DailyReset), RegistryHive); },
        });
}

void frmOptions::chkScrollStatus_Click() {
    ReportingHandler("chkScrollStatus_Click&", MouseClick)
        .run({
            [&] { ScrollStatus = value(ui_.chkScrollStatus) == 1; },
            [&] { SetRegSetting(settings::ScrollStatus, oneOrZero(ScrollStatus), RegistryHive); },
        });
}

void frmOptions::chkLog_Click() {
    ReportingHandler("chkLog_Click&", MouseClick).run([&] {
        logger_.SetLogToDatabase(value(ui_.chkLog) == 1);
    });
}

void frmOptions::chkMinToTray_Click() {
    ReportingHandler("chkMinToTray_Click&", MouseClick)
        .run({
            [&] { UseTrayIcon = value(ui_.chkMinToTray) == 1; },
            [&] {
                if (UseTrayIcon) {
                    owner_.AddTrayIcon();
                    return;
                }
                // A window hidden in the tray would be out of reach without its icon.
                parentWidget()->setVisible(true);
                owner_.DeleteTrayIcon();
            },
            [&] { SetRegSetting(settings::UseTrayIcon, oneOrZero(UseTrayIcon), RegistryHive); },
        });
}

// ---- The port, the data file and closing

void frmOptions::cmdSelectPort_Click() {
    ReportingHandler("cmdSelectPort_Click&").run([&] { owner_.ShowPortDialog(); });
}

void frmOptions::cmdChangeDataPath_Click() {
    ReportingHandler("cmdChangeDataPath_Click&")
        .run({
            [&] {
                frmSelectData dialog(true, this);
                dialog.exec();
            },
            [&] {
                QString fileName = QStringLiteral("/data.hbd");
                ui_.txtDataPath->setText(GetDataPath(fileName));
            },
        });
}

void frmOptions::cmdClose_Click() {
    RunIgnoringErrors({[&] { close(); }});
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ui_.txtDebounceTime || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // Moving the focus, moving the caret and deleting forward type no character.
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
        key->key() == Qt::Key_Delete || key->text().isEmpty())
        return false;
    int KeyAscii = key->text().at(0).unicode();
    txtDebounceTime_KeyPress(KeyAscii);
    if (KeyAscii == 0)
        return true;
    const QLineEdit* box = ui_.txtDebounceTime;
    return KeyAscii != Backspace &&
           box->text().size() - box->selectedText().size() >= LockoutTypedLength;
}

} // namespace brantock::counter
