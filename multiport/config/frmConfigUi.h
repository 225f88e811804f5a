#pragma once

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace brantock::multiport {

// The configuration window's controls with their places, sizes and texts. Label1 and Label2
// are control arrays: index 0 for the first port, 1 for the second.
class frmConfigUi {
public:
    void setupUi(QWidget* form);

    std::array<QLabel*, 2> Label1{};
    std::array<QLabel*, 2> Label2{};
    QLineEdit* txtPort1 = nullptr;
    QLineEdit* txtPort1Tag = nullptr;
    QLineEdit* txtPort2 = nullptr;
    QLineEdit* txtPort2Tag = nullptr;
    QCheckBox* chkRunOnStartup = nullptr;
    QPushButton* cmdClose = nullptr;
};

} // namespace brantock::multiport
