#include "counter/frmInterface.h"

#include "counter/core/CounterState.h"
#include "counter/core/CounterWindow.h"
#include "counter/core/InterfaceChoice.h"
#include "counter/core/modMain.h"
#include "foundation/ErrorHandler.h"
#include "foundation/ErrorsIgnored.h"
#include "foundation/modbrUtils.h"
#include "foundation/ReportingHandler.h"
#include "platform/dialogs/MessageBoxService.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace brantock::counter {

namespace {
using OkKind = InterfaceChoice::OkChoice::Kind;
using CancelKind = InterfaceChoice::CancelChoice::Kind;
} // namespace

frmInterface::frmInterface(platform::CommControl& comPort, QWidget* parent)
    : QDialog(parent), comPort_(comPort) {
    ui_.setupUi(this);

    connect(ui_.cmbPort, &QComboBox::activated, this, &frmInterface::cmbPort_Click);
    connect(ui_.cmdOK, &QPushButton::clicked, this, &frmInterface::cmdOK_Click);
    connect(ui_.cmdCancel, &QPushButton::clicked, this, &frmInterface::cmdCancel_Click);

    Form_Load();
}

frmInterface::~frmInterface() {
    if (loaded_)
        Form_Unload();
}

void frmInterface::Form_Load() {
    loaded_ = true;
    if (!ReportingHandler("frmInterface_load&").run([] { PortDialogOpen = true; }))
        Unload();
}

void frmInterface::Form_Unload() {
    loaded_ = false;
    PortDialogOpen = false;
}

void frmInterface::Unload() {
    done(result());
}

void frmInterface::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void frmInterface::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (!loaded_)
        Form_Load();
    // Activation follows the showing, so the window is up while the ports are scanned (and a
    // modal run has its loop by then).
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible())
                Form_Activate();
        },
        Qt::QueuedConnection);
}

void frmInterface::closeEvent(QCloseEvent* event) {
    if (event->spontaneous() && isVisible()) {
        event->ignore();
        cmdCancel_Click();
        return;
    }
    QDialog::closeEvent(event);
    if (event->isAccepted() && loaded_)
        Form_Unload();
}

void frmInterface::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmInterface::Form_Activate() {
    ReportingHandler("FormActivate&").run([&] { RefreshForm(); });
}

