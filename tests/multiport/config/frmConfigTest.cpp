#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TextFit.h"
#include "tests/support/ThrowingRegistry.h"
#include "tests/support/WindowButtons.h"

#include "foundation/App.h"
#include "foundation/modRegistry.h"
#include "foundation/StartupEntry.h"
#include "multiport/config/frmConfig.h"
#include "multiport/core/modMultiPort.h"
#include "multiport/core/MultiPortSettings.h"
#include "multiport/core/UnhandledError.h"
#include "runtime/RuntimeError.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>

using namespace brantock;
using namespace brantock::multiport;
using namespace brantock::testsupport;

namespace {

const QString Missing = QStringLiteral("<missing>");

// The configuration window over scratch settings, the program in a folder of its own.
class ConfigWindow : public ::testing::Test {
public:
    ConfigWindow() { App::SetPath(programFolder.path()); }

    void open() {
        form = std::make_unique<frmConfig>();
        form->show();
    }
    const frmConfigUi& ui() const { return form->ui(); }

    // The stored text itself (none of these holds a character that encoding changes): an
    // empty value stays empty, a missing one reads as Missing.
    static QString stored(const Setting& setting) {
        const QVariant raw = Reg_QueryValue(settings::Hive, ProductKey + u'\\' + setting.section,
                                            setting.name, true);
        return raw.isValid() ? raw.toString() : Missing;
    }
    // The four boxes with their settings, in the order the load sets them: the two ports,
    // then the two tags.
    std::array<std::pair<QLineEdit*, const Setting*>, 4> boxesAndSettings() const {
        return {{{ui().txtPort1, &settings::Port1},
                 {ui().txtPort2, &settings::Port2},
                 {ui().txtPort1Tag, &settings::Port1Tag},
                 {ui().txtPort2Tag, &settings::Port2Tag}}};
    }
    // The four boxes show these texts, and their settings hold these values.
    void expectBoxes(const QStringList& shown, const QStringList& held) const {
        int i = 0;
        for (const auto& [box, setting] : boxesAndSettings()) {
            EXPECT_EQ(box->text(), shown.value(i));
            EXPECT_EQ(stored(*setting), held.value(i++));
        }
    }
    static void store(const Setting& setting, const QString& value) {
        ASSERT_TRUE(SetRegSetting(setting, value, settings::Hive));
    }
    static void clear(QLineEdit* box) {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    QString autostartFolder() const { return QString::fromStdString(registry.paths().autostart); }
    // A file where a folder would be: nothing can be written below it.
    static void block(const QString& folder) {
        QDir().mkpath(QFileInfo(folder).path());
        QFile blocker(folder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }

    TemporaryRegistry registry;
    ScriptedMessages boxes;
    ScratchFolder programFolder;
    std::unique_ptr<frmConfig> form;
};

} // namespace

TEST_F(ConfigWindow, ShowsTheDesignedCaptionsInTheirOrder) {
    open();
    EXPECT_EQ(form->windowTitle(), "Brantock Multi Port configuration");
    EXPECT_EQ(ui().Label1[0]->text(), "First port    COM");
    EXPECT_EQ(ui().Label2[0]->text(), "identifier");
    EXPECT_EQ(ui().Label1[1]->text(), "Second port    COM");
    EXPECT_EQ(ui().Label2[1]->text(), "identifier");
    EXPECT_EQ(ui().chkRunOnStartup->text(), "Run when Windows starts");
    EXPECT_EQ(ui().cmdClose->text(), "Close");
    // The rows read left to right, the first port above the second.
    EXPECT_LT(ui().Label1[0]->x(), ui().txtPort1->x());
    EXPECT_LT(ui().txtPort1->x(), ui().Label2[0]->x());
    EXPECT_LT(ui().Label2[0]->x(), ui().txtPort1Tag->x());
    EXPECT_LT(ui().txtPort1->y(), ui().txtPort2->y());
    EXPECT_LT(ui().txtPort2->y(), ui().chkRunOnStartup->y());
    // Every caption fits its box.
    for (const QLabel* label : {ui().Label1[0], ui().Label1[1], ui().Label2[0], ui().Label2[1]})
        EXPECT_LE(label->heightForWidth(label->width()), label->height())
            << qPrintable(label->text());
}

TEST_F(ConfigWindow, OnEmptySettingsTheDefaultsAreShownAndNothingIsWritten) {
    open();
    const QStringList defaults = {"1", "2", "First door", "Second door"};
    // Each default is the box's design text: setting it changes nothing, so runs nothing.
    expectBoxes(defaults, {Missing, Missing, Missing, Missing});
    EXPECT_FALSE(registry.readHive(HKEY_LOCAL_MACHINE).contains("MultiPortStub"));
    EXPECT_FALSE(ui().chkRunOnStartup->isChecked());
    EXPECT_TRUE(StartupEntry::Read().isEmpty());
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ConfigWindow, StoredSettingsAreShownAndStoredBackAsTheBoxesReadThem) {
    store(settings::Port1, "04");
    store(settings::Port2, "12 (left)");
    store(settings::Port1Tag, "North, door");
    store(settings::Port2Tag, "");
    open();
    // A changed box stores its value back; an empty tag reads as its default, the box's
    // design text, and stays as stored.
    expectBoxes({"04", "12 (left)", "North, door", "Second door"}, {"4", "12", "North, door", ""});
}

TEST_F(ConfigWindow, EveryKeystrokeInAPortBoxStoresItsLeadingNumber) {
    open();
    const auto all = boxesAndSettings();
    for (const auto& [box, setting] : {all[0], all[1]}) {
        clear(box);
        EXPECT_EQ(stored(*setting), "0") << "a cleared box stores 0";
        QTest::keyClick(box, '3');
        EXPECT_EQ(stored(*setting), "3");
        QTest::keyClick(box, 'x');
        EXPECT_EQ(box->text(), "3x");
        EXPECT_EQ(stored(*setting), "3");
        QTest::keyClick(box, Qt::Key_Home);
        QTest::keyClick(box, '1');
        EXPECT_EQ(stored(*setting), "13") << qPrintable(setting->name);
    }
    EXPECT_EQ(stored(settings::Port1Tag), Missing) << "the tags are untouched";
}

TEST_F(ConfigWindow, TagsAreStoredExactlyAsTyped) {
    open();
    const auto all = boxesAndSettings();
    for (const auto& [box, setting] : {all[2], all[3]}) {
        clear(box);
        EXPECT_EQ(stored(*setting), "");
        QTest::keyClicks(box, " North, door=2 ");
        EXPECT_EQ(stored(*setting), " North, door=2 ") << qPrintable(setting->name);
    }
    EXPECT_EQ(stored(settings::Port1), Missing) << "the ports are untouched";
}

TEST_F(ConfigWindow, RunWhenWindowsStartsReplacesTheCountersEntryAndRemovesTheOneEntry) {
    const QString counter = programFolder.file("brantock");
    StartupEntry::Write(counter);
    open();
    EXPECT_FALSE(ui().chkRunOnStartup->isChecked());
    EXPECT_EQ(StartupEntry::Read(), counter) << "loading leaves the counter's entry alone";

    ui().chkRunOnStartup->click();
    EXPECT_EQ(StartupEntry::Read(), programFolder.path() + "/brantockmultiportloader");
    QFile entry(autostartFolder() + "/Brantock.desktop");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("Exec=" + LoaderPath().toUtf8()));
    entry.close();

