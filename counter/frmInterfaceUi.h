#pragma once

class QComboBox;
class QDialog;
class QLabel;
class QPushButton;

namespace brantock::counter {

// The port dialog's controls with their places, sizes and texts.
class frmInterfaceUi {
public:
    void setupUi(QDialog* form);

    QLabel* Label4 = nullptr;
    QComboBox* cmbPort = nullptr;
    QLabel* lblMessage = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace brantock::counter
