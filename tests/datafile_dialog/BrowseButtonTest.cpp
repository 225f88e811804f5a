#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/TestEnvironment.h"

#include "datafile_dialog/BrowseButton.h"
#include "foundation/App.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;

namespace {

class BrowseButtonTest : public ::testing::Test {
protected:
    BrowseButtonTest() {
        App::SetPath(programFolder.path());
        QDir().mkpath(dataFolder.file("data"));
        QFile f(dataFolder.file("data/data.hbd"));
        f.open(QIODevice::WriteOnly);
    }
    ~BrowseButtonTest() override { App::SetPath(QString()); }

    QString initialFolderFor(const QString& boxText) {
        control.SetPath(boxText);
        dialog.cancel();
        control.cmdBrowse_Click();
        return dialog.requests().back().initialFolder;
    }

    ScratchFolder programFolder;
    ScratchFolder dataFolder;
    ScriptedFileDialog dialog;
    BrowseButton control;
};

} // namespace

TEST_F(BrowseButtonTest, InitialFolderFollowsTheBox) {
    const QString file = dataFolder.file("data/data.hbd");
    const QString folder = dataFolder.file("data/");
    const std::pair<QString, QString> cases[] = {
        {"", programFolder.path()},
        {file, file},
        {"  \"" + file + "\" ", file},
        {"\"" + dataFolder.file("data/missing.hbd") + "\"", folder},
        {dataFolder.file("data"), dataFolder.file("data")},
        {dataFolder.file("gone/"), programFolder.path()},
        {dataFolder.file("gone/missing.hbd"), programFolder.path()},
        {"missing.hbd", programFolder.path()},
    };
    for (const auto& [box, expected] : cases)
        EXPECT_EQ(initialFolderFor(box), expected) << box.toStdString();
}

TEST_F(BrowseButtonTest, CancelRaisesBrowseCancelledAndLeavesTheBox) {
    control.SetPath("/keep/me.hbd");
    QSignalSpy change(&control, &BrowseButton::Change);
    QSignalSpy selected(&control, &BrowseButton::FileSelected);
    QSignalSpy cancelled(&control, &BrowseButton::BrowseCancelled);
    dialog.cancel();
    QTest::mouseClick(control.cmdBrowse(), Qt::LeftButton);
    EXPECT_EQ(cancelled.count(), 1);
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(selected.count(), 0);
    EXPECT_EQ(control.Path(), "/keep/me.hbd");
}

TEST_F(BrowseButtonTest, ChoosingAFileWritesItOnlyWhenItDiffers) {
    control.SetPath("/x/a.hbd");
    QSignalSpy change(&control, &BrowseButton::Change);
    QSignalSpy selected(&control, &BrowseButton::FileSelected);
    dialog.choose("/x/a.hbd");
    control.cmdBrowse_Click();
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(selected.count(), 1);

    std::vector<std::string> order;
    QObject::connect(&control, &BrowseButton::Change, [&] { order.push_back("Change"); });
    QObject::connect(&control, &BrowseButton::FileSelected,
                     [&] { order.push_back("FileSelected"); });
    dialog.choose("/x/b.hbd");
    control.cmdBrowse_Click();
    EXPECT_EQ(control.Path(), "/x/b.hbd");
    EXPECT_EQ(order, (std::vector<std::string>{"Change", "FileSelected"}));
}

TEST_F(BrowseButtonTest, EmptyFilterAndIndexGetTheirDefaultsAtTheFirstBrowse) {
    control.SetFilter("");
    control.SetFilterIndex(0);
    control.SetDialogTitle("Brantock data file");
    dialog.cancel();
    control.cmdBrowse_Click();
    EXPECT_EQ(control.Filter(), "All Files (*.*)|*.*|");
    EXPECT_EQ(control.FilterIndex(), 1);
    const auto& request = dialog.requests().back();
    EXPECT_FALSE(request.save);
    EXPECT_EQ(request.title, "Brantock data file");
    EXPECT_EQ(request.descriptions, QStringList{"All Files (*.*)"});
    EXPECT_EQ(request.patterns, QStringList{"*.*"});

    control.SetFilter("All Files (*.*)|*.*|All Data Files(*.hbd;*.mdb)|*.hbd;*.mdb|");
    control.SetFilterIndex(2);
    dialog.cancel();
    control.cmdBrowse_Click();
    EXPECT_EQ(dialog.requests().back().patterns, (QStringList{"*.*", "*.hbd;*.mdb"}));
    EXPECT_EQ(dialog.requests().back().filterIndex, 2);
}

TEST_F(BrowseButtonTest, SavedValuesLoadInOrderWithTheirDefaults) {
    platform::PropertyBag empty;
    BrowseButton fresh;
    QSignalSpy change(&fresh, &BrowseButton::Change);
    fresh.ReadProperties(
        platform::PropertyBag(QVariantMap{{"Path", "/d/data.hbd"}, {"Enabled", false}}));
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(fresh.Path(), "/d/data.hbd");
    EXPECT_EQ(fresh.Caption(), "Browse");
    EXPECT_EQ(fresh.FilterIndex(), 1);
    EXPECT_EQ(fresh.Filter(), "All Files (*.*)|*.*|");
    EXPECT_EQ(fresh.DialogTitle(), "Open");
    EXPECT_FALSE(fresh.Enabled());
    EXPECT_TRUE(fresh.txtPath()->isEnabled()); // the saved state binds the button only
    EXPECT_TRUE(fresh.TextBoxVisible());
    EXPECT_FLOAT_EQ(fresh.ButtonWidth(), 975);
    EXPECT_FLOAT_EQ(fresh.ButtonHeight(), 315);
    fresh.SetEnabled(false);
    EXPECT_FALSE(fresh.txtPath()->isEnabled());

    platform::PropertyBag saved;
    QSignalSpy changed(&fresh, &BrowseButton::PropertyChanged);
    fresh.SetCaption("Find");
    fresh.SetButtonWidth(1500);
    EXPECT_EQ(changed.count(), 2);
    fresh.WriteProperties(saved);
    EXPECT_EQ(saved.values(), (QVariantMap{{"Path", "/d/data.hbd"},
                                           {"Caption", "Find"},
                                           {"Enabled", false},
                                           {"ButtonWidth", 1500.0f}}));
}

TEST_F(BrowseButtonTest, LayoutPutsTheButtonAtTheRightEdge) {
    control.show();
    control.resize(375, 25); // 5625 by 375 twips
    EXPECT_EQ(control.cmdBrowse()->geometry(), QRect(310, 0, 65, 21));
    EXPECT_EQ(control.txtPath()->geometry(), QRect(0, 0, 308, 21));

    control.SetButtonWidth(1500); // wider at once, but not moved until the next resize
    EXPECT_EQ(control.cmdBrowse()->geometry(), QRect(310, 0, 100, 21));
    control.resize(376, 25);
    EXPECT_EQ(control.cmdBrowse()->x(), 276);

    control.resize(60, 25);                    // narrower than the button plus 30 twips
    EXPECT_EQ(control.txtPath()->width(), 42); // |900 - 1530| twips
}

TEST_F(BrowseButtonTest, TypingRaisesChange) {
    QSignalSpy change(&control, &BrowseButton::Change);
    QTest::keyClicks(control.txtPath(), "ab");
    EXPECT_EQ(change.count(), 2);
    control.SetPath("ab"); // the same text runs nothing
    EXPECT_EQ(change.count(), 2);
}
