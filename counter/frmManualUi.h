#pragma once

class QFrame;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;

namespace brantock::counter {

// The manual-trigger window's controls with their places, sizes and texts as designed.
class frmManualUi {
public:
    void setupUi(QWidget* form);

    QFrame* Shape1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblExplanation = nullptr;
    QPushButton* cmdTrigger = nullptr;
    QPushButton* cmdTrigger2 = nullptr;
    QPushButton* cmdTrigger3 = nullptr;
    QPushButton* cmdClose = nullptr;
    QTimer* timfollow = nullptr;
};

} // namespace brantock::counter
