#pragma once

#include "platform/report/ReportSectionKind.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace brantock::platform {

class ReportChart;
class ReportControl;
class ReportField;
class ReportLabel;
class ReportLine;
class ReportShape;

// One band of a report and the controls on it, in the order they were added (the order they
// are drawn). `Format` is raised for every instance of the band the run comes to, before it
// is placed; the band's visible switch as it stands after the event decides whether that
// instance prints. An instance that does not print takes no room.
class ReportSection : public QObject {
    Q_OBJECT
public:
    explicit ReportSection(ReportSectionKind kind);
    ~ReportSection() override;

    ReportSectionKind Kind() const { return kind_; }
    // "ReportHeader", "PageHeader", "Detail", "PageFooter" or "ReportFooter".
    QString Name() const;

    int Height() const { return height_; }
    // Twips; raises 380 below 0 or beyond PageLimits::MaxPlacement.
    void SetHeight(int twips);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // Boxes are twips from the band's top left; the band owns what it makes.
    ReportLabel& AddLabel(const QString& name, const QString& caption, int left, int top, int width,
                          int height);
    ReportField& AddField(const QString& name, const QString& dataField, int left, int top,
                          int width, int height);
    ReportLine& AddLine(const QString& name, int x1, int y1, int x2, int y2);
    ReportShape& AddShape(const QString& name, int left, int top, int width, int height);
    ReportChart& AddChart(const QString& name, int left, int top, int width, int height);

    const std::vector<std::unique_ptr<ReportControl>>& Controls() const { return controls_; }

Q_SIGNALS:
    void Format();

private:
    template <class T> T& add(std::unique_ptr<T> control);

    ReportSectionKind kind_;
    int height_ = 0;
    bool visible_ = true;
    std::vector<std::unique_ptr<ReportControl>> controls_;
};

} // namespace brantock::platform
