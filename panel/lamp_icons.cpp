#include "lamp_icons.h"

#include <QPainter>
#include <QtMath>

namespace lq {

namespace {

constexpr int kIconSize = 32;
constexpr QPointF kCentre{16.0, 16.0};

QPixmap BlankIcon() {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void DrawRing(QPainter& painter, double radius) {
    // A thin dark outline keeps the white ring visible on the light panel colour.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(90, 90, 90), 3.6));
    painter.drawEllipse(kCentre, radius, radius);
    painter.setPen(QPen(Qt::white, 2.2));
    painter.drawEllipse(kCentre, radius, radius);
}

} // namespace

QPixmap DarkLampIcon() {
    QPixmap pixmap = BlankIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawRing(painter, 8.5);
    return pixmap;
}

QPixmap LitLampIcon() {
    QPixmap pixmap = BlankIcon();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QColor red(230, 0, 0);
    painter.setPen(QPen(red, 2.4, Qt::SolidLine, Qt::RoundCap));
    for (int ray = 0; ray < 8; ++ray) {
        const double angle = qDegreesToRadians(45.0 * ray);
        const QPointF direction(qCos(angle), qSin(angle));
        painter.drawLine(kCentre + direction * 11.5, kCentre + direction * 15.0);
    }
    DrawRing(painter, 8.5);

    QRadialGradient glow(kCentre - QPointF(2, 2), 8.0);
    glow.setColorAt(0.0, QColor(255, 140, 120));
    glow.setColorAt(1.0, red);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(kCentre, 7.0, 7.0);
    return pixmap;
}

} // namespace lq
