#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TextFit.h"
#include "tests/support/WindowButtons.h"

#include "datafile_dialog/BrowseButton.h"
#include "datafile_dialog/frmSelectData.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "platform/data/Connection.h"
#include "platform/data/Recordset.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace brantock;
using namespace brantock::testsupport;

namespace {

QByteArray contentOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

class SelectData : public ::testing::Test {
protected:
    SelectData() {
        App::SetPath(programFolder.path());
        App::SetTitle("Brantock");
        QFile::copy(DataFiles::templatePath(), programFolder.file("empty.hbt"));
        CommandLineDataPath.clear();
        ResetData();
        DataFileCancelled = false;
        valid = files.file("valid.hbd");
        DataFiles::copyTemplate(valid);
    }
    ~SelectData() override {
        App::SetPath(QString());
        App::SetTitle(QString());
        CommandLineDataPath.clear();
        ResetData();
    }
    std::unique_ptr<frmSelectData> open(bool showPathBox = true) {
        auto form = std::make_unique<frmSelectData>(showPathBox);
        form->show();
        return form;
    }
    static void type(frmSelectData& form, const QString& path) {
        form.brsDataPath()->SetPath(path);
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages boxes;
    ScriptedFileDialog fileDialog;
    ScratchFolder programFolder;
    ScratchFolder files;
    QString valid;
};

} // namespace

TEST_F(SelectData, ShowsTheTextsAndLayout) {
    auto form = open();
    EXPECT_EQ(form->windowTitle(), "Brantock data file");
    EXPECT_EQ(form->size(), QSize(402, 241));
    QStringList texts;
    for (QLabel* l : form->findChildren<QLabel*>())
        if (!l->text().isEmpty())
            texts << l->text();
    EXPECT_TRUE(texts.contains(
        "Brantock needs to know the location of the file that contains your Brantock data."));
    EXPECT_TRUE(texts.contains(
        "To choose an existing data file, please type the full path to the file here, or "
        "click on the 'Browse' button to locate the file."));
    EXPECT_TRUE(texts.contains(
        "To create a new file, enter the full path and file name in the box above and click "
        "'Make a new data file'"));
    EXPECT_TRUE(texts.contains(
        "NOTE: You must have sufficient system privilages to open or create a data file"));
    EXPECT_EQ(form->cmdNew()->text(), "Make a new data file");
    EXPECT_EQ(form->cmdApply()->text(), "Apply");
    EXPECT_EQ(form->cmdCancel()->text(), "Cancel");
    EXPECT_EQ(form->cmdOK()->text(), "OK");
    EXPECT_EQ(form->brsDataPath()->geometry(), QRect(14, 100, 375, 25));
    EXPECT_EQ(form->cmdOK()->geometry(), QRect(306, 205, 81, 25));
    EXPECT_EQ(form->brsDataPath()->FilterIndex(), 2);
    EXPECT_EQ(form->brsDataPath()->Filter(),
              "All Files (*.*)|*.*|Brantock Data Files(*.hbd)|*.hbd|All Data "
              "Files(*.hbd;*.mdb)|*.hbd;*.mdb|");
    EXPECT_EQ(form->brsDataPath()->DialogTitle(), "Brantock data file");
    EXPECT_TRUE(form->brsDataPath()->txtPath()->isVisible());
    EXPECT_FALSE(form->imgLogo()->pixmap().isNull());
    EXPECT_FALSE(open(false)->brsDataPath()->txtPath()->isVisible());
}

TEST_F(SelectData, LoadStartsFromTheCurrentDataFile) {
    CommandLineDataPath = valid;
    auto form = open();
    EXPECT_EQ(form->brsDataPath()->Path(), valid);
    EXPECT_TRUE(form->cmdOK()->isEnabled());
    EXPECT_FALSE(form->cmdApply()->isEnabled());
    EXPECT_TRUE(form->cmdNew()->isEnabled());

    CommandLineDataPath = files.file("missing.hbd");
    ResetData();
    QFile::remove(programFolder.file("empty.hbt"));
    auto second = open();
    EXPECT_FALSE(second->cmdOK()->isEnabled());
    EXPECT_FALSE(second->cmdNew()->isEnabled());
}

TEST_F(SelectData, ChangeRuleEnablesApplyAndOKForAnExistingAbsolutePath) {
    auto form = open();
    const std::pair<QString, bool> cases[] = {{valid, true},
                                              {files.file("missing.hbd"), false},
                                              {"valid.hbd", false},
                                              {"", false},
                                              {"/" + valid, true}};
    for (const auto& [path, enabled] : cases) {
        type(*form, path);
        EXPECT_EQ(form->cmdApply()->isEnabled(), enabled) << path.toStdString();
        EXPECT_EQ(form->cmdOK()->isEnabled(), enabled) << path.toStdString();
    }
}

TEST_F(SelectData, ApplyStoresAValidFileAndWarnsOfAnInvalidOne) {
    auto form = open();
    const QString bad = files.file("bad.hbd");
    writeFile(bad, "garbage");
    type(*form, bad);
    errors.answer("3");
    QTest::mouseClick(form->cmdApply(), Qt::LeftButton);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.last().prompt,
              "The path " + bad +
                  " is not a valid Brantock data file, or you do not have sufficient "
                  "system privileges to open the file. Please choose a valid file that "
                  "you have read and write access to.");
    EXPECT_EQ(boxes.last().style, 48);
    EXPECT_EQ(boxes.last().title, "Brantock");
    EXPECT_EQ(GetRegSetting("DatabasePath", "none", "", true, HKEY_CURRENT_USER), "none");

