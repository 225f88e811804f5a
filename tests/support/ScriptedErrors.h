#pragma once

#include "foundation/ErrorHandler.h"
#include "platform/dialogs/ErrorPrompt.h"
#include "tests/support/TestEnvironment.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace brantock::testsupport {

// Installs an error handler whose questions are answered from a script ("3" once the
// script is empty) and whose log goes to a scratch folder; every report is kept.
class ScriptedErrors {
public:
    ScriptedErrors();
    ~ScriptedErrors();

    void answer(const QString& a);
    // Runs before each question is answered, as if it happened while the box was open.
    void whileOpen(std::function<void()> action);
    const std::vector<platform::ErrorReport>& reports() const;
    ErrorHandler& handler() { return *handler_; }
    QString logText() const;

private:
    class Prompt;
    ScratchFolder folder_;
    std::shared_ptr<Prompt> prompt_;
    ErrorHandler* handler_ = nullptr;
};

} // namespace brantock::testsupport
