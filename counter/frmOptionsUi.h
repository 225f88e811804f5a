#pragma once

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace brantock::counter {

// The options window's frames and controls with their places, sizes, texts and tips, in
// their design state: the lists with nothing selected, the check boxes as designed.
class frmOptionsUi {
public:
    void setupUi(QDialog* form);

    QGroupBox* fraSensorSettings = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblComPort = nullptr;
    QPushButton* cmdSelectPort = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* cboEdge = nullptr;
    QLabel* Label5 = nullptr;
    QComboBox* cboNormallyOpen = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtDebounceTime = nullptr;
    QLabel* Label3 = nullptr;

    QGroupBox* fraAdditionalSensors = nullptr;
    QLabel* lblSecondSensor = nullptr;
    QComboBox* cboSensor2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* cboSensor3 = nullptr;

    QGroupBox* fraPreferences = nullptr;
    QCheckBox* chkStartMin = nullptr;
    QCheckBox* chkRunOnStartup = nullptr;
    QCheckBox* chkReset = nullptr;
    QCheckBox* chkLog = nullptr;

    QGroupBox* fraApplication = nullptr;
    QCheckBox* chkScrollStatus = nullptr;
    QCheckBox* chkMinToTray = nullptr;

    QGroupBox* fraDataFile = nullptr;
    QLineEdit* txtDataPath = nullptr;
    QPushButton* cmdChangeDataPath = nullptr;

    QPushButton* cmdClose = nullptr;
};

} // namespace brantock::counter
