#pragma once

#include "platform/report/export/ExportFilter.h"

namespace brantock::platform {

// The pages as a PDF, drawn as the viewer and the printer draw them, a sheet of the page's
// own paper each; the report's caption is the document's title.
class PdfExport : public ExportFilter {
protected:
    QByteArray render(const ReportDocument& pages) const override;
    QString kindName() const override { return QStringLiteral("PDF file"); }
};

} // namespace brantock::platform
