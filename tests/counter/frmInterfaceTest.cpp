#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/counter/support/SimulatedPorts.h"
#include "tests/support/MockClock.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TextFit.h"
#include "tests/support/WindowButtons.h"

#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/frmInterface.h"
#include "foundation/modbrUtils.h"
#include "foundation/modRegistry.h"
#include "platform/serial/CommControl.h"
#include "runtime/RuntimeError.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

using namespace brantock;
using namespace brantock::counter;
using brantock::counter::testsupport::RecordingCounterWindow;
using brantock::counter::testsupport::SimulatedPorts;
using brantock::testsupport::MockClock;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::ScriptedMessages;
using brantock::testsupport::TemporaryRegistry;
using brantock::testsupport::TextFit;
using brantock::testsupport::WindowButtons;

namespace {

const QString At = QStringLiteral(" 2:05:09 PM");
const QString SelectMessage =
    QStringLiteral("Please select the port you would like to use for the Brantock interface.");

class PortDialog : public ::testing::Test {
protected:
    // The dialog shown, with its activation's scan done; messages for the port dialog go to
    // it, as the main window sends them.
    std::unique_ptr<frmInterface> open() {
        auto form = std::make_unique<frmInterface>(comPort);
        window.onSetPortDialogMessage =
            [dialog = QPointer<frmInterface>(form.get())](const QString& text) {
                if (dialog)
                    dialog->SetMessage(text);
            };
        form->show();
        waitForScan(*form);
        return form;
    }
    static void waitForScan(frmInterface& form) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return form.cmbPort()->count() > 0; }, 10000));
    }
    static void store(const QString& port) { SetRegSetting(settings::ComPort, port, RegistryHive); }
    static QString stored() { return GetRegSetting(settings::ComPort, RegistryHive); }
    static QStringList items(const frmInterface& form) {
        QStringList list;
        for (int i = 0; i < form.cmbPort()->count(); ++i)
            list << form.cmbPort()->itemText(i);
        return list;
    }
    static void type(frmInterface& form, const QString& text) { form.cmbPort()->setEditText(text); }

    TemporaryRegistry registry;
    SimulatedPorts ports{registry};
    ScriptedErrors errors;
    ScriptedMessages boxes;
    MockClock clock{DateValue::fromDateTime(QDate(2026, 3, 2), QTime(14, 5, 9))};
    RecordingCounterWindow window;
    platform::CommControl comPort;
};

