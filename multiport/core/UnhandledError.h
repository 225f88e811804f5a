#pragma once

#include <QString>

#include <functional>

namespace brantock::multiport {

// The two-port programs have no error handler: a run-time error that leaves one of their
// procedures ends the program with the platform's standard box, a critical one saying
// "Run-time error 'N':", a blank line and the error's description.
class UnhandledError {
public:
    // What the program returns once an error has ended it.
    static constexpr int ExitCode = 1;

    static QString Text(int number, const QString& description);

    // Runs a procedure. An error leaving it is shown and ends the program: the event loop
    // quits with ExitCode, and from then on Run runs nothing more. False when the program
    // has ended.
    static bool Run(const std::function<void()>& procedure);
    static bool Ended();
};

} // namespace brantock::multiport
