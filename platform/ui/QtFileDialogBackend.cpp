#include "platform/ui/QtFileDialogBackend.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace brantock::platform {

namespace {

QString qtFilter(const QString& description, const QString& patterns) {
    QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& p : list)
        p = p.trimmed();
    // A description that already shows its patterns ("PDF (*.pdf)") shows them once.
    QString name = description;
    const qsizetype open = description.lastIndexOf(u'(');
    if (open >= 0 && description.endsWith(u')')) {
        static const QRegularExpression separators(QStringLiteral("[;,\\s]+"));
        const QStringList shown = description.mid(open + 1, description.size() - open - 2)
                                      .split(separators, Qt::SkipEmptyParts);
        if (shown == list)
            name = description.left(open).trimmed();
    }
    for (QString& p : list)
        if (p == u"*.*")
            p = QStringLiteral("*");
    return QStringLiteral("%1 (%2)").arg(name, list.join(u' '));
}

} // namespace

std::optional<FileDialogChoice> QtFileDialogBackend::run(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    QStringList filters;
    for (qsizetype i = 0; i < request.descriptions.size(); ++i)
        filters << qtFilter(request.descriptions[i], request.patterns.value(i));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    const QFileInfo initial(request.initialFolder);
    if (initial.isFile()) {
        dialog.setDirectory(initial.absolutePath());
        dialog.selectFile(initial.fileName());
    } else if (!request.initialFolder.isEmpty()) {
        dialog.setDirectory(request.initialFolder);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return FileDialogChoice{dialog.selectedFiles().first(),
                            int(filters.indexOf(dialog.selectedNameFilter())) + 1};
}

} // namespace brantock::platform
