#include "platform/ui/DialogErrorPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace brantock::platform {

bool DialogErrorPrompt::canShowDialogs() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QString DialogErrorPrompt::ask(const ErrorReport& report) {
    if (!canShowDialogs())
        return answer::Leave;
    QMessageBox box(QMessageBox::Critical,
                    report.applicationName.isEmpty() ? QCoreApplication::applicationName()
                                                     : report.applicationName,
                    report.description,
                    QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore,
                    QApplication::activeWindow());
    QString info = QStringLiteral("Error %1").arg(report.number);
    if (!report.activity.isEmpty())
        info += QStringLiteral(" while %1").arg(report.activity);
    info += u'.';
    box.setInformativeText(info);
    QString details = QStringLiteral("Where: %1").arg(report.trail);
    if (!report.detail.isEmpty())
        details += QStringLiteral("\n%1").arg(report.detail);
    box.setDetailedText(details);
    box.setDefaultButton(QMessageBox::Retry);
    box.setEscapeButton(QMessageBox::Abort);
    switch (box.exec()) {
    case QMessageBox::Retry:
        return answer::Retry;
    case QMessageBox::Ignore:
        return answer::Continue;
    default:
        return answer::Leave;
    }
}

} // namespace brantock::platform
