#pragma once

#include <array>

class QDialog;
class QFrame;
class QLabel;
class QPushButton;

namespace brantock {

// The about box's controls with their places, sizes and texts.
class frmAboutUi {
public:
    void setupUi(QDialog* form);

    QLabel* imgLogo = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblhyperlink = nullptr;
    QLabel* lblHalvernFront = nullptr;
    QLabel* lblHalvernURL = nullptr;
    QPushButton* cmdOK = nullptr;
    // Etched lines: a dark and a light one each.
    std::array<QFrame*, 2> Line1{};
    std::array<QFrame*, 2> Line2{};
};

} // namespace brantock
