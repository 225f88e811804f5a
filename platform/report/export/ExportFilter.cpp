#include "platform/report/export/ExportFilter.h"

#include "platform/report/ReportFile.h"

namespace brantock::platform {

void ExportFilter::Export(const ReportDocument& pages) const {
    ReportFile::write(fileName_, render(pages), kindName());
}

} // namespace brantock::platform
