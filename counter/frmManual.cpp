#include "counter/frmManual.h"

#include "counter/core/CounterState.h"
#include "counter/core/CounterWindow.h"
#include "counter/core/TriggerEngine.h"
#include "foundation/ReportingHandler.h"
#include "platform/ui/DesignFont.h"

#include <QCloseEvent>
#include <qdrawutil.h>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace brantock::counter {

frmManual::frmManual(TriggerEngine& engine, QWidget* mainWindow)
    : QWidget(nullptr), engine_(engine), mainWindow_(mainWindow) {
    ui_.setupUi(this);
    for (QPushButton* button : {ui_.cmdTrigger, ui_.cmdTrigger2, ui_.cmdTrigger3}) {
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, &frmManual::cmdTrigger_Click);
    }
    connect(ui_.cmdClose, &QPushButton::clicked, this, &frmManual::cmdClose_Click);
    connect(ui_.timfollow, &QTimer::timeout, this, &frmManual::timfollow_Timer);
}

void frmManual::showEvent(QShowEvent* e) {
    if (!loaded_)
        Form_Load();
    QWidget::showEvent(e);
}

void frmManual::paintEvent(QPaintEvent* e) {
    // The dialog border the window system leaves out with the title bar.
    QPainter painter(this);
    qDrawWinPanel(&painter, rect(), palette(), false);
    QWidget::paintEvent(e);
}

void frmManual::Form_Load() {
    loaded_ = true;
    dock();
    ui_.lblExplanation->setText(
        QStringLiteral("This mode allows you to operate Brantock without having a sensor or "
                       "switch attached. \r\n\r\nClick one of the three 'Trigger' buttons to "
                       "trigger the counter."));
    // The text comes only now, so the design font is fitted to it here.
    DesignFont::fit(this, {ui_.lblExplanation});
    ui_.timfollow->start();
}

void frmManual::dock() {
    if (!mainWindow_)
        return;
    const QRect main = mainWindow_->frameGeometry();
    const int frameWidth = frameGeometry().width() - width();
    resize(std::max(main.width() - frameWidth, 1), height());
    move(main.left(), main.top() + main.height());
}

void frmManual::timfollow_Timer() {
    if (!mainWindow_ || mainWindow_->isMinimized() || !mainWindow_->isVisible())
        return;
    dock();
}

bool frmManual::eventFilter(QObject* watched, QEvent* e) {
    const auto type = e->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, e);
    if (static_cast<QMouseEvent*>(e)->button() != Qt::LeftButton)
        return false;
    // A double click's second press comes as the double click.
    const bool down = type != QEvent::MouseButtonRelease;
    const qint64 at = eventTime_.at(*static_cast<QMouseEvent*>(e));
    if (watched == ui_.cmdTrigger)
        engine_.ManualTriggerAt(1, down, at);
    else if (watched == ui_.cmdTrigger2)
        engine_.ManualTriggerAt(2, down, at);
    else if (watched == ui_.cmdTrigger3)
        engine_.ManualTriggerAt(3, down, at);
    return false;
}

void frmManual::cmdTrigger_Click() {
    if (mainWindow_)
        mainWindow_->activateWindow();
}

bool frmManual::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(e);
}

void frmManual::Form_Activate() {
    ReportingHandler("Form_Activate&", "showing screen").run([] {
        CounterWindow::current().UnloadOptionsWindow();
    });
}

void frmManual::cmdClose_Click() {
    close();
}

void frmManual::closeEvent(QCloseEvent* e) {
    ui_.timfollow->stop();
    loaded_ = false;
    Form_Unload();
    e->accept();
}

void frmManual::Form_Unload() {
    try {
        if (ManualTriggerMode)
            CounterWindow::current().UnloadMainWindow();
    } catch (const std::exception&) {
        // Errors are ignored here: the window closes whatever happens.
    }
}

} // namespace brantock::counter
