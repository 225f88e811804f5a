#include "tests/counter/support/RecordingCounterWindow.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TextFit.h"

#include "counter/core/CounterState.h"
#include "counter/core/TriggerEngine.h"
#include "counter/frmManual.h"
#include "platform/serial/CommControl.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace brantock;
using namespace brantock::counter;
using brantock::counter::testsupport::RecordingCounterWindow;
using brantock::testsupport::ScriptedErrors;
using brantock::testsupport::TemporaryRegistry;
using brantock::testsupport::TextFit;
using Icon = CounterWindow::Icon;

namespace {

// The manual window under a plain main window, its engine counting without lockouts.
class ManualWindow : public ::testing::Test {
protected:
    ManualWindow() {
        CountingStarted = true;
        engine.SetSecondTriggerUse(2);
        engine.SetThirdTriggerUse(2);
        for (QTimer* timer :
             {&engine.timDSRdebounce(), &engine.timCTSDebounce(), &engine.timDCDDebounce()})
            timer->setInterval(0);
        // Each manual trigger lets events run once, after showing its line's indicator: the
        // indicator at that moment tells which call it was.
        window.onLetEventsRun = [this] {
            for (const auto& [name, icon] :
                 {std::pair{"", Icon::DSRTrigger}, std::pair{"2", Icon::CTSTrigger},
                  std::pair{"3", Icon::DCDTrigger}})
                if (window.IconVisible(icon) != shown[icon]) {
                    shown[icon] = window.IconVisible(icon);
                    triggers << QStringLiteral("ManualTrigger%1(%2)")
                                    .arg(QLatin1String(name))
                                    .arg(shown[icon] ? "true" : "false");
                }
        };
        mainWindow.setGeometry(100, 80, 420, 300);
        mainWindow.show();
        form.show();
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    RecordingCounterWindow window;
    platform::CommControl control;
    TriggerEngine engine{control};
    QWidget mainWindow;
    frmManual form{engine, &mainWindow};
    std::map<Icon, bool> shown;
    QStringList triggers;
};

bool dockedUnder(const QWidget& form, const QWidget& main) {
    const QRect m = main.frameGeometry();
    return form.frameGeometry().topLeft() == QPoint(m.left(), m.top() + m.height()) &&
           form.frameGeometry().width() == m.width();
}

TEST_F(ManualWindow, LoadsDockedUnderTheMainWindowWithItsExplanation) {
    EXPECT_TRUE(dockedUnder(form, mainWindow));
    EXPECT_EQ(form.lblExplanation()->text(),
              "This mode allows you to operate Brantock without having a sensor or switch "
              "attached. \r\n\r\nClick one of the three 'Trigger' buttons to trigger the "
              "counter.");
    EXPECT_TRUE(form.windowTitle().isEmpty());
    EXPECT_EQ(form.cmdTrigger()->text(), "Trigger 1");
    EXPECT_EQ(form.cmdClose()->text(), "Close");
    EXPECT_EQ(form.timfollow()->interval(), 200);
    EXPECT_TRUE(form.timfollow()->isActive());
    EXPECT_EQ(form.parentWidget(), nullptr) << "not owned by the main window";
}

struct ButtonCase {
    const char* name;
    QPushButton* (frmManual::*button)() const;
    const char* press;
    const char* release;
    int sensor;
};

class TriggerButton : public ManualWindow, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(TriggerButton, LeftPressAndReleaseMakeExactlyTwoCalls) {
    QPushButton* button = (form.*GetParam().button)();
    QTest::mousePress(button, Qt::LeftButton);
    EXPECT_EQ(triggers, QStringList({GetParam().press}));
    QTest::mouseRelease(button, Qt::LeftButton);
    EXPECT_EQ(triggers, QStringList({GetParam().press, GetParam().release}));
    EXPECT_EQ(window.eventYields, 2);
    EXPECT_EQ(window.calls.filter("LogTrigger"),
              QStringList({QStringLiteral("LogTrigger %1 up").arg(GetParam().sensor)}));
}

TEST_P(TriggerButton, OtherMouseButtonsAndTheKeyboardTriggerNothing) {
    QPushButton* button = (form.*GetParam().button)();
    for (Qt::MouseButton other : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(button, other);
        QTest::mouseRelease(button, other);
    }
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_TRUE(triggers.isEmpty());
    EXPECT_EQ(window.eventYields, 0);
    EXPECT_TRUE(window.calls.filter("LogTrigger").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, TriggerButton,
    ::testing::Values(ButtonCase{"Trigger1", &frmManual::cmdTrigger, "ManualTrigger(true)",
                                 "ManualTrigger(false)", 1},
                      ButtonCase{"Trigger2", &frmManual::cmdTrigger2, "ManualTrigger2(true)",
                                 "ManualTrigger2(false)", 2},
                      ButtonCase{"Trigger3", &frmManual::cmdTrigger3, "ManualTrigger3(true)",
                                 "ManualTrigger3(false)", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ManualWindow, ADoubleClickIsTwoPressesAndTwoReleases) {
    // Through the window system, which makes the double click out of the second press.
    const QPoint centre = form.cmdTrigger()->geometry().center();
    QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(window.eventYields, 4);
    EXPECT_EQ(window.calls.filter("LogTrigger").size(), 2);
}

TEST_F(ManualWindow, FollowsTheMainWindowAndTakesItsWidth) {
    mainWindow.setGeometry(250, 40, 500, 360);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dockedUnder(form, mainWindow); }, 5000));

    // Minimised, the main window is not followed.
    form.timfollow()->stop();
    const QPoint before = form.pos();
    mainWindow.showMinimized();
    mainWindow.move(10, 10);
    form.timfollow_Timer();
    EXPECT_EQ(form.pos(), before);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(ManualWindow, BecomingActiveUnloadsTheOptionsWindow) {
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activate);
    EXPECT_TRUE(window.calls.contains("UnloadOptionsWindow"));
}

class CloseButton : public ManualWindow, public ::testing::WithParamInterface<bool> {};

TEST_P(CloseButton, EndsTheProgramOnlyInManualMode) {
    ManualTriggerMode = GetParam();
    QTest::mouseClick(form.cmdClose(), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.timfollow()->isActive());
    EXPECT_EQ(window.mainWindowUnloaded, GetParam());
    EXPECT_TRUE(triggers.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ManualMode, CloseButton, ::testing::Bool());

TEST_F(ManualWindow, ShownAgainAfterClosingItDocksAndFollowsAgain) {
    form.close();
    mainWindow.move(300, 90);
    form.show();
    EXPECT_TRUE(dockedUnder(form, mainWindow));
    EXPECT_TRUE(form.timfollow()->isActive());
}

} // namespace

TEST_F(ManualWindow, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    const QStringList cut = TextFit::overflowing(&form);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(ManualWindow, AsksForABorderWithoutTitleBarIconOrButtons) {
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool); // no taskbar entry
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    for (Qt::WindowType hint :
         {Qt::WindowTitleHint, Qt::WindowSystemMenuHint, Qt::WindowMinimizeButtonHint,
          Qt::WindowMaximizeButtonHint, Qt::WindowCloseButtonHint, Qt::FramelessWindowHint})
        EXPECT_FALSE(flags.testFlag(hint)) << hint;
    EXPECT_TRUE(form.windowTitle().isEmpty());
    EXPECT_EQ(form.minimumHeight(), form.maximumHeight());
}
