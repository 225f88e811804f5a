#pragma once

#include "platform/report/ReportControl.h"

#include <QColor>
#include <QFont>

#include <optional>

namespace brantock::platform {

// What labels and text fields share: the font, the text colour and the alignment in the box.
class ReportTextControl : public ReportControl {
public:
    using ReportControl::ReportControl;

    const QFont& Font() const { return font_; }
    void SetFont(const QFont& font) {
        font_ = font;
        style_.reset();
    }
    const QColor& ForeColor() const { return foreColor_; }
    void SetForeColor(const QColor& color) {
        foreColor_ = color;
        style_.reset();
    }
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment) {
        alignment_ = alignment;
        style_.reset();
    }

protected:
    PageItem textItem(const QString& text) const;

private:
    QFont font_{QStringLiteral("Sans Serif"), 8};
    QColor foreColor_{Qt::black};
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignTop;
    // The style the properties give, made once for the many instances of a detail band.
    mutable std::optional<ItemStyle> style_;
};

} // namespace brantock::platform
