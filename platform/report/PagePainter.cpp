#include "platform/report/PagePainter.h"

#include "platform/report/ChartPainter.h"
#include "platform/report/TwipsFont.h"

#include <QPainter>

#include <algorithm>

namespace brantock::platform {

namespace {

// How far a text too wide for its box is made smaller, at the most.
constexpr qreal MinShrink = 0.5;
// The room left beside a text made smaller, for the device's own spacing of its glyphs.
constexpr qreal FitMargin = 0.97;

QPen strokeOf(const ItemStyle& style) {
    QPen pen(QColor::fromRgba(style.color), style.lineWeight);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

} // namespace

void PagePainter::paint(QPainter& painter, const ReportPage& page, const QRectF& target) {
    if (page.width <= 0 || page.height <= 0)
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / page.width, target.height() / page.height);
    const QRectF paper(0, 0, page.width, page.height);
    painter.fillRect(paper, Qt::white);
    painter.setClipRect(paper, Qt::IntersectClip);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);

    // Pages hold runs of texts in one style (a row's fields), so the font is made again
    // only when the style changes.
    const ItemStyle* fontStyle = nullptr;
    for (const PageItem& item : page.items) {
        const QRectF box(item.left, item.top, item.width, item.height);
        switch (item.kind) {
        case PageItem::Kind::Text: {
            const ItemStyle& s = item.style;
            if (!fontStyle || fontStyle->fontFamily != s.fontFamily ||
                fontStyle->fontSize != s.fontSize || fontStyle->bold != s.bold ||
                fontStyle->italic != s.italic || fontStyle->underline != s.underline) {
                painter.setFont(
                    TwipsFont::make(s.fontFamily, s.fontSize, s.bold, s.italic, s.underline));
                fontStyle = &s;
            }
            painter.setPen(QColor::fromRgba(s.color));
            // A text wider than its box is drawn smaller rather than cut: a number missing
            // its first digits would read as another number. What still does not fit at the
            // smallest size runs over rather than lose characters.
            int flags = s.alignment | Qt::TextSingleLine;
            const qreal wide = painter.fontMetrics().horizontalAdvance(item.text);
            if (wide > box.width() && box.width() > 0) {
                QFont smaller = painter.font();
                const qreal scale = std::max(MinShrink, FitMargin * box.width() / wide);
                smaller.setPixelSize(std::max(1, int(smaller.pixelSize() * scale)));
                painter.setFont(smaller);
                fontStyle = nullptr;
                flags |= Qt::TextDontClip;
            }
            painter.drawText(box, flags, item.text);
            break;
        }
        case PageItem::Kind::Line:
            painter.setPen(strokeOf(item.style));
            painter.drawLine(QPointF(item.left, item.top),
                             QPointF(item.left + item.width, item.top + item.height));
            break;
        case PageItem::Kind::Box:
            painter.setPen(strokeOf(item.style));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
            break;
        case PageItem::Kind::Chart:
            if (item.chart)
                ChartPainter::paint(painter, *item.chart, box);
            break;
        }
    }
    painter.restore();
}

} // namespace brantock::platform
