#include "tests/support/DataFiles.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"

#include "datafile_dialog/BrowseButton.h"
#include "datafile_dialog/DataFileChoice.h"
#include "foundation/App.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;

// The dialog's rules, driven without its window.
class DataFileChoiceRules : public ::testing::Test {
protected:
    DataFileChoiceRules() {
        App::SetPath(programFolder.path());
        QFile::copy(DataFiles::templatePath(), programFolder.file("empty.hbt"));
        ResetData();
    }
    ~DataFileChoiceRules() override {
        App::SetPath(QString());
        ResetData();
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages boxes;
    ScratchFolder programFolder;
    ScratchFolder files;
};

TEST_F(DataFileChoiceRules, OnlyAnExistingAbsolutePathIsUsable) {
    const QString existing = files.file("x.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(existing));
    const std::pair<QString, bool> cases[] = {{existing, true},
                                              {"/" + existing, true},
                                              {"x.hbd", false},
                                              {files.file("missing.hbd"), false},
                                              {"", false}};
    for (const auto& [path, usable] : cases)
        EXPECT_EQ(DataFileChoice::IsUsablePath(path), usable) << path.toStdString();
}

TEST_F(DataFileChoiceRules, NewFileIsMadeOrRefusedWithoutAWindow) {
    EXPECT_EQ(DataFileChoice::MakeNewDataFile(files.file("a"), "t&"), files.file("a.hbd"));
    EXPECT_TRUE(QFile::exists(files.file("a.hbd")));
    boxes.answer(7); // do not overwrite
    EXPECT_EQ(DataFileChoice::MakeNewDataFile(files.file("a.hbd"), "t&"), QString());
    boxes.answer(2); // do not make the folder
    EXPECT_EQ(DataFileChoice::MakeNewDataFile(files.file("new/b.hbd"), "t&"), QString());
    EXPECT_FALSE(QDir(files.file("new")).exists());
    EXPECT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(DataFileChoiceRules, ApplyStoresOnlyAValidFile) {
    const QString valid = files.file("v.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(valid));
    EXPECT_FALSE(DataFileChoice::Apply(files.file("nothing.hbd"), "t&"));
    EXPECT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(GetRegSetting("DatabasePath", "none", "", true, HKEY_CURRENT_USER), "none");
    EXPECT_TRUE(DataFileChoice::Apply(valid, "t&"));
    EXPECT_EQ(GetRegSetting("DatabasePath", "none", "", true, HKEY_CURRENT_USER), valid);
}

TEST_F(DataFileChoiceRules, FileDialogStartsAtTheTypedPathItsFolderOrTheProgram) {
    const QString file = files.file("f.hbd");
    ASSERT_TRUE(DataFiles::copyTemplate(file));
    const QString program = programFolder.path();
    const std::pair<QString, QString> cases[] = {{"", program},
                                                 {"  \"" + file + "\" ", file},
                                                 {files.file("missing.hbd"), files.path() + "/"},
                                                 {"/no/such/folder/x.hbd", program},
                                                 {"plain", program}};
    for (const auto& [typed, start] : cases)
        EXPECT_EQ(BrowseButton::StartFolder(typed, program), start) << typed.toStdString();
}
