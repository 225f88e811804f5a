#include "platform/report/export/ExportFilters.h"

#include "platform/report/export/ExcelExport.h"
#include "platform/report/export/PdfExport.h"
#include "platform/report/export/RtfExport.h"
#include "platform/report/export/TextExport.h"
#include "platform/report/ReportError.h"

#include <functional>
#include <utility>

namespace brantock::platform {

std::unique_ptr<ExportFilter> ExportFilters::create(const QString& classId) {
    const std::pair<const QString&, std::function<std::unique_ptr<ExportFilter>()>> classes[] = {
        {PdfClassId, [] { return std::make_unique<PdfExport>(); }},
        {TextClassId, [] { return std::make_unique<TextExport>(); }},
        {RtfClassId, [] { return std::make_unique<RtfExport>(); }},
        {ExcelClassId, [] { return std::make_unique<ExcelExport>(); }},
    };
    for (const auto& [id, make] : classes)
        if (id.compare(classId, Qt::CaseInsensitive) == 0)
            return make();
    throw ReportError::make(
        reportErr::CannotCreateObject,
        QStringLiteral("Cannot create an export filter of the class %1.").arg(classId));
}

} // namespace brantock::platform
