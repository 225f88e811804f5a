#pragma once

#include <QString>

namespace brantock::platform {

// Run-time error numbers of the dialogs.
namespace dialogErr {
constexpr int Cancel = 32755;
} // namespace dialogErr

// The common dialog control: it keeps its filter, filter index, title, initial folder and
// last chosen file between uses and shows the file dialog. With CancelError set a cancel
// raises dialogErr::Cancel. Of the flags only OverwritePrompt changes the dialog.
class CommonDialog {
public:
    static constexpr int OverwritePrompt = 2;

    QString Filter;
    int FilterIndex = 0;
    QString DialogTitle;
    QString InitDir;
    QString FileName;
    int Flags = 0;
    bool CancelError = false;

    void ShowOpen();
    void ShowSave();

    // The bar-separated filter text as description and pattern pairs.
    static void SplitFilter(const QString& filter, QStringList& descriptions,
                            QStringList& patterns);

private:
    void show(bool save);
};

} // namespace brantock::platform
