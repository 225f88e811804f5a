#pragma once

#include "platform/report/ChartContent.h"
#include "platform/report/ChartLayout.h"

#include <QRectF>
#include <QRgb>

class QPainter;

namespace brantock::platform {

// Draws a chart into a box of the painter's logical units, which the page painter makes
// twips. Sizes are in those units only (no device pixels, no hinting), so the chart looks
// the same on the screen, a printer and a PDF.
//
// The types by code: bars, lines, areas and steps, each with depth (even codes) or flat (odd
// codes). Flat bars stand side by side in each category; flat areas are stacked; the types
// with depth give each series a row of its own, the first series in front.
class ChartPainter {
public:
    static QRgb seriesColor(int series);
    static ChartLayout layout(const ChartContent& content, const QRectF& box);
    static void paint(QPainter& painter, const ChartContent& content, const QRectF& box);
};

} // namespace brantock::platform
