#pragma once

#include "platform/report/export/ExportFilter.h"

namespace brantock::platform {

// The report as plain UTF-8 text: the report header's lines, a blank line, then the table
// in columns as wide as their longest text, two blanks apart, numbers right-aligned.
class TextExport : public ExportFilter {
protected:
    QByteArray render(const ReportDocument& pages) const override;
    QString kindName() const override { return QStringLiteral("text file"); }
};

} // namespace brantock::platform
