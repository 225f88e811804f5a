#pragma once

class QDialog;
class QLabel;
class QPushButton;

namespace brantock::counter {

// The clock warning's controls with their places, sizes and texts as designed.
class frmClockWarningUi {
public:
    void setupUi(QDialog* form);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace brantock::counter
