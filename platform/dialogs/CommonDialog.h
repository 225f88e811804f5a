#pragma once

#include <QString>

namespace brantock::platform {

// The common dialog control: it keeps its filter, filter index, title, initial folder and
// last chosen file between uses and shows the file dialog. With CancelError set a cancel
// raises the run-time error 32755. Of the flags only OverwritePrompt changes the dialog.
class CommonDialog {
public:
    static constexpr int CancelErrorNumber = 32755;
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
