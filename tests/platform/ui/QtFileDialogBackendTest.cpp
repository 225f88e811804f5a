#include "platform/ui/QtFileDialogBackend.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace brantock::platform;

// Shows the real dialog (offscreen), notes how it is set up and cancels it.
TEST(QtFileDialogBackend, ASaveAsksBeforeReplacingAFileOnlyWhenTheRequestSaysSo) {
    QTemporaryDir folder;
    for (const bool prompt : {true, false}) {
        FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("Save as PDF file");
        request.descriptions = QStringList{QStringLiteral("PDF (*.pdf)"), "All files (*.*)"};
        request.patterns = QStringList{QStringLiteral("*.pdf"), "*.*"};
        request.initialFolder = folder.path();
        request.fileName = QStringLiteral("BrantockReport.pdf");
        request.overwritePrompt = prompt;
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = true;
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(dialog->testOption(QFileDialog::DontConfirmOverwrite), !prompt);
            EXPECT_EQ(dialog->windowTitle(), request.title);
            EXPECT_EQ(dialog->directory().absolutePath(), QDir(folder.path()).absolutePath());
            EXPECT_EQ(dialog->nameFilters(), QStringList({"PDF (*.pdf)", "All files (*)"}));
            dialog->reject();
        });
        EXPECT_FALSE(QtFileDialogBackend().run(request).has_value());
        EXPECT_TRUE(shown) << prompt;
    }
}

TEST(QtFileDialogBackend, FiltersShowTheirPatternsOnceAndEverythingForAllFiles) {
    const struct {
        const char* description;
        const char* patterns;
        const char* shown;
    } cases[] = {
        {"PDF (*.pdf)", "*.pdf", "PDF (*.pdf)"},
        {"Rich text (Word) (*.rtf)", "*.rtf", "Rich text (Word) (*.rtf)"},
        {"All Files (*.*)", "*.*", "All Files (*)"},
        {"Brantock Data Files(*.hbd)", "*.hbd", "Brantock Data Files (*.hbd)"},
        {"All Data Files(*.hbd;*.mdb)", "*.hbd;*.mdb", "All Data Files (*.hbd *.mdb)"},
        {"Reports", "*.rdf", "Reports (*.rdf)"},
        {"Other (*.doc)", "*.rtf", "Other (*.doc) (*.rtf)"},
    };
    for (const auto& c : cases) {
        FileDialogRequest request;
        request.descriptions = QStringList{QString::fromLatin1(c.description)};
        request.patterns = QStringList{QString::fromLatin1(c.patterns)};
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = dialog->nameFilters();
            dialog->reject();
        });
        QtFileDialogBackend().run(request);
        EXPECT_EQ(shown, QStringList({QString::fromLatin1(c.shown)})) << c.description;
    }
}
