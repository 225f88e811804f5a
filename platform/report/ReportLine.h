#pragma once

#include "platform/report/ReportStrokeControl.h"

namespace brantock::platform {

// A ruling line from (x1, y1) to (x2, y2), twips within its band.
class ReportLine : public ReportStrokeControl {
public:
    ReportLine(QString name, int x1, int y1, int x2, int y2)
        : ReportStrokeControl(std::move(name), x1, y1, x2 - x1, y2 - y1) {}

    PageItem Item() const override { return strokeItem(PageItem::Kind::Line); }
};

} // namespace brantock::platform
