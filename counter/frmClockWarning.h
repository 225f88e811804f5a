#pragma once

#include "counter/frmClockWarningUi.h"

#include <QDialog>

namespace brantock::counter {

// The notice that the computer's clock has jumped. Shown modeless and without an owner;
// counting goes on while it is open. Closes on its button, Enter, Esc, any character key, a
// click on its background and its close box; closing unloads it.
class frmClockWarning : public QDialog {
    Q_OBJECT
public:
    frmClockWarning();

    // Shows the open warning, brought forward, or loads a new one centred on the screen.
    static frmClockWarning& ShowModeless();

    QLabel* Label1() const { return ui_.Label1; }
    QLabel* Label2() const { return ui_.Label2; }
    QLabel* Image1() const { return ui_.Image1; }
    QPushButton* cmdClose() const { return ui_.cmdClose; }

public Q_SLOTS:
    void cmdClose_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Form_Click();
    void Form_KeyPress();

    frmClockWarningUi ui_;
};

} // namespace brantock::counter
