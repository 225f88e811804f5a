#pragma once

#include "multiport/config/frmConfigUi.h"

#include <QWidget>

#include <array>
#include <utility>

class QLineEdit;

namespace brantock::multiport {

// The configuration program's window: the two ports, their tags and whether the launcher
// starts with the desktop. Every change is stored at once; there is nothing to save or
// cancel. Its procedures have no error handler: a run-time error ends the program
// (UnhandledError).
class frmConfig : public QWidget {
    Q_OBJECT
public:
    // Loads the window: each control is set from its setting and its handler stores it again.
    frmConfig();

    const frmConfigUi& ui() const { return ui_; }

public Q_SLOTS:
    void txtPort1_Change();
    void txtPort2_Change();
    void txtPort1Tag_Change();
    void txtPort2Tag_Change();
    void chkRunOnStartup_Click();
    void cmdClose_Click();

private:
    void Form_Load();
    void connectControls();
    // The four text boxes in the order the load sets them, each with its handler.
    std::array<std::pair<QLineEdit*, void (frmConfig::*)()>, 4> textBoxes() const;

    frmConfigUi ui_;
};

} // namespace brantock::multiport
