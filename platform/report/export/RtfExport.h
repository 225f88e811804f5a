#pragma once

#include "platform/report/export/ExportFilter.h"

namespace brantock::platform {

// The report as rich text: the report header's lines as paragraphs, then the table with the
// columns' widths from the page, its column titles repeated on every page; each text in its
// font, size, weight and colour. Texts beyond ASCII are written as \u escapes.
class RtfExport : public ExportFilter {
public:
    // A text as RTF: the control characters \ { } escaped, tab and line break as their
    // control words, other control characters dropped, and every character beyond ASCII
    // as \uN? (N its UTF-16 unit as a signed number).
    static QByteArray escaped(const QString& text);

protected:
    QByteArray render(const ReportDocument& pages) const override;
    QString kindName() const override { return QStringLiteral("rich text file"); }
};

} // namespace brantock::platform
