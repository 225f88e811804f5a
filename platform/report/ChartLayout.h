#pragma once

#include "platform/report/ChartContent.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace brantock::platform {

// Where the parts of a chart go inside its box, in the box's units (twips on a page).
struct ChartLayout {
    struct Label {
        QString text;
        QRectF box; // the text's own width; on one row no two boxes meet
    };
    QRectF plot;             // the front plane, where values and categories map
    QPointF depth;           // from the front plane to the back wall; (0, 0) for flat types
    QRectF labels;           // the band of category labels under the plot
    QRectF legend;           // the legend; empty without series
    QList<QRectF> keys;      // one legend entry per series: its colour swatch
    QList<QPointF> keyTexts; // where each entry's name starts (its text baseline)
    int labelStep = 1;       // every labelStep-th category is labelled
    int labelRows = 1;       // labels that would run into each other alternate on two rows
    int tickStep = 1;
    QList<Label> categoryLabels; // the category labels drawn, left to right
    double minimum = 0;          // the value scale
    double maximum = 1;
    double step = 1;

    double categoryWidth(const ChartContent& content) const {
        return plot.width() / std::max<qsizetype>(1, content.categories.size());
    }
    double yOf(double value) const {
        return plot.bottom() - (value - minimum) / (maximum - minimum) * plot.height();
    }
};

} // namespace brantock::platform
