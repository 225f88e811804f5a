#pragma once

#include <QList>
#include <QStringList>

namespace brantock::platform {

// What a chart shows, taken from its settings and its data source when its band is laid
// out: the pages keep it, so the chart is drawn again from the pages alone.
struct ChartContent {
    // Chart type codes; even codes have depth.
    enum Type : int {
        Bar3D = 0,
        Bar2D = 1,
        Line3D = 2,
        Line2D = 3,
        Area3D = 4,
        Area2D = 5,
        Step3D = 6,
        Step2D = 7,
    };
    static constexpr int TypeCount = 8;

    int chartType = Bar2D;
    int legendLocation = 0; // ChartLegend's location type
    int labelSpacing = 1;   // ChartAxis settings of the category axis
    int tickSpacing = 1;
    QStringList categories;
    QStringList seriesNames;
    QList<QList<double>> values; // [series][category]

    bool operator==(const ChartContent&) const = default;
};

} // namespace brantock::platform
