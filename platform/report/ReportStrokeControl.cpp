#include "platform/report/ReportStrokeControl.h"

#include "platform/report/PageLimits.h"
#include "platform/report/ReportError.h"

namespace brantock::platform {

void ReportStrokeControl::SetLineWeight(int twips) {
    if (twips < 0 || twips > PageLimits::MaxLineWeight)
        throw ReportError::invalidProperty(QStringLiteral("LineWeight"));
    lineWeight_ = twips;
}

PageItem ReportStrokeControl::strokeItem(PageItem::Kind kind) const {
    PageItem item = itemOf(kind);
    item.style.color = lineColor_.rgba();
    item.style.lineWeight = lineWeight_;
    return item;
}

} // namespace brantock::platform