    form.reset();
    open();
    EXPECT_TRUE(ui().chkRunOnStartup->isChecked());
    ui().chkRunOnStartup->click();
    EXPECT_TRUE(StartupEntry::Read().isEmpty());
    EXPECT_TRUE(QDir(autostartFolder()).entryList(QDir::Files).isEmpty());
}

TEST_F(ConfigWindow, TheLaunchersEntryInAnotherLetterCaseIsCheckedAndWrittenAgain) {
    StartupEntry::Write(LoaderPath().toUpper());
    open();
    EXPECT_TRUE(ui().chkRunOnStartup->isChecked());
    EXPECT_EQ(StartupEntry::Read(), LoaderPath());
}

TEST_F(ConfigWindow, RefusedWritesGiveNoMessage) {
    block(autostartFolder());
    block(QFileInfo(QString::fromStdString(registry.paths().machine)).path());
    open();
    EXPECT_EQ(ui().txtPort1->text(), "1");
    QTest::keyClick(ui().txtPort1, '5');
    ui().chkRunOnStartup->click();
    EXPECT_TRUE(ui().chkRunOnStartup->isChecked()) << "the box stays as the user set it";
    EXPECT_TRUE(StartupEntry::Read().isEmpty());
    EXPECT_EQ(stored(settings::Port1), Missing);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(UnhandledError::Ended());
}

TEST_F(ConfigWindow, CloseUnloadsTheWindow) {
    open();
    ASSERT_TRUE(form->isVisible());
    ui().cmdClose->click();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(ConfigWindow, ARunTimeErrorOfTheStoreEndsTheProgramWithThePlatformsMessage) {
    using ::testing::_;
    using ::testing::Return;
    ::testing::NiceMock<ThrowingRegistry> failing;
    platform::RegistryApi::setCurrent(&failing);
    ON_CALL(failing, RegOpenKeyEx(_, _, _, _))
        .WillByDefault(Return(platform::ERROR_FILE_NOT_FOUND));
    EXPECT_CALL(failing, RegCreateKeyEx(_, _, _, _))
        .WillOnce([](auto, auto, auto, auto) -> std::int32_t {
            throw RuntimeError::of(err::PathFileAccessError, "Store");
        });
    open();
    ASSERT_TRUE(boxes.shown().empty()) << "the load wrote nothing";
    QTest::keyClick(ui().txtPort1, '5');
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt, "Run-time error '75':\n\nPath/File access error");
    EXPECT_TRUE(UnhandledError::Ended());
    // Nothing of the ended program runs any more: no further write is tried.
    QTest::keyClick(ui().txtPort1Tag, 'x');
    ui().chkRunOnStartup->click();
    EXPECT_EQ(boxes.shown().size(), 1u);
    platform::RegistryApi::setCurrent(&registry.registry());
}

TEST_F(ConfigWindow, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    open();
    const QStringList cut = TextFit::overflowing(form.get());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(ConfigWindow, AsksForAFixedBorderWithMinimiseAndCloseAndNoMaximise) {
    open();
    EXPECT_TRUE(WindowButtons::fixedMainWindow(form.get()));
}
