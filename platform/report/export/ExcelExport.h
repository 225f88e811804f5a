#pragma once

#include "platform/report/export/ExportFilter.h"

namespace brantock::platform {

// The report as an Office Open XML spreadsheet (.xlsx): one sheet named after the report,
// the report header's lines at the top, a blank row, then the table; numbers are number
// cells, every other text a text cell, bold, italic and aligned as on the page.
class ExcelExport : public ExportFilter {
public:
    // A sheet name from the caption: without the characters a sheet name may not hold, at
    // most 31 characters, "Report" when nothing is left.
    static QString sheetName(const QString& caption);

protected:
    QByteArray render(const ReportDocument& pages) const override;
    QString kindName() const override { return QStringLiteral("spreadsheet"); }
};

} // namespace brantock::platform
