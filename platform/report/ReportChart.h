#pragma once

#include "platform/data/MemoryRecordset.h"
#include "platform/report/ChartAxis.h"
#include "platform/report/ChartContent.h"
#include "platform/report/ChartLegend.h"
#include "platform/report/ReportControl.h"

#include <optional>

namespace brantock::platform {

// A chart on a band. Its data source is an in-memory record set: its first text field gives
// the category labels along the category axis, each numeric field (integer or real) one
// series named after the field, in field order. What it shows is taken when its band is
// laid out.
class ReportChart : public ReportControl {
public:
    using ReportControl::ReportControl;

    int ChartType() const { return chartType_; }
    // ChartContent's type codes, 0 to 7; raises 380 for any other.
    void SetChartType(int type);
    ChartLegend& Legend() { return legend_; }
    // Axis 0 is the category axis, the only one with settings; raises 5 for any other.
    ChartAxis& Axis(int axisId);

    // The chart keeps the rows (a cursor of its own on them) until it gets another source.
    void SetDataSource(const MemoryRecordset& rows) { source_ = rows.Clone(); }

    // What the chart shows now.
    ChartContent Content() const;
    PageItem Item() const override;

private:
    int chartType_ = ChartContent::Bar2D;
    ChartLegend legend_;
    ChartAxis categoryAxis_;
    std::optional<MemoryRecordset> source_;
};

} // namespace brantock::platform
