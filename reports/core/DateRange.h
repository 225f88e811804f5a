#pragma once

#include "runtime/DateValue.h"

namespace brantock::reports {

// A range of days, both ends included.
struct DateRange {
    DateValue start;
    DateValue end;
};

} // namespace brantock::reports
