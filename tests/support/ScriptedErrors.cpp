#include "tests/support/ScriptedErrors.h"

#include <QFile>

namespace brantock::testsupport {

class ScriptedErrors::Prompt : public platform::ErrorPrompt {
public:
    QString ask(const platform::ErrorReport& report) override {
        reports.push_back(report);
        if (whileOpen)
            whileOpen();
        if (answers.empty())
            return QStringLiteral("3");
        const QString a = answers.front();
        answers.pop_front();
        return a;
    }
    std::deque<QString> answers;
    std::vector<platform::ErrorReport> reports;
    std::function<void()> whileOpen;
};

ScriptedErrors::ScriptedErrors() : prompt_(std::make_shared<Prompt>()) {
    auto handler =
        std::make_unique<ErrorHandler>(prompt_, folder_.file(QStringLiteral("errors.log")));
    handler_ = handler.get();
    ErrorHandler::Install(std::move(handler));
}

ScriptedErrors::~ScriptedErrors() {
    ErrorHandler::Install(nullptr);
}

void ScriptedErrors::whileOpen(std::function<void()> action) {
    prompt_->whileOpen = std::move(action);
}

void ScriptedErrors::answer(const QString& a) {
    prompt_->answers.push_back(a);
}

const std::vector<platform::ErrorReport>& ScriptedErrors::reports() const {
    return prompt_->reports;
}

QString ScriptedErrors::logText() const {
    QFile log(handler_->logPath());
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

} // namespace brantock::testsupport
