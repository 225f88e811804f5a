#include "tests/reports/support/PrintedReport.h"

namespace brantock::reports::testsupport {

using platform::PageItem;
using platform::ReportSectionKind;

PrintedReport::PrintedReport(const platform::ReportDocument& pages) : pages_(pages) {
    for (const platform::ReportPage& page : pages.pages) {
        int row = -1;
        for (const PageItem& item : page.items) {
            if (item.source.section != ReportSectionKind::Detail ||
                item.kind != PageItem::Kind::Text)
                continue;
            if (item.source.row != row) {
                row = item.source.row;
                lines_.emplace_back();
            }
            lines_.back()[item.source.control] = item.text;
        }
    }
}

const PageItem* PrintedReport::item(const QString& control) const {
    for (const platform::ReportPage& page : pages_.pages)
        for (const PageItem& item : page.items)
            if (item.source.section != ReportSectionKind::Detail && item.source.control == control)
                return &item;
    return nullptr;
}

QString PrintedReport::text(const QString& control) const {
    const PageItem* found = item(control);
    return found ? found->text : QString();
}

int PrintedReport::itemsOf(ReportSectionKind band) const {
    int count = 0;
    for (const platform::ReportPage& page : pages_.pages)
        for (const PageItem& item : page.items)
            count += item.source.section == band ? 1 : 0;
    return count;
}

std::shared_ptr<const platform::ChartContent> PrintedReport::chart() const {
    for (const platform::ReportPage& page : pages_.pages)
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Chart)
                return item.chart;
    return nullptr;
}

} // namespace brantock::reports::testsupport
