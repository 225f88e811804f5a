#pragma once

#include "platform/report/ChartContent.h"
#include "platform/report/ItemStyle.h"
#include "platform/report/PageItemSource.h"

#include <QString>

#include <memory>

namespace brantock::platform {

// One thing on a report page. Places are twips from the page's top left corner; a line runs
// from (left, top) to (left + width, top + height). The values are stored in page files:
// never renumber the kinds.
struct PageItem {
    enum class Kind : quint8 { Text = 0, Line = 1, Box = 2, Chart = 3 };

    Kind kind = Kind::Text;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    QString text;
    ItemStyle style;
    PageItemSource source;
    std::shared_ptr<const ChartContent> chart; // only for Kind::Chart

    bool operator==(const PageItem& other) const {
        const bool sameChart =
            chart == other.chart || (chart && other.chart && *chart == *other.chart);
        return kind == other.kind && left == other.left && top == other.top &&
               width == other.width && height == other.height && text == other.text &&
               style == other.style && source == other.source && sameChart;
    }
};

} // namespace brantock::platform
