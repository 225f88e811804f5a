#pragma once

#include "platform/dialogs/ErrorPrompt.h"

#include <QString>

#include <functional>
#include <memory>

namespace brantock {

// The process-wide error reporter. Every error handed to it is recorded, with its trail and
// activity, in a log file; then the user is asked whether to abort ("3"), retry ("4") or go
// on with the next step ("5").
class ErrorHandler {
public:
    // A null prompt asks the process's prompt (platform::ErrorPrompt::current()); an empty
    // log path logs to DefaultLogPath().
    explicit ErrorHandler(std::shared_ptr<platform::ErrorPrompt> prompt = nullptr,
                          QString logPath = QString());

    QString HandleError(bool show, const QString& description, int number, const QString& trail,
                        const QString& detail, const QString& activity);

    void SetApplicationName(const QString& name) { applicationName_ = name; }
    void SetMode(const QString& mode) { mode_ = mode; }
    const QString& logPath() const { return logPath_; }

    // $XDG_STATE_HOME/halvern/errors.log (~/.local/state when unset).
    static QString DefaultLogPath();

    // The process's handler: the one installed at start, else a default one.
    static ErrorHandler& Current();
    static void Install(std::unique_ptr<ErrorHandler> handler);
    // Makes and installs the process's handler; a null text when that worked, else the
    // description of what stopped it.
    static QString TryInstall(const std::function<std::unique_ptr<ErrorHandler>()>& make);

private:
    void record(const platform::ErrorReport& report, const QString& answer) const;

    std::shared_ptr<platform::ErrorPrompt> prompt_;
    QString logPath_;
    QString applicationName_;
    QString mode_;
    bool asking_ = false;
};

} // namespace brantock
