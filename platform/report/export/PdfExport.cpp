#include "platform/report/export/PdfExport.h"

#include "platform/report/PagedOutput.h"
#include "platform/report/ReportError.h"
#include "runtime/ProductConfig.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace brantock::platform {

QByteArray PdfExport::render(const ReportDocument& pages) const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(pages.caption);
        writer.setCreator(QString::fromUtf8(config::ProductName));
        if (pages.Count() > 0) {
            PagedOutput::write(pages, writer, 1, pages.Count(), true);
        } else {
            // A report without pages still makes a PDF that opens: one empty sheet.
            QPainter painter;
            if (!painter.begin(&writer) || !painter.end())
                throw ReportError::make(reportErr::PrinterError,
                                        QStringLiteral("The PDF could not be made."));
        }
    }
    return buffer.data();
}

} // namespace brantock::platform
