#include "counter/frmClockWarning.h"

#include "tests/support/TextFit.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <functional>

#include <gtest/gtest.h>

using namespace brantock::counter;
using brantock::testsupport::TextFit;

namespace {

struct Shown {
    QPointer<frmClockWarning> form = &frmClockWarning::ShowModeless();
    Shown() { EXPECT_TRUE(QTest::qWaitForWindowExposed(form.data())); }
    ~Shown() { delete form.data(); }
    // Closing unloads the window.
    bool unloaded() {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return form.isNull();
    }
};

} // namespace

TEST(frmClockWarning, TextsAndButtonAsDesigned) {
    Shown shown;
    frmClockWarning& form = *shown.form;
    EXPECT_EQ(form.windowTitle(), "Clock has changed");
    EXPECT_EQ(form.Label1()->text(), "Your computer's clock has changed");
    EXPECT_TRUE(form.Label1()->font().bold());
    EXPECT_EQ(form.Label2()->text(),
              "Brantock relies on your computer's clock to record accurate information! Please "
              "make sure your clock is set to the correct time or you will have incorrect times "
              "stored in your data.");
    EXPECT_EQ(form.cmdClose()->text(), "&Close");
    EXPECT_TRUE(form.cmdClose()->isDefault());
    EXPECT_FALSE(form.isModal());
    EXPECT_EQ(form.parentWidget(), nullptr);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.size(), QSize(316, 141));
}

TEST(frmClockWarning, ShowingItAgainBringsTheOpenOneForward) {
    Shown shown;
    frmClockWarning* second = &frmClockWarning::ShowModeless();
    EXPECT_EQ(second, shown.form.data());
    EXPECT_TRUE(second->isVisible());
}

TEST(frmClockWarning, EachWayOfClosingUnloadsIt) {
    const struct {
        const char* name;
        std::function<void(frmClockWarning&)> act;
    } ways[] = {
        {"Close", [](frmClockWarning& f) { QTest::mouseClick(f.cmdClose(), Qt::LeftButton); }},
        {"Enter", [](frmClockWarning& f) { QTest::keyClick(f.cmdClose(), Qt::Key_Return); }},
        {"Esc", [](frmClockWarning& f) { QTest::keyClick(f.cmdClose(), Qt::Key_Escape); }},
        {"letter", [](frmClockWarning& f) { QTest::keyClick(f.cmdClose(), Qt::Key_X); }},
        {"letter on the window", [](frmClockWarning& f) { QTest::keyClick(&f, Qt::Key_A); }},
        {"background",
         [](frmClockWarning& f) {
             QTest::mouseClick(&f, Qt::LeftButton, {}, {3, 3});
         }},
        {"close box", [](frmClockWarning& f) { f.close(); }},
    };
    for (const auto& way : ways) {
        Shown shown;
        way.act(*shown.form);
        EXPECT_TRUE(shown.unloaded()) << way.name;
    }
}

TEST(frmClockWarning, ClicksOnTheTextsAndOtherKeysLeaveItOpen) {
    Shown shown;
    QTest::mouseClick(shown.form->Label2(), Qt::LeftButton);
    QTest::mouseClick(shown.form->Image1(), Qt::LeftButton);
    QTest::mouseClick(shown.form.data(), Qt::RightButton, {}, {3, 3});
    QTest::keyClick(shown.form->cmdClose(), Qt::Key_Shift);
    QTest::keyClick(shown.form->cmdClose(), Qt::Key_F5);
    QTest::keyClick(shown.form->cmdClose(), Qt::Key_Tab);
    EXPECT_FALSE(shown.unloaded());
    EXPECT_TRUE(shown.form->isVisible());
}

TEST(frmClockWarning, CentredOnTheScreen) {
    Shown shown;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((shown.form->geometry().center() - screen.center()).manhattanLength(), 1);
}

TEST(frmClockWarning, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    Shown shown;
    const QStringList cut = TextFit::overflowing(shown.form.data());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}
