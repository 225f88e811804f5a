#include "tests/platform/report/TableReport.h"
#include "tests/support/DataFiles.h"
#include "tests/support/HeldFile.h"
#include "tests/support/MockClock.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedFileDialog.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/ScriptedPrinterDialog.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TestDates.h"
#include "tests/support/TestEnvironment.h"

#include "foundation/FoundationState.h"
#include "foundation/modbrUtils.h"
#include "foundation/modShellFolders.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/report/ReportError.h"
#include "platform/ui/report/ReportViewer.h"
#include "reports/frmMain.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

using namespace brantock;
using namespace brantock::reports;
using namespace brantock::testsupport;

namespace {

const QString NotSavedHint = QStringLiteral(
    "\nCheck to see that you don't have a file with the same name open in another program.");

// The report window showing the table report, with scripted dialogs.
class FileMenu : public ::testing::Test {
protected:
    FileMenu() {
        CommandLineDataPath = files.file("data.hbd");
        DataFiles::copyTemplate(CommandLineDataPath);
        documents();
        form = std::make_unique<frmMain>();
        form->Show();
    }
    void showReport() { ui().arvPreview->SetReportSource(std::make_shared<TableReport>()); }
    const frmMainUi& ui() const { return form->ui(); }
    static QByteArray contentOf(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
    // The user's documents folder, made when missing.
    static QString documents() { return GetSpecialFolder(csidl::Personal, true); }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages boxes;
    ScriptedFileDialog dialog;
    ScriptedPrinterDialog printer;
    RecordingShell shell;
    MockClock clock{at(2026, 3, 10, 9, 30)};
    ScratchFolder files;
    ScratchFolder out;
    std::unique_ptr<frmMain> form;
};

struct SaveItem {
    QAction* frmMainUi::*item;
    QString description;
    QString pattern;
    QString title;
    QString proposed;
    QByteArray start; // how a file of the kind starts
};

const SaveItem SaveItems[] = {
    {&frmMainUi::mnuExportPDF, "PDF (*.pdf)", "*.pdf", "Save as PDF file", "BrantockReport.pdf",
     "%PDF-"},
    {&frmMainUi::mnuExportExcel, "Excel spreadsheet (*.xlsx)", "*.xlsx",
     "Save as Excel spreadsheet", "BrantockReport.xlsx", "PK\x03\x04"},
    {&frmMainUi::mnuWordExport, "Rich text (Word) (*.rtf)", "*.rtf",
     "Save as rich text (Word) file", "BrantockReport.rtf", "{\\rtf1"},
    {&frmMainUi::mnuTextExport, "Text (*.txt)", "*.txt", "Save as text file", "BrantockReport.txt",
     TableReport::Title.toUtf8()},
};

} // namespace

TEST_F(FileMenu, PrintAndSaveAsWaitForALoadedReport) {
    EXPECT_FALSE(ui().mnuFilePrint->isEnabled());
    EXPECT_FALSE(ui().mnuFileSaveAs->isEnabled());
    showReport();
    EXPECT_TRUE(ui().mnuFilePrint->isEnabled());
    EXPECT_TRUE(ui().mnuFileSaveAs->isEnabled());
}

TEST_F(FileMenu, EachSaveAsItemAsksForAFileOfItsKindWritesItAndSaysWhere) {
    showReport();
    for (const SaveItem& kind : SaveItems) {
        SCOPED_TRACE(kind.title.toStdString());
        // The name chosen exists: the dialog has asked before overwriting it.
        const QString path = out.file(kind.proposed);
        QFile(path).open(QIODevice::WriteOnly);
        dialog.choose(path);
        (ui().*kind.item)->trigger();

        const platform::FileDialogRequest& asked = dialog.requests().back();
        EXPECT_TRUE(asked.save);
        EXPECT_EQ(asked.title, kind.title);
        EXPECT_EQ(asked.descriptions.join(u'|'), kind.description + "|All files (*.*)");
        EXPECT_EQ(asked.patterns.join(u'|'), kind.pattern + "|*.*");
        EXPECT_EQ(asked.initialFolder, documents());
        EXPECT_EQ(asked.fileName, kind.proposed);
        EXPECT_TRUE(asked.overwritePrompt);

        EXPECT_TRUE(contentOf(path).startsWith(kind.start));
        ASSERT_FALSE(boxes.shown().empty());
        EXPECT_EQ(boxes.last().prompt, "Report saved as: " + path);
        EXPECT_EQ(boxes.last().style, 65600);
        EXPECT_EQ(boxes.last().title, "Report saved");
    }
    EXPECT_EQ(boxes.shown().size(), std::size(SaveItems));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(FileMenu, TheDialogOpensInTheDocumentsWithTheProposedNameAfterASaveElsewhere) {
    showReport();
    dialog.choose(out.file("elsewhere.txt"));
    ui().mnuTextExport->trigger();
    dialog.cancel();
    ui().mnuTextExport->trigger();
    dialog.cancel();
    ui().mnuExportPDF->trigger();
    ASSERT_EQ(dialog.requests().size(), 3u);
    for (const platform::FileDialogRequest& asked : dialog.requests())
        EXPECT_EQ(asked.initialFolder, documents());
    EXPECT_EQ(dialog.requests()[1].fileName, "BrantockReport.txt");
    EXPECT_EQ(dialog.requests()[2].fileName, "BrantockReport.pdf");
}

TEST_F(FileMenu, WithoutADocumentsFolderTheDialogOpensInTheHomeFolder) {
    showReport();
    ASSERT_TRUE(QDir(documents()).removeRecursively());
    dialog.cancel();
    ui().mnuTextExport->trigger();
    ASSERT_EQ(dialog.requests().size(), 1u);
    EXPECT_EQ(dialog.requests()[0].initialFolder, QDir::homePath());
}

TEST_F(FileMenu, CancelInTheSaveDialogWritesNothingAndSaysNothing) {
    showReport();
    for (const SaveItem& kind : SaveItems) {
        dialog.cancel();
        (ui().*kind.item)->trigger();
    }
    EXPECT_EQ(dialog.requests().size(), std::size(SaveItems));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(QDir(out.path()).isEmpty());
    EXPECT_TRUE(QDir(documents()).isEmpty());
}

TEST_F(FileMenu, AFileHeldOpenOrAFolderThatCannotBeWrittenGivesReportNotSaved) {
    showReport();
    const QString held = out.file("held.xlsx");
    QFile file(held);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("the other program's");
    file.close();
    QFile(out.file("plain")).open(QIODevice::WriteOnly);
    const QString cases[] = {held, out.file("plain/report.xlsx"),
                             out.file("no/such/folder/report.xlsx")};
    HeldFile other(held, HeldFile::Lock::Record);
    ASSERT_TRUE(other.held());
    for (const QString& path : cases) {
        dialog.choose(path);
        ui().mnuExportExcel->trigger();
        ASSERT_FALSE(boxes.shown().empty());
        EXPECT_EQ(boxes.last().prompt, "Sorry, I couldn't save the report: " + path + NotSavedHint);
        EXPECT_EQ(boxes.last().style, 4112);
        EXPECT_EQ(boxes.last().title, "Report not saved");
    }
    EXPECT_EQ(boxes.shown().size(), std::size(cases));
    EXPECT_EQ(contentOf(held), "the other program's");
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"held.xlsx", "plain"}));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(FileMenu, AFailingSaveDialogIsReportedAndSavesNothing) {
    // Only a cancel is an answer; any other failure of the dialog leaves the proposed name
    // unchosen.
    class BrokenDialog : public platform::FileDialogBackend {
    public:
        std::optional<platform::FileDialogChoice> run(const platform::FileDialogRequest&) override {
            throw RuntimeError(err::InternalError, QStringLiteral("No dialog"),
                               QStringLiteral("FileDialog"));
        }
    } broken;
    platform::FileDialogBackend::setCurrent(&broken);
    showReport();
    const QString before = QDir::currentPath();
    QDir::setCurrent(out.path());
    ui().mnuExportPDF->trigger();
    QDir::setCurrent(before);
    platform::FileDialogBackend::setCurrent(&dialog);

    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, err::InternalError);
    EXPECT_EQ(errors.reports()[0].trail, "GetSavepath&FileDialog");
    EXPECT_TRUE(errors.reports()[0].activity.isEmpty());
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_TRUE(QDir(out.path()).isEmpty());
}

