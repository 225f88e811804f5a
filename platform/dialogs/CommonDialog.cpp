#include "platform/dialogs/CommonDialog.h"

#include "platform/dialogs/FileDialogBackend.h"
#include "runtime/RuntimeError.h"

namespace brantock::platform {

void CommonDialog::SplitFilter(const QString& filter, QStringList& descriptions,
                               QStringList& patterns) {
    const QStringList items = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        if (items[i].isEmpty() && items[i + 1].isEmpty())
            continue;
        descriptions << items[i];
        patterns << items[i + 1];
    }
}

void CommonDialog::ShowOpen() {
    show(false);
}
void CommonDialog::ShowSave() {
    show(true);
}

void CommonDialog::show(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.title = DialogTitle;
    SplitFilter(Filter, request.descriptions, request.patterns);
    request.filterIndex = FilterIndex;
    request.initialFolder = InitDir;
    request.fileName = FileName;
    request.overwritePrompt = (Flags & OverwritePrompt) != 0;
    const auto choice = FileDialogBackend::current().run(request);
    if (!choice) {
        if (CancelError)
            throw RuntimeError(dialogErr::Cancel, QStringLiteral("Cancel was selected."),
                               QStringLiteral("CommonDialog"));
        FileName.clear();
        return;
    }
    FileName = choice->fileName;
    FilterIndex = choice->filterIndex;
}

} // namespace brantock::platform
