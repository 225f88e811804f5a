#pragma once

#include "platform/report/ReportDocument.h"

class QPagedPaintDevice;

namespace brantock::platform {

// Puts a report's pages onto a paged device, a sheet each: a printer or a PDF writer.
class PagedOutput {
public:
    // Gives the device the page's paper and orientation, without margins (a page carries
    // its own).
    static void fitSheetTo(QPagedPaintDevice& device, const ReportPage& page);

    // Paints pages from to to (1-based, inclusive, kept within the document), each scaled to
    // fit its sheet and centred on it. With sizeSheets every sheet first gets its page's
    // paper; without, the device keeps the paper it has (a printer's chosen paper).
    // Raises 482 when the device cannot be painted on.
    static void write(const ReportDocument& document, QPagedPaintDevice& device, int from, int to,
                      bool sizeSheets);
};

} // namespace brantock::platform
