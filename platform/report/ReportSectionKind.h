#pragma once

#include <QtGlobal>

namespace brantock::platform {

// The bands of a report. The values are stored in page files: never renumber them.
enum class ReportSectionKind : quint8 {
    ReportHeader = 0,
    PageHeader = 1,
    Detail = 2,
    PageFooter = 3,
    ReportFooter = 4,
};

} // namespace brantock::platform
