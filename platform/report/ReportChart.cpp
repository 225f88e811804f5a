#include "platform/report/ReportChart.h"

#include "platform/report/ReportError.h"

#include <cmath>

namespace brantock::platform {

namespace {

bool isNumber(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A field kept as given (rows read from a query) is a series when every value it holds is a
// number, and text otherwise.
bool variantIsNumeric(MemoryRecordset rows, int field) {
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
        const QVariant value = rows.Fields(field);
        if (!value.isNull() && !isNumber(value))
            return false;
    }
    return true;
}

// A value that is not a number plots as 0.
double finite(double value) {
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

void ReportChart::SetChartType(int type) {
    if (type < 0 || type >= ChartContent::TypeCount)
        throw ReportError::invalidProperty(QStringLiteral("ChartType"));
    chartType_ = type;
}

ChartAxis& ReportChart::Axis(int axisId) {
    if (axisId != 0)
        throw ReportError::make(err::InvalidProcedureCall,
                                QStringLiteral("The chart has no axis %1.").arg(axisId));
    return categoryAxis_;
}

ChartContent ReportChart::Content() const {
    ChartContent content;
    content.chartType = chartType_;
    content.legendLocation = legend_.LocationType();
    content.labelSpacing = categoryAxis_.LabelSpacing();
    content.tickSpacing = categoryAxis_.TickSpacing();
    if (!source_)
        return content;

    MemoryRecordset rows = source_->Clone();
    int labels = -1;
    std::vector<int> series;
    for (int i = 0; i < rows.FieldCount(); ++i) {
        const MemoryField& field = rows.Field(i);
        using Type = MemoryField::Type;
        const bool numeric = field.type == Type::Integer || field.type == Type::Double ||
                             (field.type == Type::Variant && variantIsNumeric(rows, i));
        if (numeric) {
            series.push_back(i);
            content.seriesNames << field.name;
        } else if (labels < 0 && (field.type == Type::Text || field.type == Type::Variant)) {
            labels = i;
        }
    }
    content.values.resize(qsizetype(series.size()));
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) {
        content.categories << (labels >= 0 ? rows.Fields(labels).toString()
                                           : QString::number(content.categories.size() + 1));
        for (std::size_t s = 0; s < series.size(); ++s)
            content.values[qsizetype(s)] << finite(rows.Fields(series[s]).toDouble());
    }
    return content;
}

PageItem ReportChart::Item() const {
    PageItem item = itemOf(PageItem::Kind::Chart);
    item.chart = std::make_shared<const ChartContent>(Content());
    return item;
}

} // namespace brantock::platform
