#include "platform/dialogs/CommonDialog.h"

#include "platform/dialogs/FileDialogBackend.h"
#include "runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <vector>

using namespace brantock;
using namespace brantock::platform;

namespace {

// Keeps what the dialog was asked and answers with a file, or cancels.
class Answering : public FileDialogBackend {
public:
    Answering() { setCurrent(this); }
    ~Answering() override { setCurrent(nullptr); }
    std::optional<FileDialogChoice> run(const FileDialogRequest& request) override {
        asked.push_back(request);
        if (answer.isEmpty())
            return std::nullopt;
        return FileDialogChoice{answer, 2};
    }

    std::vector<FileDialogRequest> asked;
    QString answer;
};

} // namespace

TEST(CommonDialog, ASaveHandsTheDialogItsSettingsAndKeepsTheChoice) {
    Answering dialog;
    dialog.answer = QStringLiteral("/home/user/Documents/mine.pdf");
    CommonDialog cdl;
    cdl.Filter = QStringLiteral("PDF (*.pdf)|*.pdf|All files (*.*)|*.*");
    cdl.InitDir = QStringLiteral("/home/user/Documents");
    cdl.FileName = QStringLiteral("BrantockReport.pdf");
    cdl.DialogTitle = QStringLiteral("Save as PDF file");
    cdl.Flags = CommonDialog::OverwritePrompt;
    cdl.ShowSave();
    ASSERT_EQ(dialog.asked.size(), 1u);
    const FileDialogRequest& asked = dialog.asked[0];
    EXPECT_TRUE(asked.save);
    EXPECT_TRUE(asked.overwritePrompt);
    EXPECT_EQ(asked.title, "Save as PDF file");
    EXPECT_EQ(asked.descriptions, QStringList({"PDF (*.pdf)", "All files (*.*)"}));
    EXPECT_EQ(asked.patterns, QStringList({"*.pdf", "*.*"}));
    EXPECT_EQ(asked.initialFolder, "/home/user/Documents");
    EXPECT_EQ(asked.fileName, "BrantockReport.pdf");
    EXPECT_EQ(cdl.FileName, dialog.answer);
    EXPECT_EQ(cdl.FilterIndex, 2);

    // Without the flag a save replaces a file unasked; opening never asks.
    cdl.Flags = 4;
    cdl.ShowSave();
    EXPECT_FALSE(dialog.asked.back().overwritePrompt);
    cdl.Flags = CommonDialog::OverwritePrompt;
    cdl.ShowOpen();
    EXPECT_FALSE(dialog.asked.back().save);
}

TEST(CommonDialog, ACancelRaisesItsErrorOnlyWhenAskedTo) {
    Answering dialog;
    CommonDialog cdl;
    cdl.FileName = QStringLiteral("BrantockReport.txt");
    cdl.ShowSave();
    EXPECT_TRUE(cdl.FileName.isEmpty());
    cdl.CancelError = true;
    try {
        cdl.ShowSave();
        ADD_FAILURE() << "a cancel raised nothing";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), dialogErr::Cancel);
    }
}
