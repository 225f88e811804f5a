#pragma once

#include "datafile_dialog/DataFileChoice.h"
#include "datafile_dialog/frmSelectDataUi.h"

#include <QDialog>

namespace brantock {

// Set by the data-file dialog's Cancel button; never cleared by the dialog.
extern bool& DataFileCancelled;

// The modal window in which the user chooses the data file or makes a new one from the
// template. Callers learn the outcome from the stored data path and DataFileCancelled. The
// rules live in DataFileChoice; the window shows and forwards.
class frmSelectData : public QDialog {
    Q_OBJECT
public:
    // showPathBox: the counter shows the path box; the reports program only the button.
    explicit frmSelectData(bool showPathBox, QWidget* parent = nullptr);

    // The programs' start: shows the dialog modally again and again while the current data
    // file fails its check; false when the user cancelled it.
    static bool ShowUntilUsable(bool showPathBox, QWidget* parent);

    BrowseButton* brsDataPath() const { return ui_.brsDataPath; }
    QPushButton* cmdNew() const { return ui_.cmdNew; }
    QPushButton* cmdApply() const { return ui_.cmdApply; }
    QPushButton* cmdCancel() const { return ui_.cmdCancel; }
    QPushButton* cmdOK() const { return ui_.cmdOK; }
    QLabel* imgLogo() const { return ui_.imgLogo; }

public Q_SLOTS:
    void brsDataPath_Change();
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdNew_Click();
    void cmdOK_Click();

private:
    void Form_Load();
    bool ApplyChanges();

    frmSelectDataUi ui_;
};

} // namespace brantock
