#pragma once

#include <array>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QMenu;
class QToolButton;
class QWidget;

namespace brantock::reports {

// The date selector's constituent controls at their designed places, and its period menu.
class DateSelectorUi {
public:
    void setupUi(QWidget* control);

    QLabel* lblStartDate = nullptr;
    QDateEdit* dtpStartDate = nullptr;
    QLabel* lblEndDate = nullptr;
    QDateEdit* dtpEndDate = nullptr;
    QCheckBox* chkLockDate = nullptr;
    // The spin control: a back (down) and a forward (up) arrow side by side.
    QWidget* updDate = nullptr;
    QToolButton* updDateDown = nullptr;
    QToolButton* updDateUp = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuPeriod = nullptr;
    std::array<QAction*, 10> miPeriod{};
};

} // namespace brantock::reports
