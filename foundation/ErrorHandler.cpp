#include "foundation/ErrorHandler.h"

#include "foundation/App.h"
#include "runtime/ProductConfig.h"

#include "runtime/Clock.h"
#include "runtime/DateFormat.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <mutex>

namespace brantock {

namespace {

std::mutex installMutex;
std::unique_ptr<ErrorHandler>& installed() {
    static std::unique_ptr<ErrorHandler> handler;
    return handler;
}

QString oneLine(QString text) {
    text.replace(u'\\', QLatin1String("\\\\"));
    text.replace(u'\n', QLatin1String("\\n"));
    text.replace(u'\r', QLatin1String("\\r"));
    text.replace(u'\t', QLatin1String("\\t"));
    return text;
}

} // namespace

ErrorHandler::ErrorHandler(std::shared_ptr<platform::ErrorPrompt> prompt, QString logPath)
    : prompt_(std::move(prompt)),
      logPath_(logPath.isEmpty() ? DefaultLogPath() : std::move(logPath)) {}

QString ErrorHandler::DefaultLogPath() {
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !state.startsWith(u'/'))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + u'/' + QLatin1String(config::VendorFolder) + QStringLiteral("/errors.log");
}

QString ErrorHandler::HandleError(bool show, const QString& description, int number,
                                  const QString& trail, const QString& detail,
                                  const QString& activity) {
    // A program that gives no name (the reports program) is named by its title, as its
    // other boxes are.
    const platform::ErrorReport report{applicationName_.isEmpty() ? App::Title() : applicationName_,
                                       description,
                                       number,
                                       trail,
                                       detail,
                                       activity};
    // Not asked to show: nothing can be chosen, so the procedure leaves. While one question
    // is open, events still run (a serial change, a tick) and may fail the same way: they are
    // recorded and their procedures leave, rather than stacking a box for each.
    QString answer = platform::answer::Leave;
    if (show && !asking_) {
        asking_ = true;
        try {
            answer = (prompt_ ? *prompt_ : platform::ErrorPrompt::current()).ask(report);
        } catch (...) {
            asking_ = false;
            throw;
        }
        asking_ = false;
    }
    record(report, answer);
    return answer;
}

void ErrorHandler::record(const platform::ErrorReport& report, const QString& answer) const {
    // A log that cannot be written must never add a failure of its own.
    QDir().mkpath(QFileInfo(logPath_).path());
    QFile log(logPath_);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        return;
    const DateValue now = Clock::current().now();
    // Joined, not formatted: the texts themselves may hold "%1" and the like.
    const QString fields[] = {now.date().toString(Qt::ISODate) + u' ' +
                                  now.time().toString(QStringLiteral("HH:mm:ss.zzz")),
                              oneLine(report.applicationName) + u'[' +
                                  QString::number(QCoreApplication::applicationPid()) + u']',
                              QStringLiteral("mode=") + oneLine(mode_),
                              QStringLiteral("error=") + QString::number(report.number),
                              oneLine(report.description),
                              QStringLiteral("trail=") + oneLine(report.trail),
                              QStringLiteral("activity=") + oneLine(report.activity),
                              QStringLiteral("detail=") + oneLine(report.detail),
                              QStringLiteral("answer=") + oneLine(answer)};
    QString line;
    for (const QString& field : fields)
        line += (line.isEmpty() ? QString() : QStringLiteral("\t")) + field;
    line += u'\n';
    log.write(line.toUtf8());
}

ErrorHandler& ErrorHandler::Current() {
    std::lock_guard lock(installMutex);
    if (!installed())
        installed() = std::make_unique<ErrorHandler>();
    return *installed();
}

QString ErrorHandler::TryInstall(const std::function<std::unique_ptr<ErrorHandler>()>& make) {
    try {
        Install(make());
        return QString();
    } catch (const RuntimeError& e) {
        return e.description();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
}

void ErrorHandler::Install(std::unique_ptr<ErrorHandler> handler) {
    std::lock_guard lock(installMutex);
    installed() = std::move(handler);
}

} // namespace brantock
