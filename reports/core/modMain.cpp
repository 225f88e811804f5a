#include "reports/core/modMain.h"

#include "platform/report/export/ExportFilters.h"
#include "platform/report/Report.h"
#include "reports/core/ExportKind.h"
#include "runtime/RuntimeError.h"

#include <exception>
#include <memory>

namespace brantock::reports {

namespace {

// Runs a write with errors passing on: true when it raised nothing.
template <class F> bool withoutError(F&& write) {
    try {
        write();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

const platform::ReportDocument& pagesOf(const platform::Report* report) {
    if (!report)
        throw RuntimeError::of(err::ObjectNotSet);
    return report->Pages();
}

} // namespace

bool SaveReport(const platform::Report* report, const QString& FileName, std::int32_t kind) {
    return withTrail("SaveReport&", [&] {
        const ExportKind exportKind = ExportKind::of(kind);
        if (exportKind.classId.isEmpty())
            return withoutError([&] { pagesOf(report).Save(FileName); });
        const std::unique_ptr<platform::ExportFilter> filter =
            platform::ExportFilters::create(exportKind.classId);
        filter->SetFileName(FileName);
        return withoutError([&] { filter->Export(pagesOf(report)); });
    });
}

} // namespace brantock::reports
