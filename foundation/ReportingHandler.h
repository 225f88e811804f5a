#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

namespace brantock {

// The error handling of a reporting procedure. Its steps run in order; a run-time error in a
// step goes to the error handler with the procedure's trail, and the answer decides: "4"
// runs the failing step again, "5" goes on with the next step, anything else leaves.
class ReportingHandler {
public:
    using Step = std::function<void()>;

    // trail: the procedure's name followed by "&"; withSource: the error's own source text
    // (the trail of the procedures it came through) follows it.
    explicit ReportingHandler(QString trail, QString activity = QString(),
                              QString detail = QString(), bool withSource = false);

    static ReportingHandler WithSource(QString trail, QString activity = QString(),
                                       QString detail = QString());

    // True when every step ran or was passed over by "5"; false when the procedure left.
    bool run(std::initializer_list<Step> steps) const;
    bool run(const Step& step) const { return run({step}); }

private:
    QString trail_;
    QString activity_;
    QString detail_;
    bool withSource_;
};

} // namespace brantock
