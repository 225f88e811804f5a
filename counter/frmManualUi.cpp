#include "counter/frmManualUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace brantock::counter {

void frmManualUi::setupUi(QWidget* form) {
    // A fixed dialog border without caption text, icon, minimise or maximise button: no title
    // bar at all, so the window system has no caption to fill in with the program's name and
    // no buttons to add (the window draws its border itself). A tool window, so it has no
    // taskbar entry of its own.
    form->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint);
    form->setWindowTitle(QString());
    form->resize(Twips::toPixels(4470), Twips::toPixels(2070));
    form->setFixedHeight(Twips::toPixels(2070));

    Shape1 = new QFrame(form);
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setGeometry(Twips::rect(45, 45, 4380, 1425));
    Label2 = FormControls::label(form, QStringLiteral("Manual trigger mode"), 120, 90, 4230, 405);
    DesignFont::fitText(Label2, DesignFont::font(QStringLiteral("Arial"), 14.25, true),
                        Label2->text());
    lblExplanation = FormControls::label(form, QString(), 120, 570, 4230, 855);

    cmdTrigger = FormControls::button(form, QStringLiteral("Trigger 1"), 75, 1575, 870, 375);
    cmdTrigger2 = FormControls::button(form, QStringLiteral("Trigger 2"), 1020, 1575, 870, 375);
    cmdTrigger3 = FormControls::button(form, QStringLiteral("Trigger 3"), 1965, 1575, 870, 375);
    cmdClose = FormControls::button(form, QStringLiteral("Close"), 3540, 1575, 870, 375);
    QWidget::setTabOrder(cmdTrigger, cmdTrigger2);
    QWidget::setTabOrder(cmdTrigger2, cmdTrigger3);
    QWidget::setTabOrder(cmdTrigger3, cmdClose);

    timfollow = new QTimer(form);
    timfollow->setInterval(200);
}

} // namespace brantock::counter
