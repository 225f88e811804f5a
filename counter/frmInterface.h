#pragma once

#include "counter/frmInterfaceUi.h"

#include <QDialog>
#include <QString>

class QCloseEvent;
class QKeyEvent;
class QShowEvent;

namespace brantock::platform {
class CommControl;
}

namespace brantock::counter {

// The port dialog: lists the ports on which the sensor interface answers, and lets the user
// pick one or manual triggering. Loaded from its construction (or a message written to it
// after an unload) to its unload, with PortDialogOpen set meanwhile; every showing rescans
// the ports on comPort, which only OK or Cancel open again. The rules live in
// InterfaceChoice; the window shows and forwards.
class frmInterface : public QDialog {
    Q_OBJECT
public:
    explicit frmInterface(platform::CommControl& comPort, QWidget* parent = nullptr);
    ~frmInterface() override;

    // lblMessage's caption; writing it loads the dialog when it was unloaded.
    void SetMessage(const QString& text);
    QString Message() const { return message_; }

    void RefreshForm();

    QLabel* Label4() const { return ui_.Label4; }
    QComboBox* cmbPort() const { return ui_.cmbPort; }
    QLabel* lblMessage() const { return ui_.lblMessage; }
    QPushButton* cmdOK() const { return ui_.cmdOK; }
    QPushButton* cmdCancel() const { return ui_.cmdCancel; }

    // Closing the dialog by other means than its buttons unloads it.
    void done(int result) override;

public Q_SLOTS:
    void cmbPort_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    void showEvent(QShowEvent* event) override;
    // The window's close box and Escape are the user's Cancel.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Unload();
    void UpdateOptionsForm(const QString& portText);
    static void UpdateStatus(const QString& text);

    platform::CommControl& comPort_;
    frmInterfaceUi ui_;
    QString message_;
    bool loaded_ = false;
    // cmbPort_Click writes the text it reads.
    bool clickBusy_ = false;
};

} // namespace brantock::counter
