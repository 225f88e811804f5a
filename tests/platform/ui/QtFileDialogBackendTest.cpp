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
        request.descriptions = QStringList{QStringLiteral("PDF (*.pdf)")};
        request.patterns = QStringList{QStringLiteral("*.pdf")};
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
            dialog->reject();
        });
        EXPECT_FALSE(QtFileDialogBackend().run(request).has_value());
        EXPECT_TRUE(shown) << prompt;
    }
}
