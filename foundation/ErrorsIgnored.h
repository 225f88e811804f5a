#pragma once

#include "foundation/ReportingHandler.h"

#include <exception>
#include <initializer_list>

namespace brantock {

// Runs the steps in order; a failing step is passed over and the next one runs. For the
// procedures whose failures must never stop them (the unload, the resize, parts of the start).
inline void RunIgnoringErrors(std::initializer_list<ReportingHandler::Step> steps) {
    for (const ReportingHandler::Step& step : steps) {
        try {
            if (step() == Flow::Leave)
                return;
        } catch (const std::exception&) {
        }
    }
}

} // namespace brantock
