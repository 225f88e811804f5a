#include "counter/frmInterfaceUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace brantock::counter {

void frmInterfaceUi::setupUi(QDialog* form) {
    form->setWindowTitle(QStringLiteral("Brantock - Select interface"));
    form->setModal(true);
    form->setFixedSize(Twips::toPixels(4935), Twips::toPixels(2505));

    Label4 = FormControls::label(form, QStringLiteral("Sensor Interface"), 240, 300, 1335, 255);
    cmbPort = new QComboBox(form);
    cmbPort->setEditable(true);
    // A typed text stays a text: it is never added to the list.
    cmbPort->setInsertPolicy(QComboBox::NoInsert);
    cmbPort->setGeometry(Twips::rect(1620, 240, 3075, 315));
    cmbPort->setToolTip(QStringLiteral("The com port that Brantock is connected to"));
    lblMessage = FormControls::label(form, QString(), 240, 780, 4455, 1005);
    // The message line shows typed text back, which must not be read as markup.
    lblMessage->setTextFormat(Qt::PlainText);
    cmdCancel = FormControls::button(form, QStringLiteral("&Cancel"), 240, 1920, 1215, 375);
    cmdOK = FormControls::button(form, QStringLiteral("&OK"), 3480, 1920, 1215, 375);
    cmdOK->setDefault(true);
    QWidget::setTabOrder(cmbPort, cmdOK);
    QWidget::setTabOrder(cmdOK, cmdCancel);
    DesignFont::fit(form, {Label4});
}

} // namespace brantock::counter