TEST_F(FileMenu, PrintAsksThePrinterDialogAndPrintsOnlyWhenAccepted) {
    showReport();
    printer.cancel();
    ui().mnuFilePrint->trigger();
    ASSERT_EQ(printer.requests().size(), 1u);
    EXPECT_EQ(printer.requests()[0].title, "Brantock - Table Report");
    EXPECT_EQ(printer.requests()[0].lastPage, 2);
    EXPECT_TRUE(QDir(out.path()).isEmpty());

    platform::PrintDialogChoice toFile;
    toFile.outputFileName = out.file("printed.pdf");
    printer.choose(toFile);
    ui().mnuFilePrint->trigger();
    const QByteArray printed = contentOf(toFile.outputFileName);
    EXPECT_TRUE(printed.startsWith("%PDF-"));
    EXPECT_EQ(printed.count("/Type /Page\n"), 2);
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(boxes.shown().empty());

    // A printer that cannot be opened is the menu's error.
    toFile.outputFileName = out.file("no/such/folder/printed.pdf");
    printer.choose(toFile);
    ui().mnuFilePrint->trigger();
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].number, platform::reportErr::PrinterError);
    EXPECT_EQ(errors.reports()[0].trail, "mnuFilePrint_Click&");
    EXPECT_EQ(errors.reports()[0].activity, "processing print menu click");
}
