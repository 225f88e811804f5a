#pragma once

#include "platform/dialogs/ErrorPrompt.h"

#include <QAnyStringView>
#include <QString>

#include <concepts>
#include <functional>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

namespace brantock {

namespace answer = platform::answer;

// What a step says about the rest of its procedure: go on, or leave it now (the procedure's
// own early exit, which is no error).
enum class Flow { Next, Leave };

// The error handling of a reporting procedure. Its steps run in order; a run-time error in a
// step goes to the error handler with the procedure's trail, and the answer decides: Retry
// runs the failing step again, Continue goes on with the next step, anything else leaves.
class ReportingHandler {
public:
    // One step: a callable that returns nothing (then the procedure goes on) or a Flow.
    class Step {
    public:
        template <class F>
        requires std::invocable<F&> Step(F f) { // NOLINT: steps are written as plain lambdas
            if constexpr (std::is_void_v<std::invoke_result_t<F&>>)
                run_ = [f = std::move(f)]() mutable {
                    f();
                    return Flow::Next;
                };
            else
                run_ = std::move(f);
        }
        Flow operator()() const { return run_(); }

    private:
        std::function<Flow()> run_;
    };

    // trail: the procedure's name followed by "&"; withSource: the error's own source text
    // (the trail of the procedures it came through) follows it. The texts are usually plain
    // literals: ReportingHandler("cmdOK_Click&", "processing mouse click").
    explicit ReportingHandler(QAnyStringView trail, QAnyStringView activity = {},
                              QAnyStringView detail = {}, bool withSource = false);

    static ReportingHandler WithSource(QAnyStringView trail, QAnyStringView activity = {},
                                       QAnyStringView detail = {});

    // False when an error's answer made the procedure leave; true when every step ran, was
    // passed over by Continue, or a step left of its own accord.
    bool run(std::initializer_list<Step> steps) const;
    // Steps put together from parts that several procedures share.
    bool run(const std::vector<Step>& steps) const;
    bool run(const Step& step) const { return run({step}); }

private:
    bool run(const Step* first, const Step* last) const;

    QString trail_;
    QString activity_;
    QString detail_;
    bool withSource_;
};

} // namespace brantock
