#include "platform/report/ReportSection.h"

#include "platform/report/PageLimits.h"
#include "platform/report/ReportChart.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportField.h"
#include "platform/report/ReportLabel.h"
#include "platform/report/ReportLine.h"
#include "platform/report/ReportShape.h"

namespace brantock::platform {

ReportSection::ReportSection(ReportSectionKind kind) : kind_(kind) {}

ReportSection::~ReportSection() = default;

QString ReportSection::Name() const {
    switch (kind_) {
    case ReportSectionKind::ReportHeader:
        return QStringLiteral("ReportHeader");
    case ReportSectionKind::PageHeader:
        return QStringLiteral("PageHeader");
    case ReportSectionKind::Detail:
        return QStringLiteral("Detail");
    case ReportSectionKind::PageFooter:
        return QStringLiteral("PageFooter");
    case ReportSectionKind::ReportFooter:
        return QStringLiteral("ReportFooter");
    }
    return QString();
}

void ReportSection::SetHeight(int twips) {
    if (twips < 0 || twips > PageLimits::MaxPlacement)
        throw ReportError::invalidProperty(QStringLiteral("Height"));
    height_ = twips;
}

template <class T> T& ReportSection::add(std::unique_ptr<T> control) {
    T& added = *control;
    controls_.push_back(std::move(control));
    return added;
}

ReportLabel& ReportSection::AddLabel(const QString& name, const QString& caption, int left, int top,
                                     int width, int height) {
    return add(std::make_unique<ReportLabel>(name, caption, left, top, width, height));
}

ReportField& ReportSection::AddField(const QString& name, const QString& dataField, int left,
                                     int top, int width, int height) {
    return add(std::make_unique<ReportField>(name, dataField, left, top, width, height));
}

ReportLine& ReportSection::AddLine(const QString& name, int x1, int y1, int x2, int y2) {
    return add(std::make_unique<ReportLine>(name, x1, y1, x2, y2));
}

ReportShape& ReportSection::AddShape(const QString& name, int left, int top, int width,
                                     int height) {
    return add(std::make_unique<ReportShape>(name, left, top, width, height));
}

ReportChart& ReportSection::AddChart(const QString& name, int left, int top, int width,
                                     int height) {
    return add(std::make_unique<ReportChart>(name, left, top, width, height));
}

} // namespace brantock::platform
