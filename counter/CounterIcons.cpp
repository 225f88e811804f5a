#include "counter/CounterIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <functional>

namespace brantock::counter {

namespace {

QPixmap drawn(const std::function<void(QPainter&)>& paint) {
    QPixmap pixmap(CounterIcons::Size, CounterIcons::Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    return pixmap;
}

void strikeThrough(QPainter& p) {
    p.setPen(QPen(QColor(200, 0, 0), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 14), QPointF(14, 3));
}

} // namespace

QPixmap CounterIcons::lineActive() {
    return drawn([](QPainter& p) {
        QRadialGradient glow(QPointF(7, 7), 8);
        glow.setColorAt(0, QColor(160, 255, 160));
        glow.setColorAt(1, QColor(0, 150, 0));
        p.setBrush(glow);
        p.setPen(QPen(QColor(0, 90, 0), 1.0));
        p.drawEllipse(QRectF(2.5, 2.5, 12, 12));
    });
}

QPixmap CounterIcons::lockout() {
    return drawn([](QPainter& p) {
        // An hourglass: counts wait until it has run.
        p.setPen(QPen(QColor(90, 60, 0), 1.0));
        p.setBrush(QColor(250, 200, 40));
        const QPolygonF glass{QPointF(4, 2),   QPointF(13, 2), QPointF(8.5, 8.5),
                              QPointF(13, 15), QPointF(4, 15), QPointF(8.5, 8.5)};
        p.drawPolygon(glass);
        p.drawLine(QPointF(3, 2), QPointF(14, 2));
        p.drawLine(QPointF(3, 15), QPointF(14, 15));
    });
}

QPixmap CounterIcons::mute() {
    return drawn([](QPainter& p) {
        p.setPen(QPen(Qt::black, 1.0));
        p.setBrush(QColor(80, 80, 80));
        const QPolygonF speaker{QPointF(2, 6),  QPointF(5, 6),  QPointF(9, 2),
                                QPointF(9, 15), QPointF(5, 11), QPointF(2, 11)};
        p.drawPolygon(speaker);
        p.setPen(QPen(QColor(200, 0, 0), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(11, 6), QPointF(15, 11));
        p.drawLine(QPointF(15, 6), QPointF(11, 11));
    });
}

QPixmap CounterIcons::loggingOff() {
    return drawn([](QPainter& p) {
        // A database drum, struck through.
        p.setPen(QPen(QColor(20, 40, 110), 1.0));
        p.setBrush(QColor(90, 130, 220));
        QPainterPath drum;
        drum.addRect(QRectF(3, 4, 11, 9));
        p.drawPath(drum);
        p.drawEllipse(QRectF(3, 11, 11, 4));
        p.setBrush(QColor(150, 180, 240));
        p.drawEllipse(QRectF(3, 2, 11, 4));
        strikeThrough(p);
    });
}

QIcon CounterIcons::window() {
    return QIcon(QStringLiteral(":/brantock/brantock.png"));
}

} // namespace brantock::counter
