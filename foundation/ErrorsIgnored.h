#pragma once

#include "foundation/ReportingHandler.h"

#include <QString>

#include <initializer_list>

namespace brantock {

// Statements run with every error ignored: a failing one is passed over, the next one runs,
// and its error is kept as the last one until cleared. The procedures whose failures must
// never stop them (the unloads, the resizes, the controls' events) read nothing back; the
// port routines read the last error, because a port that fails to open is an answer to
// them, not a fault.
class ErrorsIgnored {
public:
    using Step = ReportingHandler::Step;

    // Runs the steps in order; a step returning Flow::Leave ends them.
    void run(std::initializer_list<Step> steps);
    void run(const Step& step) { run({step}); }

    // The last error kept: number 0 and no description when none was since the last clear.
    int number() const { return number_; }
    const QString& description() const { return description_; }
    void clear();

private:
    int number_ = 0;
    QString description_;
};

// The steps run with every error ignored, where nothing reads the last error back.
inline void RunIgnoringErrors(std::initializer_list<ErrorsIgnored::Step> steps) {
    ErrorsIgnored().run(steps);
}

} // namespace brantock
