#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace brantock {

class BrowseButton;

// Set by the data-file dialog's Cancel button; never cleared by the dialog.
extern bool DataFileCancelled;

// The modal window in which the user chooses the data file or makes a new one from the
// template. Callers learn the outcome from the stored data path and DataFileCancelled.
class frmSelectData : public QDialog {
    Q_OBJECT
public:
    // showPathBox: the counter shows the path box; the reports program only the button.
    explicit frmSelectData(bool showPathBox, QWidget* parent = nullptr);

    BrowseButton* brsDataPath() const { return brsDataPath_; }
    QPushButton* cmdNew() const { return cmdNew_; }
    QPushButton* cmdApply() const { return cmdApply_; }
    QPushButton* cmdCancel() const { return cmdCancel_; }
    QPushButton* cmdOK() const { return cmdOK_; }
    QLabel* imgLogo() const { return imgLogo_; }

    static inline const QString DataFileFilter =
        QStringLiteral("All Files (*.*)|*.*|Brantock Data Files(*.hbd)|*.hbd|All Data "
                       "Files(*.hbd;*.mdb)|*.hbd;*.mdb|");

public Q_SLOTS:
    void brsDataPath_Change();
    void cmdApply_Click();
    void cmdCancel_Click();
    void cmdNew_Click();
    void cmdOK_Click();

private:
    void Form_Load();
    bool ApplyChanges();
    static QString TemplatePath();

    QLabel* lblExplanation_;
    QLabel* Label1_;
    BrowseButton* brsDataPath_;
    QLabel* Label2_;
    QLabel* Label3_;
    QLabel* imgLogo_;
    QPushButton* cmdNew_;
    QPushButton* cmdApply_;
    QPushButton* cmdCancel_;
    QPushButton* cmdOK_;
};

} // namespace brantock
