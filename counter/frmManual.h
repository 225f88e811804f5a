#pragma once

#include "counter/frmManualUi.h"
#include "counter/InputEventTime.h"

#include <QPointer>
#include <QWidget>

class QPushButton;

namespace brantock::counter {

class TriggerEngine;

// Three buttons that stand in for the serial lines when the counter runs without a sensor:
// the left mouse button pressed on one is its line becoming active, released inactive. The
// window keeps itself docked under the main window, which does not own it. Closing it is
// unloading it; showing it again loads it again.
class frmManual : public QWidget {
    Q_OBJECT
public:
    frmManual(TriggerEngine& engine, QWidget* mainWindow);

    QPushButton* cmdTrigger() const { return ui_.cmdTrigger; }
    QPushButton* cmdTrigger2() const { return ui_.cmdTrigger2; }
    QPushButton* cmdTrigger3() const { return ui_.cmdTrigger3; }
    QPushButton* cmdClose() const { return ui_.cmdClose; }
    QLabel* lblExplanation() const { return ui_.lblExplanation; }
    QTimer* timfollow() const { return ui_.timfollow; }

public Q_SLOTS:
    void cmdClose_Click();
    void timfollow_Timer();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void cmdTrigger_Click();
    // Under the main window, as wide as it.
    void dock();

    TriggerEngine& engine_;
    InputEventTime eventTime_;
    QPointer<QWidget> mainWindow_;
    frmManualUi ui_;
    bool loaded_ = false;
};

} // namespace brantock::counter
