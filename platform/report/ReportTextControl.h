#pragma once

#include "platform/report/ReportControl.h"

#include <QColor>
#include <QFont>

namespace brantock::platform {

// What labels and text fields share: the font, the text colour and the alignment in the box.
class ReportTextControl : public ReportControl {
public:
    using ReportControl::ReportControl;

    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) { font_ = font; }
    const QColor& ForeColor() const { return foreColor_; }
    void SetForeColor(const QColor& color) { foreColor_ = color; }
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment) { alignment_ = alignment; }

protected:
    PageItem textItem(const QString& text) const;

private:
    QFont font_{QStringLiteral("Sans Serif"), 8};
    QColor foreColor_{Qt::black};
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
};

} // namespace brantock::platform
