#include "widgets/ti_paint.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

namespace lq {

void PaintRoundLamp(QPainter& p, const QRectF& r, const QColor& body) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bezel(r.topLeft(), r.bottomRight());
    bezel.setColorAt(0, QColor(90, 90, 90));
    bezel.setColorAt(1, QColor(20, 20, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawEllipse(r);

    const qreal ring = r.width() >= 14 ? 1.5 : 1.0;
    const QRectF lamp = r.adjusted(ring, ring, -ring, -ring);
    QRadialGradient shade(lamp.center() + QPointF(-lamp.width() * 0.12, -lamp.height() * 0.12),
                          lamp.width() * 0.62);
    shade.setColorAt(0, body.lighter(135));
    shade.setColorAt(0.7, body);
    shade.setColorAt(1, body.darker(170));
    p.setBrush(shade);
    p.drawEllipse(lamp);

    const QRectF gloss(lamp.left() + lamp.width() * 0.2, lamp.top() + lamp.height() * 0.07,
                       lamp.width() * 0.6, lamp.height() * 0.42);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 190));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawEllipse(gloss);
    p.restore();
}

void PaintRectLamp(QPainter& p, const QRectF& r, const QColor& body, qreal radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 1));
    QLinearGradient shade(r.topLeft(), r.bottomLeft());
    shade.setColorAt(0, body.lighter(140));
    shade.setColorAt(0.5, body);
    shade.setColorAt(1, body.darker(150));
    p.setBrush(shade);
    const QRectF outline = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.drawRoundedRect(outline, radius, radius);
    const QRectF gloss = outline.adjusted(1.5, 1.5, -1.5, -outline.height() * 0.5);
    if (gloss.height() > 1 && gloss.width() > 1) {
        QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
        shine.setColorAt(0, QColor(255, 255, 255, 150));
        shine.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(shine);
        p.drawRoundedRect(gloss, radius * 0.6, radius * 0.6);
    }
    p.restore();
}

void PaintBevel(QPainter& p, const QRectF& r, int border, bool sunken, const QColor& face) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, sunken ? face.darker(112) : face.lighter(112));
    fill.setColorAt(1, sunken ? face : face.darker(108));
    p.fillRect(r, fill);
    const QColor light = sunken ? face.darker(170) : QColor(255, 255, 255);
    const QColor dark = sunken ? QColor(255, 255, 255) : face.darker(190);
    PaintBevelEdges(p, r.toRect().adjusted(0, 0, -1, -1), border, light, dark);
    p.restore();
}

void PaintBevelEdges(QPainter& p, const QRect& outline, int border, const QColor& topLeft,
                     const QColor& bottomRight) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i < border; ++i) {
        const QRect b = outline.adjusted(i, i, -i, -i);
        p.setPen(topLeft);
        p.drawLine(b.topLeft(), b.topRight());
        p.drawLine(b.topLeft(), b.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(b.bottomLeft(), b.bottomRight());
        p.drawLine(b.topRight(), b.bottomRight());
    }
    p.restore();
}

QString TickText(double v, int precision) {
    QString s = QString::number(v, 'f', precision < 0 ? 0 : precision);
    if (s.contains('.')) {
        while (s.endsWith('0'))
            s.chop(1);
        if (s.endsWith('.')) s.chop(1);
    }
    if (s == "-0") s = "0";
    return s;
}

} // namespace lq
