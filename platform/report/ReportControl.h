#pragma once

#include "platform/report/PageItem.h"

#include <QString>

namespace brantock::platform {

// A control placed on a report band: its name, its box in twips from the band's top left
// and its visible switch. A control that is not visible prints nothing.
class ReportControl {
public:
    ReportControl(QString name, int left, int top, int width, int height);
    virtual ~ReportControl() = default;
    ReportControl(const ReportControl&) = delete;
    ReportControl& operator=(const ReportControl&) = delete;

    const QString& Name() const { return name_; }
    int Left() const { return left_; }
    void SetLeft(int twips) { left_ = twips; }
    int Top() const { return top_; }
    void SetTop(int twips) { top_ = twips; }
    int Width() const { return width_; }
    void SetWidth(int twips) { width_ = twips; }
    int Height() const { return height_; }
    void SetHeight(int twips) { height_ = twips; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }

    // The control as it prints, placed in its band (the band's top left being 0, 0).
    virtual PageItem Item() const = 0;

protected:
    // An item of this kind with the control's box (kept within PageLimits) and name.
    PageItem itemOf(PageItem::Kind kind) const;

private:
    QString name_;
    int left_;
    int top_;
    int width_;
    int height_;
    bool visible_ = true;
};

} // namespace brantock::platform
