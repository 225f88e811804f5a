#pragma once

#include "platform/report/ReportPage.h"

#include <QRectF>

class QPainter;

namespace brantock::platform {

// The one routine that draws a laid-out page, for the viewer, the printer and PDF alike.
class PagePainter {
public:
    // Draws the page scaled into target (the painter's units), on white; give target the
    // page's proportions.
    static void paint(QPainter& painter, const ReportPage& page, const QRectF& target);
};

} // namespace brantock::platform
