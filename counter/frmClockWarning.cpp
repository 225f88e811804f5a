#include "counter/frmClockWarning.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

namespace brantock::counter {

namespace {
QPointer<frmClockWarning> shown;
}

frmClockWarning::frmClockWarning() {
    ui_.setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // Key presses reach the window before its controls.
    installEventFilter(this);
    ui_.cmdClose->installEventFilter(this);
    connect(ui_.cmdClose, &QPushButton::clicked, this, &frmClockWarning::cmdClose_Click);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect client = rect();
        client.moveCenter(screen->availableGeometry().center());
        setGeometry(client);
    }
}

frmClockWarning& frmClockWarning::ShowModeless() {
    if (!shown)
        shown = new frmClockWarning;
    shown->show();
    shown->raise();
    shown->activateWindow();
    return *shown;
}

void frmClockWarning::cmdClose_Click() {
    close();
}

void frmClockWarning::Form_Click() {
    close();
}

void frmClockWarning::Form_KeyPress() {
    close();
}

bool frmClockWarning::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Tab moves the focus; it is no character typed.
        if (!key->text().isEmpty() && key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) {
            Form_KeyPress();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmClockWarning::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Form_Click();
    else
        QDialog::mouseReleaseEvent(event);
}

} // namespace brantock::counter
