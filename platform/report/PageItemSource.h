#pragma once

#include "platform/report/ReportSectionKind.h"

#include <QString>

namespace brantock::platform {

// Where a page item came from, so that an export can rebuild the report's table from the
// pages: the band, the control, the data field a bound text showed and its data row.
struct PageItemSource {
    ReportSectionKind section = ReportSectionKind::Detail;
    QString control;
    QString field;
    int row = -1; // the row of the detail instance; -1 for every other band

    bool operator==(const PageItemSource&) const = default;
};

} // namespace brantock::platform
