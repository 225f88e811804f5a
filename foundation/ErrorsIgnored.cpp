#include "foundation/ErrorsIgnored.h"

#include "runtime/RuntimeError.h"

#include <exception>

namespace brantock {

void ErrorsIgnored::run(std::initializer_list<Step> steps) {
    for (const Step& step : steps) {
        try {
            if (step() == Flow::Leave)
                return;
        } catch (const RuntimeError& e) {
            number_ = e.number();
            description_ = e.description();
        } catch (const std::exception& e) {
            number_ = err::InternalError;
            description_ = QString::fromUtf8(e.what());
        }
    }
}

void ErrorsIgnored::clear() {
    number_ = 0;
    description_.clear();
}

} // namespace brantock
