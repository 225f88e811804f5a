#include "platform/report/PagedOutput.h"

#include "platform/report/PagePainter.h"
#include "platform/report/ReportError.h"

#include <QPagedPaintDevice>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

#include <algorithm>

namespace brantock::platform {

namespace {

constexpr double TwipsPerPoint = 20;

// The sheet in the painter's units: the painter starts at the corner of the printable area.
QRectF sheetOf(const QPagedPaintDevice& device) {
    const QPageLayout layout = device.pageLayout();
    const int dpi = device.logicalDpiX();
    const QRect full = layout.fullRectPixels(dpi);
    const QRect printable = layout.paintRectPixels(dpi);
    return QRectF(-printable.left(), -printable.top(), full.width(), full.height());
}

QRectF fitted(const ReportPage& page, const QRectF& sheet) {
    const double scale = std::min(sheet.width() / page.width, sheet.height() / page.height);
    const QSizeF size(page.width * scale, page.height * scale);
    return QRectF(sheet.center() - QPointF(size.width() / 2, size.height() / 2), size);
}

RuntimeError printerError() {
    return ReportError::make(reportErr::PrinterError,
                             QStringLiteral("The report could not be printed: the printer or "
                                            "output file could not be opened."));
}

} // namespace

void PagedOutput::fitSheetTo(QPagedPaintDevice& device, const ReportPage& page) {
    const bool landscape = page.width > page.height;
    const QSizeF upright(std::min(page.width, page.height) / TwipsPerPoint,
                         std::max(page.width, page.height) / TwipsPerPoint);
    device.setPageLayout(QPageLayout(QPageSize(upright, QPageSize::Point),
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0)));
}

void PagedOutput::write(const ReportDocument& document, QPagedPaintDevice& device, int from, int to,
                        bool sizeSheets) {
    from = std::max(from, 1);
    to = std::min(to, document.Count());
    if (from > to)
        return;
    if (sizeSheets)
        fitSheetTo(device, document.pages[std::size_t(from - 1)]);
    QPainter painter;
    if (!painter.begin(&device))
        throw printerError();
    for (int number = from; number <= to; ++number) {
        const ReportPage& page = document.pages[std::size_t(number - 1)];
        if (number > from) {
            if (sizeSheets)
                fitSheetTo(device, page);
            if (!device.newPage())
                throw printerError();
        }
        PagePainter::paint(painter, page, fitted(page, sheetOf(device)));
    }
    if (!painter.end())
        throw printerError();
}

} // namespace brantock::platform
