#include "platform/report/ReportControl.h"

#include "platform/report/PageLimits.h"

#include <algorithm>

namespace brantock::platform {

namespace {

int bounded(int twips) {
    return std::clamp(twips, -PageLimits::MaxPlacement, PageLimits::MaxPlacement);
}

} // namespace

ReportControl::ReportControl(QString name, int left, int top, int width, int height)
    : name_(std::move(name)), left_(left), top_(top), width_(width), height_(height) {}

PageItem ReportControl::itemOf(PageItem::Kind kind) const {
    PageItem item;
    item.kind = kind;
    item.left = bounded(left_);
    item.top = bounded(top_);
    item.width = bounded(width_);
    item.height = bounded(height_);
    item.source.control = name_;
    return item;
}

} // namespace brantock::platform