    GetDataPath(); // fill the cache
    type(*form, valid);
    QTest::mouseClick(form->cmdApply(), Qt::LeftButton);
    EXPECT_EQ(GetRegSetting("DatabasePath", "", "", true, HKEY_CURRENT_USER), valid);
    EXPECT_EQ(CachedDataPath, "");
    EXPECT_FALSE(form->cmdApply()->isEnabled());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(SelectData, OKClosesOnlyOnAValidFile) {
    auto form = open();
    type(*form, files.file("first.hbd"));
    DataFiles::createFirstFormat(files.file("first.hbd"), "wrong");
    type(*form, files.file("first.hbd"));
    QTest::mouseClick(form->cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(form->isVisible());
    type(*form, valid);
    QTest::mouseClick(form->cmdOK(), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_FALSE(DataFileCancelled);
}

TEST_F(SelectData, CancelSetsTheFlagButClosingOtherwiseDoesNot) {
    auto form = open();
    form->close();
    EXPECT_FALSE(DataFileCancelled);
    auto second = open();
    QTest::mouseClick(second->cmdCancel(), Qt::LeftButton);
    EXPECT_TRUE(DataFileCancelled);
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(GetRegSetting("DatabasePath", "none", "", true, HKEY_CURRENT_USER), "none");
}

TEST_F(SelectData, NewFileIsACopyOfTheTemplateWithTheRightName) {
    auto form = open();
    const std::pair<QString, QString> names[] = {{files.file("plain"), files.file("plain.hbd")},
                                                 {files.file("old.MDB"), files.file("old.MDB")},
                                                 {files.file("x.hbd"), files.file("x.hbd")}};
    for (const auto& [typed, made] : names) {
        type(*form, typed);
        QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
        EXPECT_EQ(contentOf(made), contentOf(DataFiles::templatePath())) << made.toStdString();
        EXPECT_EQ(form->brsDataPath()->Path(), made);
        EXPECT_TRUE(form->cmdApply()->isEnabled());
        EXPECT_TRUE(form->cmdOK()->isEnabled());
    }
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(GetRegSetting("DatabasePath", "none", "", true, HKEY_CURRENT_USER), "none");
}

TEST_F(SelectData, NewFileAsksBeforeOverwriting) {
    auto form = open();
    const QString existing = files.file("existing.hbd");
    writeFile(existing, "precious");
    type(*form, existing);
    boxes.answer(7);
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    EXPECT_EQ(boxes.last().prompt,
              "There is already a file named " + existing +
                  " Are you sure you want to overwrite it? This will permanently destroy "
                  "all data in the existing file. ");
    EXPECT_EQ(boxes.last().style, 292);
    EXPECT_EQ(boxes.last().title, "Brantock");
    EXPECT_EQ(contentOf(existing), "precious");
    boxes.answer(6);
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    EXPECT_EQ(contentOf(existing), contentOf(DataFiles::templatePath()));
}

TEST_F(SelectData, NewFileOverACrashedOneIsWhole) {
    auto form = open();
    const QString crashed = files.file("crashed.hbd");
    DataFiles::createCrashed(crashed);
    type(*form, crashed);
    boxes.answer(6);
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_FALSE(QFileInfo::exists(crashed + "-journal"));
    DataConnection cn;
    ASSERT_TRUE(OpenCN(cn, crashed));
    EXPECT_EQ(cn->Query("PRAGMA integrity_check").Fields(0).toString().toStdString(), "ok");
    EXPECT_EQ(cn->Query("SELECT count(*) FROM Triggers").Fields(0).toLongLong(), 0);
    CloseCN(cn);
}

TEST_F(SelectData, NewFileOffersToMakeTheFolder) {
    auto form = open();
    const QString folder = files.file("a/b");
    type(*form, folder + "/data.hbd");
    boxes.answer(2);
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    EXPECT_EQ(boxes.last().prompt,
              "The folder " + folder + " does not exist. Would you like to create it?");
    EXPECT_EQ(boxes.last().style, 33);
    EXPECT_FALSE(QFileInfo::exists(folder));
    boxes.answer(1);
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(folder + "/data.hbd"));

    // A folder that cannot be made: a plain file stands in its way.
    QFile blocker(files.file("blocker"));
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    type(*form, files.file("blocker/sub/data.hbd"));
    boxes.answer(1);
    errors.answer("5"); // the failed folder creation is reported, then the check goes on
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    EXPECT_EQ(boxes.last().prompt,
              "I was not able to make the folder. Please make sure you have the enough "
              "system privileges to create a folder.");
    EXPECT_EQ(boxes.last().style, 0);
}

TEST_F(SelectData, NewFileWithoutTheTemplate) {
    auto form = open();
    QFile::remove(programFolder.file("empty.hbt"));
    type(*form, files.file("new.hbd"));
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton); // enabled at load, template gone since
    EXPECT_EQ(boxes.last().prompt,
              "I can't create a new data file, the template file is missing or has been "
              "damaged. Please reinstall Brantock to rectify this problem");
    EXPECT_EQ(boxes.last().style, 16);
    EXPECT_FALSE(QFileInfo::exists(files.file("new.hbd")));
}

TEST_F(SelectData, FailedCopyIsReportedAndTheBoxKeepsItsText) {
    auto form = open();
    QDir().mkpath(files.file("taken.hbd")); // a folder where the file should go
    type(*form, files.file("taken"));
    QTest::mouseClick(form->cmdNew(), Qt::LeftButton);
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].trail.left(13), "cmdNew_Click&");
    EXPECT_EQ(form->brsDataPath()->Path(), files.file("taken"));
}

TEST_F(SelectData, ReportsProgramChoosesThroughTheBrowseButton) {
    auto form = open(false);
    fileDialog.choose(valid);
    QTest::mouseClick(form->brsDataPath()->cmdBrowse(), Qt::LeftButton);
    EXPECT_EQ(form->brsDataPath()->Path(), valid);
    EXPECT_TRUE(form->cmdOK()->isEnabled());
    EXPECT_EQ(fileDialog.requests().back().filterIndex, 2);
    EXPECT_EQ(fileDialog.requests().back().title, "Brantock data file");
}

TEST_F(SelectData, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    auto form = open();
    const QStringList cut = TextFit::overflowing(form.get());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(SelectData, IsAFixedDialogWithoutMinimiseOrMaximise) {
    auto form = open();
    EXPECT_TRUE(WindowButtons::fixedDialog(form.get()));
}
