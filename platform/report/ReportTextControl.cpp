#include "platform/report/ReportTextControl.h"

#include "platform/report/PageLimits.h"

#include <algorithm>

namespace brantock::platform {

PageItem ReportTextControl::textItem(const QString& text) const {
    PageItem item = itemOf(PageItem::Kind::Text);
    item.text = text;
    if (!style_) {
        ItemStyle style;
        style.fontFamily = font_.family();
        // A font given in pixels counts at 96 dots per inch.
        const double points =
            font_.pointSizeF() > 0 ? font_.pointSizeF() : font_.pixelSize() * 0.75;
        style.fontSize = std::clamp(points, PageLimits::MinFontSize, PageLimits::MaxFontSize);
        style.bold = font_.bold();
        style.italic = font_.italic();
        style.underline = font_.underline();
        style.color = foreColor_.rgba();
        style.alignment = int(alignment_ & (Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask));
        style_ = style;
    }
    item.style = *style_;
    return item;
}

} // namespace brantock::platform