void frmInterface::SetMessage(const QString& text) {
    if (!loaded_)
        Form_Load();
    message_ = text;
    QString shown = text;
    ui_.lblMessage->setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void frmInterface::RefreshForm() {
    QString setting;
    if (!ReportingHandler("RefreshForm&")
             .run({
                 [&] { setting = GetPortNumberString(); },
                 [&] { ui_.cmbPort->clear(); },
             })) {
        Unload();
        return;
    }

    const InterfaceChoice::PortScan scan = InterfaceChoice::ScanPorts(comPort_, setting);
    ErrorsIgnored error;
    error.run([&] { ui_.cmbPort->addItems(scan.entries); });
    error.run([&] { SetMessage(scan.message); });
    error.run([&] {
        ui_.cmbPort->setCurrentIndex(ui_.cmbPort->findText(scan.text));
        ui_.cmbPort->setEditText(scan.text);
    });
    const int number = error.number() != 0 ? error.number() : scan.errorNumber;
    if (number == 0)
        return;
    const QString description = error.number() != 0 ? error.description() : scan.errorDescription;
    const QString answer = ErrorHandler::Current().HandleError(
        true, description, number, QStringLiteral("RefreshForm&"), QString(), QString());
    if (answer != answer::Retry && answer != answer::Continue)
        Unload();
}

void frmInterface::cmbPort_Click() {
    if (clickBusy_)
        return;
    QString text;
    const bool ran = ReportingHandler("cmbPort_Click&", "processing mouse click")
                         .run({
                             [&] { clickBusy_ = true; },
                             [&] { text = ui_.cmbPort->currentText(); },
                             [&] {
                                 const QString shown = InterfaceChoice::ClickedText(text);
                                 if (shown != text)
                                     ui_.cmbPort->setEditText(shown);
                             },
                             [&] { clickBusy_ = false; },
                         });
    if (!ran)
        clickBusy_ = false;
}

void frmInterface::cmdOK_Click() {
    const ReportingHandler handler("cmd_CloseClick&");
    InterfaceChoice::OkChoice choice;
    bool ran = handler.run([&] { choice = InterfaceChoice::ChooseOK(ui_.cmbPort->currentText()); });
    if (ran && choice.kind == OkKind::Manual) {
        ran = handler.run({
            [&] { SetPortNumber(InterfaceChoice::ManualEntry); },
            [&] { UpdateOptionsForm(InterfaceChoice::ManualEntry); },
            [&] { UpdateStatus(QStringLiteral("Switching to manual mode")); },
            [&] { Unload(); },
            [&] { CounterWindow::current().ShowManualWindow(); },
            [&] { ManualTriggerMode = true; },
        });
    } else if (ran && choice.kind == OkKind::Port) {
        const QString port = QString::number(choice.port);
        std::int16_t opened = 0;
        ran = handler.run({
            [&] { opened = OpenValidPort(comPort_, choice.port); },
            [&] {
                if (opened > 0)
                    return Flow::Next;
                // The message line keeps what the opening put there.
                ui_.cmbPort->setEditText(QString());
                return Flow::Leave;
            },
            [&] { UpdateOptionsForm(port); },
            [&] { SetPortNumber(port); },
            [&] { UpdateStatus(QStringLiteral("Opening Com ") + port); },
            [&] {
                if (ManualTriggerMode) {
                    ManualTriggerMode = false;
                    CounterWindow::current().UnloadManualWindow();
                }
            },
            [&] { Unload(); },
        });
    } else if (ran) {
        ran = handler.run([&] { SetMessage(choice.message); });
    }
    if (!ran)
        Unload();
}

void frmInterface::cmdCancel_Click() {
    const ReportingHandler handler("&cmdCancel_Click", "attempting to cancel");
    InterfaceChoice::CancelChoice choice;
    if (!handler.run([&] { choice = InterfaceChoice::ChooseCancel(comPort_); }))
        return;
    switch (choice.kind) {
    case CancelKind::StayManual:
        handler.run({
            [&] { UpdateOptionsForm(InterfaceChoice::ManualEntry); },
            [&] { UpdateStatus(QStringLiteral("Manual mode is active")); },
            [&] { Unload(); },
        });
        break;
    case CancelKind::Reopened: {
        const QString port = QString::number(choice.port);
        handler.run({
            [&] { UpdateOptionsForm(port); },
            [&] { UpdateStatus(QStringLiteral("Re-open Com ") + port); },
            [&] { Unload(); },
        });
        break;
    }
    case CancelKind::Failed:
        // Without a port the counter cannot count: it stops, and the next start asks again.
        handler.run({
            [&] {
                if (CountingStarted)
                    brantock::Message(QStringLiteral("I can't open Com %1. Please restart Brantock")
                                          .arg(GetPortNumber()),
                                      platform::style::Critical + platform::style::SystemModal,
                                      QStringLiteral("Can't open port"));
            },
            [&] { UpdateStatus(QStringLiteral("Failed to reopen port - restart required")); },
            [&] { SetPortNumber(QString()); },
            [&] { CounterWindow::current().UnloadMainWindow(); },
        });
        break;
    }
}

void frmInterface::UpdateOptionsForm(const QString& portText) {
    ReportingHandler("&UpdateOptionsForm", "updating the options form").run([&] {
        CounterWindow::current().UpdateOptionsForm(portText);
    });
}

void frmInterface::UpdateStatus(const QString& text) {
    QString status = text;
    CounterWindow::current().UpdateStatus(status, true);
}

} // namespace brantock::counter