TEST_F(PortDialog, ShowsTheDesignedControls) {
    frmInterface form(comPort);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Brantock - Select interface"));
    EXPECT_EQ(form.Label4()->text(), QStringLiteral("Sensor Interface"));
    EXPECT_EQ(form.cmdOK()->text(), QStringLiteral("&OK"));
    EXPECT_EQ(form.cmdCancel()->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(form.cmbPort()->isEditable());
    EXPECT_EQ(form.cmbPort()->toolTip(),
              QStringLiteral("The com port that Brantock is connected to"));
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
}

TEST_F(PortDialog, LoadedFromConstructionToUnload) {
    EXPECT_FALSE(PortDialogOpen);
    {
        frmInterface form(comPort);
        EXPECT_TRUE(PortDialogOpen);
        form.SetMessage(QStringLiteral("a\r\nb"));
        EXPECT_EQ(form.Message(), QStringLiteral("a\r\nb"));
        form.reject();
        EXPECT_FALSE(PortDialogOpen);
        form.SetMessage(QStringLiteral("again"));
        EXPECT_TRUE(PortDialogOpen) << "writing the message line loads the dialog again";
    }
    EXPECT_FALSE(PortDialogOpen);
}

TEST_F(PortDialog, EveryShowingListsTheAnsweringPortsAndPreselectsTheStoredOne) {
    ports.serve(3);
    ports.serve(8);
    ports.serve(10).setEcho(false);
    store(QStringLiteral("8"));
    auto form = open();
    EXPECT_EQ(items(*form), QStringList({"Com 3", "Com 8", "Manual"}));
    EXPECT_EQ(form->cmbPort()->currentText(), QStringLiteral("Com 8"));
    EXPECT_EQ(form->Message(), SelectMessage);
    EXPECT_FALSE(comPort.PortOpen());
    EXPECT_EQ(InterfaceName, QStringLiteral("8"));

    form->hide();
    ports.serve(5);
    form->cmbPort()->clear();
    form->show();
    waitForScan(*form);
    EXPECT_EQ(items(*form), QStringList({"Com 3", "Com 5", "Com 8", "Manual"}));
}

TEST_F(PortDialog, MessageWrittenBeforeTheShowingGivesWayToTheScansOne) {
    ports.serve(2);
    store(QStringLiteral("DEMO"));
    frmInterface form(comPort);
    form.SetMessage(QStringLiteral("Com 4 is not a valid port."));
    form.show();
    waitForScan(form);
    EXPECT_EQ(form.cmbPort()->currentText(), QStringLiteral("Manual"));
    EXPECT_EQ(form.Message(),
              QStringLiteral("Click 'OK' to continue in manual trigger mode, otherwise select "
                             "the port you would like to use for the Brantock interface."));
}

TEST_F(PortDialog, NoAnsweringPortLeavesManualAlonePreselected) {
    store(QStringLiteral("4"));
    auto form = open();
    EXPECT_EQ(items(*form), QStringList({"Manual"}));
    EXPECT_EQ(form->cmbPort()->currentText(), QStringLiteral("Manual"));
    EXPECT_EQ(form->Message(), SelectMessage);
}

TEST_F(PortDialog, PortTwelveTypedInAnyFormIsOpenedAndStoredAsTwelve) {
    ports.serve(12);
    for (const char* typed : {"Com 12", "com12", "COM 12", "Com12", "12", " 1 2 ", "cOm 1 2"}) {
        store(QString());
        window.history.clear();
        window.optionsUpdates.clear();
        auto form = open();
        type(*form, QString::fromLatin1(typed));
        form->cmdOK()->click();
        EXPECT_TRUE(comPort.PortOpen()) << typed;
        EXPECT_EQ(comPort.CommPort(), 12) << typed;
        EXPECT_EQ(stored(), QStringLiteral("12")) << typed;
        EXPECT_EQ(window.history, QStringList({"Opening Com 12" + At})) << typed;
        EXPECT_EQ(window.optionsUpdates, std::vector<QString>({"12"})) << typed;
        EXPECT_FALSE(PortDialogOpen) << typed;
        EXPECT_FALSE(form->isVisible()) << typed;
        comPort.SetPortOpen(false);
    }
}

TEST_F(PortDialog, TypedTextWithoutAPortIsRefusedWithItsMessage) {
    const std::vector<std::pair<const char*, const char*>> cases{
        {"printer", "printer is not a valid port name\r\nPlease select an entry from the list"},
        {"Com 17", "Com 17 is not a valid port name\r\nPlease select an entry from the list"},
        {"   ", "Please choose an interface from the list"},
        {"", "Please choose an interface from the list"}};
    auto form = open();
    for (const auto& [typed, message] : cases) {
        type(*form, QString::fromLatin1(typed));
        form->cmdOK()->click();
        EXPECT_EQ(form->Message(), QString::fromLatin1(message)) << typed;
        EXPECT_EQ(form->cmbPort()->currentText(), QString::fromLatin1(typed)) << typed;
        EXPECT_TRUE(PortDialogOpen) << typed;
        EXPECT_TRUE(form->isVisible()) << typed;
    }
    EXPECT_FALSE(comPort.PortOpen());
    EXPECT_TRUE(window.history.isEmpty());
    EXPECT_EQ(stored(), QString());
}

TEST_F(PortDialog, OKOnAPortThatFailsNowKeepsTheDialogWithTheOpeningsMessage) {
    ports.serve(4);
    ports.serve(9);
    store(QStringLiteral("9"));
    auto form = open();
    ASSERT_EQ(items(*form), QStringList({"Com 4", "Com 9", "Manual"}));
    ports.serve(4).setEcho(false);
    form->cmbPort()->setCurrentIndex(0);
    form->cmdOK()->click();
    EXPECT_EQ(form->Message(), QStringLiteral("I can't find a Brantock sensor attached to Com "
                                              "4.\r\n Please select a port from the list"));
    EXPECT_EQ(window.beeps, 1);
    EXPECT_EQ(form->cmbPort()->currentText(), QString());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(PortDialogOpen);
    EXPECT_EQ(stored(), QStringLiteral("9"));

    type(*form, QStringLiteral("Com 6"));
    form->cmdOK()->click();
    EXPECT_EQ(form->Message(),
              QStringLiteral("Com 6 is not a valid port.\r\nPlease select a port from the list"));
    EXPECT_EQ(form->cmbPort()->currentText(), QString());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(window.history.isEmpty());
}

TEST_F(PortDialog, OKOnManualStoresItAndShowsTheManualWindowWithThePortClosed) {
    ports.serve(3);
    store(QStringLiteral("3"));
    auto form = open();
    type(*form, QStringLiteral("manual"));
    form->cmdOK()->click();
    EXPECT_EQ(stored(), QStringLiteral("Manual"));
    EXPECT_TRUE(ManualTriggerMode);
    EXPECT_TRUE(window.manualWindowShown);
    EXPECT_EQ(window.history, QStringList({"Switching to manual mode" + At}));
    EXPECT_EQ(window.optionsUpdates, std::vector<QString>({"Manual"}));
    EXPECT_FALSE(comPort.PortOpen());
    EXPECT_FALSE(PortDialogOpen);
}

TEST_F(PortDialog, OKOnAPortEndsManualMode) {
    ports.serve(5);
    store(QStringLiteral("Manual"));
    ManualTriggerMode = true;
    window.ShowManualWindow();
    auto form = open();
    type(*form, QStringLiteral("Com 5"));
    form->cmdOK()->click();
    EXPECT_FALSE(ManualTriggerMode);
    EXPECT_FALSE(window.manualWindowShown);
    EXPECT_EQ(stored(), QStringLiteral("5"));
    EXPECT_TRUE(comPort.PortOpen());
}

TEST_F(PortDialog, CommandLinePortIsReplacedForThisRunOnly) {
    ports.serve(7);
    store(QStringLiteral("5"));
    CommandLinePort = QStringLiteral("3");
    auto form = open();
    type(*form, QStringLiteral("Com 7"));
    form->cmdOK()->click();
    EXPECT_EQ(CommandLinePort, QStringLiteral("7"));
    EXPECT_EQ(stored(), QStringLiteral("5"));
}

TEST_F(PortDialog, ChoosingAnEntryShowsItAsItsPort) {
    ports.serve(3);
    auto form = open();
    type(*form, QStringLiteral("com 3"));
    form->cmbPort_Click();
    EXPECT_EQ(form->cmbPort()->currentText(), QStringLiteral("Com 3"));
    form->cmbPort()->setCurrentIndex(1);
    Q_EMIT form->cmbPort()->activated(1);
    EXPECT_EQ(form->cmbPort()->currentText(), QStringLiteral("Manual"));
}

TEST_F(PortDialog, CancelReopensTheStoredPort) {
    ports.serve(4);
    store(QStringLiteral("4"));
    auto form = open();
    EXPECT_FALSE(comPort.PortOpen());
    form->cmdCancel()->click();
    EXPECT_TRUE(comPort.PortOpen());
    EXPECT_EQ(comPort.CommPort(), 4);
    EXPECT_EQ(window.history, QStringList({"Re-open Com 4" + At}));
    EXPECT_EQ(window.optionsUpdates, std::vector<QString>({"4"}));
    EXPECT_FALSE(PortDialogOpen);
    EXPECT_FALSE(window.mainWindowUnloaded);
}

TEST_F(PortDialog, CancelThatCannotReopenClearsThePortAndEndsTheProgram) {
    for (const bool counting : {false, true}) {
        store(QStringLiteral("4"));
        window.history.clear();
        window.mainWindowUnloaded = false;
        CountingStarted = counting;
        const std::size_t boxesBefore = boxes.shown().size();
        auto form = open();
        form->cmdCancel()->click();
        if (counting) {
            ASSERT_EQ(boxes.shown().size(), boxesBefore + 1);
            EXPECT_EQ(boxes.last().prompt,
                      QStringLiteral("I can't open Com 4. Please restart Brantock"));
            EXPECT_EQ(boxes.last().style, 4112);
            EXPECT_EQ(boxes.last().title, QStringLiteral("Can't open port"));
        } else {
            EXPECT_EQ(boxes.shown().size(), boxesBefore) << "no box at start-up";
        }
        EXPECT_EQ(window.history.front(), "Failed to reopen port - restart required" + At);
        EXPECT_EQ(stored(), QString()) << counting;
        EXPECT_TRUE(window.mainWindowUnloaded) << counting;
        EXPECT_FALSE(comPort.PortOpen()) << counting;
    }
}

TEST_F(PortDialog, CancelInManualModeStaysManual) {
    ports.serve(2);
    store(QStringLiteral("Manual"));
    ManualTriggerMode = true;
    auto form = open();
    form->cmdCancel()->click();
    EXPECT_TRUE(ManualTriggerMode);
    EXPECT_EQ(window.history, QStringList({"Manual mode is active" + At}));
    EXPECT_EQ(window.optionsUpdates, std::vector<QString>({"Manual"}));
    EXPECT_FALSE(comPort.PortOpen());
    EXPECT_FALSE(PortDialogOpen);
    EXPECT_FALSE(window.mainWindowUnloaded);
}

TEST_F(PortDialog, ErrorLeftByTheLastPortIsReportedAfterTheScanForOrdinaryUsers) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    ports.serve(3);
    ports.serve(16);
    // A socket the user may not reach fails otherwise than a missing or busy port.
    ASSERT_TRUE(QFile::setPermissions(ports.device(16).mid(4), QFile::Permissions()));
    struct Case {
        const char* answer;
        bool staysOpen;
    };
    for (const Case& c : {Case{"5", true}, Case{"3", false}}) {
        errors.answer(QString::fromLatin1(c.answer));
        const std::size_t before = errors.reports().size();
        auto form = open();
        ASSERT_EQ(errors.reports().size(), before + 1) << c.answer;
        EXPECT_EQ(errors.reports().back().number, err::PathFileAccessError);
        EXPECT_EQ(errors.reports().back().trail, QStringLiteral("RefreshForm&"));
        EXPECT_EQ(items(*form), QStringList({"Com 3", "Manual"}));
        EXPECT_EQ(PortDialogOpen, c.staysOpen) << c.answer;
        EXPECT_EQ(form->isVisible(), c.staysOpen) << c.answer;
    }
}

TEST_F(PortDialog, EscapeIsTheUsersCancel) {
    ports.serve(4);
    store(QStringLiteral("4"));
    auto form = open();
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(comPort.PortOpen());
    EXPECT_EQ(window.history, QStringList({"Re-open Com 4" + At}));
    EXPECT_FALSE(PortDialogOpen);
}

} // namespace

TEST_F(PortDialog, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    auto form = open();
    const QStringList cut = TextFit::overflowing(form.get());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(PortDialog, IsAFixedDialogWithoutMinimiseOrMaximise) {
    auto form = open();
    EXPECT_TRUE(WindowButtons::fixedDialog(form.get()));
}
