#pragma once

#include "platform/report/ChartContent.h"
#include "platform/report/PageItem.h"
#include "platform/report/ReportDocument.h"

#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace brantock::reports::testsupport {

// A report's laid-out pages read as a user reads them: the texts of the bands, each printed
// detail line with its texts by control, and the chart.
class PrintedReport {
public:
    using Line = std::map<QString, QString>;

    explicit PrintedReport(const platform::ReportDocument& pages);

    // The detail lines in the order they print, each control's text by its name.
    const std::vector<Line>& lines() const { return lines_; }
    // The first printed item of a control outside the detail band; null when it prints none.
    const platform::PageItem* item(const QString& control) const;
    // Its text; empty when it does not print.
    QString text(const QString& control) const;
    bool prints(const QString& control) const { return item(control) != nullptr; }
    // Items printed from a band, over every page.
    int itemsOf(platform::ReportSectionKind band) const;
    // What the first chart showed; null when none printed.
    std::shared_ptr<const platform::ChartContent> chart() const;

private:
    const platform::ReportDocument& pages_;
    std::vector<Line> lines_;
};

} // namespace brantock::reports::testsupport
