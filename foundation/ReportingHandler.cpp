#include "foundation/ReportingHandler.h"

#include "foundation/ErrorHandler.h"
#include "runtime/RuntimeError.h"

namespace brantock {

ReportingHandler::ReportingHandler(QAnyStringView trail, QAnyStringView activity,
                                   QAnyStringView detail, bool withSource)
    : trail_(trail.toString()), activity_(activity.toString()), detail_(detail.toString()),
      withSource_(withSource) {}

ReportingHandler ReportingHandler::WithSource(QAnyStringView trail, QAnyStringView activity,
                                              QAnyStringView detail) {
    return ReportingHandler(trail, activity, detail, true);
}

bool ReportingHandler::run(std::initializer_list<Step> steps) const {
    return run(steps.begin(), steps.end());
}

bool ReportingHandler::run(const std::vector<Step>& steps) const {
    return run(steps.data(), steps.data() + steps.size());
}

bool ReportingHandler::run(const Step* first, const Step* last) const {
    for (const Step* step = first; step != last; ++step) {
        for (;;) {
            QString answer;
            try {
                if ((*step)() == Flow::Leave)
                    return true;
                break;
            } catch (const RuntimeError& e) {
                answer = ErrorHandler::Current().HandleError(
                    true, e.description(), e.number(), withSource_ ? trail_ + e.source() : trail_,
                    detail_, activity_);
            } catch (const std::bad_alloc&) {
                answer = ErrorHandler::Current().HandleError(
                    true, RuntimeError::standardDescription(err::OutOfMemory), err::OutOfMemory,
                    trail_, detail_, activity_);
            } catch (const std::exception& e) {
                answer = ErrorHandler::Current().HandleError(true, QString::fromUtf8(e.what()),
                                                             err::InternalError, trail_, detail_,
                                                             activity_);
            }
            if (answer == answer::Retry)
                continue;
            if (answer == answer::Continue)
                break;
            return false;
        }
    }
    return true;
}

} // namespace brantock
