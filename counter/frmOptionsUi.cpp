#include "counter/frmOptionsUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace brantock::counter {

namespace {

const QString LockoutTip =
    QStringLiteral("Time delay before a second trigger is counted (in seconds)");

QGroupBox* frame(QWidget* parent, const QString& caption, int left, int top, int width,
                 int height) {
    auto* f = new QGroupBox(caption, parent);
    f->setGeometry(Twips::rect(left, top, width, height));
    return f;
}

// A drop-down list that takes only its entries, with none selected.
QComboBox* list(QWidget* parent, const QStringList& entries, int left, int top, int width) {
    auto* l = new QComboBox(parent);
    l->setEditable(false);
    l->addItems(entries);
    l->setCurrentIndex(-1);
    l->setGeometry(Twips::rect(left, top, width, 315));
    return l;
}

QCheckBox* check(QWidget* parent, const QString& caption, bool checked, int top,
                 const QString& tip = QString()) {
    auto* c = new QCheckBox(caption, parent);
    c->setChecked(checked);
    c->setGeometry(Twips::rect(240, top, 2445, 255));
    c->setToolTip(tip);
    return c;
}

} // namespace

void frmOptionsUi::setupUi(QDialog* form) {
    form->setWindowTitle(QStringLiteral("Options"));
    form->setModal(false);
    form->setFixedSize(Twips::toPixels(5955), Twips::toPixels(6555));

    fraSensorSettings =
        frame(form, QStringLiteral("Sensor interface settings"), 120, 60, 5715, 2175);
    Label2 =
        FormControls::label(fraSensorSettings, QStringLiteral("Interface"), 240, 375, 1575, 255);
    lblComPort = FormControls::label(fraSensorSettings, QStringLiteral("Not specified"), 1920, 375,
                                     1815, 255);
    cmdSelectPort = FormControls::button(fraSensorSettings, QStringLiteral("Change interface"),
                                         3840, 300, 1695, 375);
    Label6 =
        FormControls::label(fraSensorSettings, QStringLiteral("Trigger edge"), 240, 840, 1575, 255);
    cboEdge = list(fraSensorSettings, {QStringLiteral("trailing"), QStringLiteral("leading")}, 1920,
                   780, 1815);
    Label5 = FormControls::label(fraSensorSettings, QStringLiteral("Switch is normally"), 240, 1260,
                                 1575, 255);
    cboNormallyOpen = list(fraSensorSettings, {QStringLiteral("closed"), QStringLiteral("open")},
                           1920, 1200, 1815);
    Label1 = FormControls::label(fraSensorSettings, QStringLiteral("Wait"), 240, 1740, 495, 255);
    Label1->setToolTip(LockoutTip);
    txtDebounceTime = new QLineEdit(QStringLiteral("0"), fraSensorSettings);
    txtDebounceTime->setGeometry(Twips::rect(780, 1680, 735, 315));
    txtDebounceTime->setToolTip(LockoutTip);
    Label3 = FormControls::label(fraSensorSettings,
                                 QStringLiteral("second(s) before accepting another count"), 1620,
                                 1740, 3915, 255);
    Label3->setToolTip(LockoutTip);

    fraAdditionalSensors = frame(form, QStringLiteral("Additional sensors"), 120, 2340, 5715, 1215);
    const QStringList uses = {QStringLiteral("Not used"), QStringLiteral("Counts down"),
                              QStringLiteral("Add to main count")};
    lblSecondSensor =
        FormControls::label(fraAdditionalSensors, QStringLiteral("Sensor 2"), 240, 375, 1575, 255);
    cboSensor2 = list(fraAdditionalSensors, uses, 1920, 315, 2415);
    Label4 =
        FormControls::label(fraAdditionalSensors, QStringLiteral("Sensor 3"), 240, 795, 1575, 255);
    cboSensor3 = list(fraAdditionalSensors, uses, 1920, 735, 2415);

    fraPreferences = frame(form, QStringLiteral("Counter settings"), 120, 3660, 2805, 1455);
    chkStartMin = check(fraPreferences, QStringLiteral("Start minimized"), false, 300);
    chkRunOnStartup = check(fraPreferences, QStringLiteral("Run at start-up"), false, 570);
    chkReset = check(fraPreferences, QStringLiteral("Reset counter each day"), true, 840);
    chkLog =
        check(fraPreferences, QStringLiteral("Store results in database"), true, 1110,
              QStringLiteral("Check to record all triggers in a database file for reporting."));

    fraApplication = frame(form, QStringLiteral("Application settings"), 3030, 3660, 2805, 1455);
    chkScrollStatus = check(fraApplication, QStringLiteral("Scroll status bar"), true, 300,
                            QStringLiteral("Turn the status bar scrolling effect on or off"));
    chkMinToTray = check(fraApplication, QStringLiteral("Show system tray icon"), true, 570,
                         QStringLiteral("Just show tray icon when the application is minimised"));

    fraDataFile = frame(form, QStringLiteral("Data file"), 120, 5220, 5715, 735);
    txtDataPath = new QLineEdit(fraDataFile);
    txtDataPath->setGeometry(Twips::rect(240, 300, 4815, 315));
    // It only shows the data file; the dialog behind "..." changes it.
    txtDataPath->setReadOnly(true);
    cmdChangeDataPath =
        FormControls::button(fraDataFile, QStringLiteral("..."), 5160, 285, 420, 345);
    cmdChangeDataPath->setToolTip(QStringLiteral("Click to change data file"));

    cmdClose = FormControls::button(form, QStringLiteral("&Close"), 4620, 6060, 1215, 375);

    QWidget::setTabOrder(cmdSelectPort, cboEdge);
    QWidget::setTabOrder(cboEdge, cboNormallyOpen);
    QWidget::setTabOrder(cboNormallyOpen, txtDebounceTime);
    QWidget::setTabOrder(txtDebounceTime, cboSensor2);
    QWidget::setTabOrder(cboSensor2, cboSensor3);
    QWidget::setTabOrder(cboSensor3, chkStartMin);
    QWidget::setTabOrder(chkStartMin, chkRunOnStartup);
    QWidget::setTabOrder(chkRunOnStartup, chkReset);
    QWidget::setTabOrder(chkReset, chkLog);
    QWidget::setTabOrder(chkLog, chkScrollStatus);
    QWidget::setTabOrder(chkScrollStatus, chkMinToTray);
    QWidget::setTabOrder(chkMinToTray, txtDataPath);
    QWidget::setTabOrder(txtDataPath, cmdChangeDataPath);
    QWidget::setTabOrder(cmdChangeDataPath, cmdClose);
    DesignFont::fit(form,
                    {Label2, lblComPort, Label6, Label5, Label1, Label3, lblSecondSensor, Label4});
}

} // namespace brantock::counter
