#include "platform/report/ChartPainter.h"

#include "platform/report/ChartLegend.h"
#include "platform/report/TwipsFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <vector>

namespace brantock::platform {

namespace {

enum Kind { Bars = 0, Lines = 1, Areas = 2, Steps = 3 };

constexpr double LabelPoints = 8;
// The least blank between two category labels of one row, in lines of the label font.
constexpr double LabelGap = 0.6;
constexpr QRgb Palette[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                            0x8c564b, 0xe377c2, 0x17becf, 0xbcbd22, 0x7f7f7f};

QFont chartFont() {
    return TwipsFont::make(QStringLiteral("Sans Serif"), LabelPoints);
}

bool hasDepth(int type) {
    return type % 2 == 0;
}

Kind kindOf(int type) {
    return Kind(type / 2);
}

double valueAt(const ChartContent& c, qsizetype series, qsizetype category) {
    if (series >= c.values.size() || category >= c.values.at(series).size())
        return 0;
    return c.values.at(series).at(category);
}

// The lowest and highest value the scale must show; flat areas stack their series.
std::pair<double, double> valueRange(const ChartContent& c, bool& whole) {
    double low = 0, high = 0;
    whole = true;
    const bool stacked = c.chartType == ChartContent::Area2D;
    for (qsizetype i = 0; i < c.categories.size(); ++i) {
        double above = 0, below = 0;
        for (qsizetype s = 0; s < c.seriesNames.size(); ++s) {
            const double v = valueAt(c, s, i);
            whole = whole && v == std::trunc(v);
            if (stacked)
                (v >= 0 ? above : below) += v;
            else
                low = std::min(low, v), high = std::max(high, v);
        }
        if (stacked)
            low = std::min(low, below), high = std::max(high, above);
    }
    return {low, high};
}

// Round steps (1, 2, 2.5 or 5 times a power of ten), about five of them.
void setScale(ChartLayout& l, const ChartContent& c) {
    bool whole = true;
    auto [low, high] = valueRange(c, whole);
    if (high - low <= 0)
        high = low + 1;
    const double raw = (high - low) / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / magnitude;
    // Counts are whole: their steps skip 2.5, which would label halves.
    const bool quarter = !(whole && magnitude < 10);
    double step = (n <= 1                  ? 1
                   : n <= 2                ? 2
                   : (quarter && n <= 2.5) ? 2.5
                   : n <= 5                ? 5
                                           : 10) *
                  magnitude;
    if (whole && step < 1)
        step = 1;
    l.step = step;
    l.minimum = std::floor(low / step) * step;
    l.maximum = std::ceil(high / step) * step;
    if (l.maximum <= l.minimum)
        l.maximum = l.minimum + step;
}

QString valueText(double value, double step) {
    int decimals = 0;
    while (decimals < 10 && std::abs(step * std::pow(10.0, decimals) -
                                     std::round(step * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith(u'-') && QString(text).remove(u'-').remove(u'0').remove(u'.').isEmpty())
        text.remove(0, 1);
    return text;
}

QList<double> ticks(const ChartLayout& l) {
    QList<double> values;
    const int count = int(std::lround((l.maximum - l.minimum) / l.step));
    for (int i = 0; i <= count; ++i)
        values << l.minimum + i * l.step;
    return values;
}

void layOutLegend(ChartLayout& l, const ChartContent& c, QRectF& inner, const QFontMetricsF& fm) {
    const qsizetype n = c.seriesNames.size();
    if (n == 0)
        return;
    const double line = fm.height();
    const double rowHeight = line * 1.3;
    const double swatch = line * 0.7;
    const double gap = line * 0.3;
    const double spacing = line;
    QList<double> widths;
    for (const QString& name : c.seriesNames)
        widths << swatch + gap + fm.horizontalAdvance(name);

    auto place = [&](qsizetype s, double x, double rowTop) {
        l.keys << QRectF(x, rowTop + (rowHeight - swatch) / 2, swatch, swatch);
        l.keyTexts << QPointF(x + swatch + gap,
                              rowTop + (rowHeight + fm.ascent() - fm.descent()) / 2);
    };

    if (c.legendLocation == ChartLegend::Bottom) {
        // Entries side by side, as many rows as the width needs, each row centred.
        QList<QList<qsizetype>> rows{{}};
        double used = 0;
        for (qsizetype s = 0; s < n; ++s) {
            const double need = (rows.last().isEmpty() ? 0 : spacing) + widths.at(s);
            if (!rows.last().isEmpty() && used + need > inner.width()) {
                rows.append(QList<qsizetype>());
                used = 0;
            }
            used += rows.last().isEmpty() ? widths.at(s) : spacing + widths.at(s);
            rows.last() << s;
        }
        const double height = rows.size() * rowHeight;
        l.legend = QRectF(inner.left(), inner.bottom() - height, inner.width(), height);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            double width = 0;
            for (qsizetype s : rows.at(r))
                width += widths.at(s) + (s == rows.at(r).first() ? 0 : spacing);
            double x = l.legend.center().x() - width / 2;
            for (qsizetype s : rows.at(r)) {
                place(s, x, l.legend.top() + r * rowHeight);
                x += widths.at(s) + spacing;
            }
        }
        inner.setBottom(l.legend.top() - line * 0.5);
    } else {
        const double width = *std::max_element(widths.begin(), widths.end());
        const double height = n * rowHeight;
        l.legend = QRectF(inner.right() - width, inner.center().y() - height / 2, width, height);
        for (qsizetype s = 0; s < n; ++s)
            place(s, l.legend.left(), l.legend.top() + s * rowHeight);
        inner.setRight(l.legend.left() - line);
    }
}

// Each series' slice of the depth, as fractions of it: where its front lies and how deep it
// is. Flat types have none.
struct Slice {
    double front = 0;
    double back = 0;
};

Slice sliceOf(const ChartContent& c, qsizetype series) {
    if (!hasDepth(c.chartType))
        return {};
    const double n = double(std::max<qsizetype>(1, c.seriesNames.size()));
    const double front = double(series) / n;
    return {front, front + 0.75 / n};
}

class SeriesDrawer {
public:
    SeriesDrawer(QPainter& p, const ChartContent& c, const ChartLayout& l)
        : p_(p), c_(c), l_(l), catWidth_(l.categoryWidth(c)),
          base_(l.yOf(std::clamp(0.0, l.minimum, l.maximum))),
          stroke_(std::max(1.0, QFontMetricsF(chartFont()).height() * 0.12)),
          group_(catWidth_ >= Column ? 1 : qsizetype(std::ceil(Column / catWidth_))) {}

    void draw() {
        const qsizetype n = c_.seriesNames.size();
        if (kindOf(c_.chartType) == Areas && !hasDepth(c_.chartType)) {
            QList<double> below(c_.categories.size(), 0.0);
            for (qsizetype s = 0; s < n; ++s)
                stackedArea(s, below);
            return;
        }
        // Rows with depth are drawn from the back, the last series, to the front.
        const bool deep = hasDepth(c_.chartType);
        for (qsizetype k = 0; k < n; ++k) {
            const qsizetype s = deep ? n - 1 - k : k;
            switch (kindOf(c_.chartType)) {
            case Bars:
                bars(s);
                break;
            case Lines:
                line(s, points(s));
                break;
            case Areas:
                area(s);
                break;
            case Steps:
                line(s, stepPoints(s));
                break;
            }
        }
    }

private:
    // Categories closer than a column draw nothing more than one column shows, only slower
    // (a day of minutes is ten times the columns of a chart): lines and areas keep the
    // extremes of each column, bars draw a column's categories as one. The column is a
    // screen pixel at the page's own size, the same on every device, so the screen, a
    // printer and a PDF draw the same.
    static constexpr double Column = 15;

    // Where categories lie closer than two columns, smoothing the edges of every face and
    // segment costs much and shows nothing.
    bool dense() const { return catWidth_ < 2 * Column; }
    QColor color(qsizetype s) const { return QColor::fromRgb(ChartPainter::seriesColor(int(s))); }
    double left(qsizetype i) const { return l_.plot.left() + double(i) * catWidth_; }
    double centre(qsizetype i) const { return left(i) + catWidth_ / 2; }
    QPointF at(QPointF p, double fraction) const { return p + l_.depth * fraction; }

    // Each column keeps its first, lowest, highest and last point.
    QPolygonF thin(const QPolygonF& points) const {
        const qsizetype n = points.size();
        if (n < 8 || double(n) <= 2 * l_.plot.width() / Column)
            return points;
        QPolygonF kept;
        auto column = [&](qsizetype i) {
            return std::floor((points[i].x() - l_.plot.left()) / Column);
        };
        for (qsizetype i = 0; i < n;) {
            qsizetype end = i, low = i, high = i;
            const double c = column(i);
            for (; end < n && column(end) == c; ++end) {
                if (points[end].y() < points[low].y())
                    low = end;
                if (points[end].y() > points[high].y())
                    high = end;
            }
            qsizetype order[] = {i, std::min(low, high), std::max(low, high), end - 1};
            for (qsizetype k = 0; k < 4; ++k)
                if (k == 0 || order[k] != order[k - 1])
                    kept << points[order[k]];
            i = end;
        }
        return kept;
    }

    QPolygonF points(qsizetype s) const {
        QPolygonF result;
        for (qsizetype i = 0; i < c_.categories.size(); ++i)
            result << QPointF(centre(i), l_.yOf(valueAt(c_, s, i)));
        return thin(result);
    }
    QPolygonF stepPoints(qsizetype s) const {
        QPolygonF result;
        for (qsizetype i = 0; i < c_.categories.size(); ++i) {
            const double y = l_.yOf(valueAt(c_, s, i));
            result << QPointF(left(i), y) << QPointF(left(i) + catWidth_, y);
        }
        return thin(result);
    }

    // Outlines and lines are stroked a segment at a time: Qt strokes a long path that
    // crosses itself (a line through many values) very slowly, and a segment of one colour
    // drawn over another changes nothing.
    void stroke(const QPolygonF& points, const QPen& pen, bool closed) {
        QList<QLineF> segments;
        segments.reserve(points.size());
        for (qsizetype i = 0; i + 1 < points.size(); ++i)
            segments << QLineF(points[i], points[i + 1]);
        if (closed && points.size() > 2)
            segments << QLineF(points.last(), points.first());
        p_.setPen(pen);
        if (dense())
            p_.setRenderHint(QPainter::Antialiasing, false);
        p_.drawLines(segments);
        if (dense())
            p_.setRenderHint(QPainter::Antialiasing, true);
    }

    // A face of a bar or ribbon: a convex quadrangle.
    void face(const QPolygonF& polygon, const QColor& fill) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(fill);
        if (dense())
            p_.setRenderHint(QPainter::Antialiasing, false);
        p_.drawConvexPolygon(polygon);
        if (dense())
            p_.setRenderHint(QPainter::Antialiasing, true);
        stroke(polygon, QPen(fill.darker(150), stroke_ / 3, Qt::SolidLine, Qt::RoundCap), true);
    }
    // The band that a run of front points sweeps back through the series' slice.
    void ribbon(const QPolygonF& front, const Slice& slice, const QColor& c) {
        for (qsizetype i = 0; i + 1 < front.size(); ++i) {
            const QPointF a = front.at(i), b = front.at(i + 1);
            const bool upright = std::abs(b.x() - a.x()) < 1e-9;
            face(QPolygonF{at(a, slice.front), at(b, slice.front), at(b, slice.back),
                           at(a, slice.back)},
                 upright ? c.darker(120) : c.lighter(130));
        }
    }

    // Bars narrower than a column are drawn a column's categories at a time, each group as
    // one bar of its most extreme value.
    void bars(qsizetype s) {
        const QColor c = color(s);
        const Slice slice = sliceOf(c_, s);
        const qsizetype m = c_.categories.size();
        for (qsizetype first = 0; first < m; first += group_) {
            const qsizetype count = std::min(group_, m - first);
            double value = valueAt(c_, s, first);
            for (qsizetype i = first + 1; i < first + count; ++i)
                if (std::abs(valueAt(c_, s, i)) > std::abs(value))
                    value = valueAt(c_, s, i);
            const double width = catWidth_ * double(count);
            const double y = l_.yOf(value);
            double x0, x1;
            if (hasDepth(c_.chartType)) {
                x0 = left(first) + width * 0.15;
                x1 = left(first) + width * 0.85;
            } else {
                const double bar = width * 0.8 / double(c_.seriesNames.size());
                x0 = left(first) + width * 0.1 + double(s) * bar;
                x1 = x0 + bar;
            }
            const double top = std::min(y, base_), bottom = std::max(y, base_);
            if (hasDepth(c_.chartType)) {
                face({at({x0, top}, slice.front), at({x1, top}, slice.front),
                      at({x1, top}, slice.back), at({x0, top}, slice.back)},
                     c.lighter(130));
                face({at({x1, top}, slice.front), at({x1, bottom}, slice.front),
                      at({x1, bottom}, slice.back), at({x1, top}, slice.back)},
                     c.darker(130));
            }
            p_.setPen(Qt::NoPen);
            p_.setBrush(c);
            p_.drawRect(QRectF(at({x0, top}, slice.front), at({x1, bottom}, slice.front)));
        }
    }

    void line(qsizetype s, const QPolygonF& front) {
        const QColor c = color(s);
        if (hasDepth(c_.chartType)) {
            ribbon(front, sliceOf(c_, s), c);
            return;
        }
        stroke(front, QPen(c, stroke_, Qt::SolidLine, Qt::RoundCap), false);
        // Points get a mark where there is room to see them apart.
        const double mark = stroke_ * 3;
        if (kindOf(c_.chartType) == Lines && catWidth_ > mark * 3) {
            p_.setPen(Qt::NoPen);
            p_.setBrush(c);
            for (const QPointF& point : front)
                p_.drawRect(QRectF(point.x() - mark / 2, point.y() - mark / 2, mark, mark));
        }
    }

    // The area between two runs of values, moved back by offset. Filled a category at a
    // time (Qt fills one long polygon of many points slowly), or a column at a time where
    // categories are narrower; then its upper edge is drawn.
    void band(const QList<double>& upper, const QList<double>& lower, const QColor& c,
              QPointF offset) {
        const qsizetype m = c_.categories.size();
        p_.setPen(Qt::NoPen);
        p_.setBrush(c);
        p_.setRenderHint(QPainter::Antialiasing, false);
        if (group_ > 1) {
            for (qsizetype first = 0; first + 1 < m; first += group_) {
                const qsizetype last = std::min(first + group_, m - 1);
                double top = l_.plot.bottom(), bottom = l_.plot.top();
                for (qsizetype i = first; i <= last; ++i) {
                    top = std::min({top, l_.yOf(upper[i]), l_.yOf(lower[i])});
                    bottom = std::max({bottom, l_.yOf(upper[i]), l_.yOf(lower[i])});
                }
                p_.drawRect(QRectF(QPointF(centre(first), top), QPointF(centre(last), bottom))
                                .translated(offset));
            }
        } else {
            for (qsizetype i = 0; i + 1 < m; ++i) {
                const QPointF quad[] = {{centre(i), l_.yOf(upper[i])},
                                        {centre(i + 1), l_.yOf(upper[i + 1])},
                                        {centre(i + 1), l_.yOf(lower[i + 1])},
                                        {centre(i), l_.yOf(lower[i])}};
                QPolygonF polygon;
                for (const QPointF& point : quad)
                    polygon << point + offset;
                p_.drawConvexPolygon(polygon);
            }
        }
        p_.setRenderHint(QPainter::Antialiasing, true);
        QPolygonF edge;
        for (qsizetype i = 0; i < m; ++i)
            edge << QPointF(centre(i), l_.yOf(upper[i])) + offset;
        stroke(thin(edge), QPen(c.darker(150), stroke_ / 3, Qt::SolidLine, Qt::RoundCap), false);
    }

    QList<double> valuesOf(qsizetype s) const {
        QList<double> values;
        for (qsizetype i = 0; i < c_.categories.size(); ++i)
            values << valueAt(c_, s, i);
        return values;
    }

    void area(qsizetype s) {
        const QColor c = color(s);
        const Slice slice = sliceOf(c_, s);
        const QPolygonF top = points(s);
        if (top.isEmpty())
            return;
        ribbon(top, slice, c);
        const double zero = std::clamp(0.0, l_.minimum, l_.maximum);
        band(valuesOf(s), QList<double>(c_.categories.size(), zero), c, l_.depth * slice.front);
        face({at(top.last(), slice.front), at({top.last().x(), base_}, slice.front),
              at({top.last().x(), base_}, slice.back), at(top.last(), slice.back)},
             c.darker(130));
    }

    void stackedArea(qsizetype s, QList<double>& below) {
        QList<double> above = below;
        for (qsizetype i = 0; i < c_.categories.size(); ++i)
            above[i] += valueAt(c_, s, i);
        band(above, below, color(s), QPointF());
        below = above;
    }

    QPainter& p_;
    const ChartContent& c_;
    const ChartLayout& l_;
    double catWidth_;
    double base_;
    double stroke_;
    qsizetype group_; // categories drawn as one bar or one column of an area
};

void drawWalls(QPainter& p, const ChartLayout& l, double hairline) {
    const QRectF& f = l.plot;
    const QPen edge(QColor(0x99, 0x99, 0x99), hairline);
    const QPen grid(QColor(0xd0, 0xd0, 0xd0), hairline);
    p.setPen(edge);
    if (!l.depth.isNull()) {
        p.setBrush(QColor(0xf3, 0xf3, 0xf3));
        p.drawRect(f.translated(l.depth));
        p.setBrush(QColor(0xe8, 0xe8, 0xe8));
        p.drawPolygon(QPolygonF{f.topLeft(), f.bottomLeft(), f.bottomLeft() + l.depth,
                                f.topLeft() + l.depth});
        p.setBrush(QColor(0xdd, 0xdd, 0xdd));
        p.drawPolygon(QPolygonF{f.bottomLeft(), f.bottomRight(), f.bottomRight() + l.depth,
                                f.bottomLeft() + l.depth});
    }
    p.setPen(grid);
    for (double v : ticks(l)) {
        const QPointF from(f.left(), l.yOf(v));
        if (l.depth.isNull())
            p.drawLine(from, QPointF(f.right(), from.y()));
        else
            p.drawPolyline(QPolygonF{from, from + l.depth, QPointF(f.right(), from.y()) + l.depth});
    }
}

void drawAxes(QPainter& p, const ChartContent& c, const ChartLayout& l, const QFontMetricsF& fm) {
    const QRectF& f = l.plot;
    const double line = fm.height();
    p.setPen(QPen(Qt::black, line * 0.06));
    p.setBrush(Qt::NoBrush);
    p.drawLine(f.topLeft(), f.bottomLeft());
    p.drawLine(f.bottomLeft(), f.bottomRight());

    for (double v : ticks(l)) {
        const double y = l.yOf(v);
        p.drawLine(QPointF(f.left() - line * 0.2, y), QPointF(f.left(), y));
        p.drawText(QRectF(f.left() - line * 10.3, y - line / 2, line * 10, line),
                   Qt::AlignRight | Qt::AlignVCenter, valueText(v, l.step));
    }

    const double width = l.categoryWidth(c);
    for (qsizetype i = 0; i < c.categories.size(); ++i) {
        const double x = f.left() + (double(i) + 0.5) * width;
        if (i % l.tickStep == 0)
            p.drawLine(QPointF(x, f.bottom()), QPointF(x, f.bottom() + line * 0.2));
    }
    for (const ChartLayout::Label& label : l.categoryLabels)
        p.drawText(label.box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, label.text);
}

// Each labelled category's text centred under it, but never past the chart's right end (at
// the left the value axis leaves room under its numbers). A label that would come nearer
// than the gap to the one before it on its row (the last one, pushed back from the end) is
// left out, so no two labels ever run together.
void placeCategoryLabels(ChartLayout& l, const ChartContent& c, const QFontMetricsF& fm) {
    const double line = fm.height();
    const double gap = line * LabelGap;
    const double width = l.categoryWidth(c);
    std::vector<double> rowEnds(std::size_t(l.labelRows), -1e300);
    for (qsizetype i = 0; i < c.categories.size(); i += l.labelStep) {
        const QString& text = c.categories.at(i);
        const double wide = fm.horizontalAdvance(text);
        const double x = l.plot.left() + (double(i) + 0.5) * width;
        const double left = std::min(x - wide / 2, l.labels.right() - wide);
        const auto row = std::size_t((i / l.labelStep) % l.labelRows);
        if (left < rowEnds[row] + gap * 0.99)
            continue;
        rowEnds[row] = left + wide;
        l.categoryLabels.append(
            {text, QRectF(left, l.labels.top() + double(row) * line * 1.1, wide, line * 1.1)});
    }
}

void drawLegend(QPainter& p, const ChartContent& c, const ChartLayout& l, double hairline) {
    for (qsizetype s = 0; s < l.keys.size(); ++s) {
        p.setPen(QPen(Qt::black, hairline));
        p.setBrush(QColor::fromRgb(ChartPainter::seriesColor(int(s))));
        p.drawRect(l.keys.at(s));
        p.drawText(l.keyTexts.at(s), c.seriesNames.at(s));
    }
}

} // namespace

QRgb ChartPainter::seriesColor(int series) {
    return qRgb(0, 0, 0) | Palette[std::size_t(series) % std::size(Palette)];
}

ChartLayout ChartPainter::layout(const ChartContent& content, const QRectF& box) {
    ChartLayout l;
    const QFontMetricsF fm(chartFont());
    const double line = fm.height();
    QRectF inner = box.adjusted(line * 0.6, line * 0.6, -line * 0.6, -line * 0.6);
    layOutLegend(l, content, inner, fm);

    setScale(l, content);
    double valueWidth = 0;
    for (double v : ticks(l))
        valueWidth = std::max(valueWidth, fm.horizontalAdvance(valueText(v, l.step)));
    // The plot takes what the labels under it leave: one row of them, or two.
    const auto place = [&](int rows) {
        l.labelRows = rows;
        const double labelsHeight = line * (0.2 + 1.1 * rows);
        QRectF outer = inner.adjusted(valueWidth + line * 0.5, line * 0.5, 0, -labelsHeight);
        outer.setWidth(std::max(outer.width(), 1.0));
        outer.setHeight(std::max(outer.height(), 1.0));
        if (hasDepth(content.chartType)) {
            const double depth = std::min(outer.width(), outer.height()) * 0.18;
            l.depth = QPointF(depth * 0.8, -depth * 0.6);
            l.plot = outer.adjusted(0, depth * 0.6, -depth * 0.8, 0);
        } else {
            l.plot = outer;
        }
        l.labels =
            QRectF(l.plot.left(), l.plot.bottom() + line * 0.25, outer.width(), labelsHeight);
    };
    place(1);

    double widest = 0;
    for (const QString& category : content.categories)
        widest = std::max(widest, fm.horizontalAdvance(category));
    const double needed = widest + line * LabelGap;
    // The fewest categories between two labels that keep them apart on the rows there are.
    const auto fewest = [&] {
        return std::max(1, int(std::ceil(needed / (l.categoryWidth(content) * l.labelRows))));
    };
    if (content.labelSpacing > 0) {
        // Every label asked for is shown: on two rows where one would run them together.
        l.labelStep = content.labelSpacing;
        if (needed > l.categoryWidth(content) * l.labelStep) {
            place(2);
            // Where even two rows cannot hold them, fewer labels rather than labels run
            // together.
            const int asked = l.labelStep;
            l.labelStep = asked * ((fewest() + asked - 1) / asked);
        }
    } else {
        l.labelStep = fewest();
    }
    l.tickStep = content.tickSpacing > 0 ? content.tickSpacing : l.labelStep;
    placeCategoryLabels(l, content, fm);
    return l;
}

void ChartPainter::paint(QPainter& painter, const ChartContent& content, const QRectF& box) {
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(box, Qt::white);
    const QFont font = chartFont();
    painter.setFont(font);
    const QFontMetricsF fm(font);
    const double hairline = fm.height() * 0.04;
    const ChartLayout l = layout(content, box);
    drawWalls(painter, l, hairline);
    SeriesDrawer(painter, content, l).draw();
    drawAxes(painter, content, l, fm);
    drawLegend(painter, content, l, hairline);
    painter.restore();
}

} // namespace brantock::platform
