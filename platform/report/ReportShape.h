#pragma once

#include "platform/report/ReportStrokeControl.h"

namespace brantock::platform {

// A box drawn around its rectangle, not filled.
class ReportShape : public ReportStrokeControl {
public:
    using ReportStrokeControl::ReportStrokeControl;

    PageItem Item() const override { return strokeItem(PageItem::Kind::Box); }
};

} // namespace brantock::platform
