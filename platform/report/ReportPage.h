#pragma once

#include "platform/report/PageItem.h"

#include <vector>

namespace brantock::platform {

// One laid-out page: its paper size in twips (as oriented) and what is on it, in the order
// it is drawn.
struct ReportPage {
    int width = 0;
    int height = 0;
    std::vector<PageItem> items;

    bool operator==(const ReportPage&) const = default;
};

} // namespace brantock::platform
