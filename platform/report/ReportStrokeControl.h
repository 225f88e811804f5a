#pragma once

#include "platform/report/ReportControl.h"

#include <QColor>

namespace brantock::platform {

// What lines and boxes share: the colour and weight of their stroke.
class ReportStrokeControl : public ReportControl {
public:
    using ReportControl::ReportControl;

    const QColor& LineColor() const { return lineColor_; }
    void SetLineColor(const QColor& color) { lineColor_ = color; }
    int LineWeight() const { return lineWeight_; }
    // Twips; raises 380 outside 0 to PageLimits::MaxLineWeight.
    void SetLineWeight(int twips);

protected:
    PageItem strokeItem(PageItem::Kind kind) const;

private:
    QColor lineColor_{Qt::black};
    int lineWeight_ = 15;
};

} // namespace brantock::platform
