#pragma once

#include <QString>

namespace brantock::platform {

// The error handler's answers, as the texts it returns.
namespace answer {
inline const QString Leave = QStringLiteral("3");
inline const QString Retry = QStringLiteral("4");
inline const QString Continue = QStringLiteral("5");
} // namespace answer

// What the error handler shows when it asks how to go on.
struct ErrorReport {
    QString applicationName;
    QString description;
    int number = 0;
    QString trail;
    QString detail;
    QString activity;
};

// Asks the user Abort ("3"), Retry ("4") or Ignore ("5"). Tests and headless runs put an
// answerer of their own in its place.
class ErrorPrompt {
public:
    virtual ~ErrorPrompt() = default;
    virtual QString ask(const ErrorReport& report) = 0;

    // The process's prompt: the one a program or a test installed, else one that answers
    // Leave.
    static ErrorPrompt& current();
    static void setCurrent(ErrorPrompt* prompt);
};

} // namespace brantock::platform
