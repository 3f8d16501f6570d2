#include "widgets/ti_thermometer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>

namespace lq {

TiThermometer::TiThermometer(QWidget* parent) : TiScaleComponent(parent) {
    resize(100, 150);
}

void TiThermometer::SetIndicatorColor(TColor c) {
    indicatorColor_ = c;
    update();
}

void TiThermometer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QFont f = font();
    f.setPixelSize(std::clamp(height() / 14, 8, 11));
    p.setFont(f);
    const QFontMetricsF fm(f);

    const double tubeW = std::clamp(width() * 0.09, 5.0, 10.0);
    const double bulbR = tubeW * 1.2;
    const double tubeX = std::round(width() * 0.32) + 0.5;
    const double top = fm.height() / 2 + 3;
    const double bulbCy = height() - bulbR - 3;
    const double scaleBottom = bulbCy - bulbR - 4; // the column starts above the bulb's neck
    const double scaleTop = top + tubeW / 2;
    const QColor mercury = ToQColor(indicatorColor_);

    // Glass: tube and bulb as one outline.
    QPainterPath glass;
    glass.addRoundedRect(QRectF(tubeX - tubeW / 2 - 1.5, top - 1.5, tubeW + 3, bulbCy - top + 1.5), tubeW,
                         tubeW);
    glass.addEllipse(QPointF(tubeX, bulbCy), bulbR + 2, bulbR + 2);
    glass.setFillRule(Qt::WindingFill);
    QLinearGradient glassShade(tubeX - bulbR, 0, tubeX + bulbR, 0);
    glassShade.setColorAt(0, QColor(205, 215, 225));
    glassShade.setColorAt(0.35, QColor(250, 252, 255));
    glassShade.setColorAt(1, QColor(170, 180, 190));
    p.setPen(QPen(QColor(90, 95, 105), 1));
    p.setBrush(glassShade);
    p.drawPath(glass.simplified());

    // Mercury: bulb always full, column up to the position.
    const double level = scaleBottom - (scaleBottom - scaleTop) * RelativePosition();
    QLinearGradient liquid(tubeX - bulbR, 0, tubeX + bulbR, 0);
    liquid.setColorAt(0, mercury.darker(130));
    liquid.setColorAt(0.4, mercury.lighter(130));
    liquid.setColorAt(1, mercury.darker(160));
    p.setPen(Qt::NoPen);
    p.setBrush(liquid);
    p.drawRect(QRectF(tubeX - tubeW / 2 + 1, level, tubeW - 2, bulbCy - level));
    QRadialGradient bulb(QPointF(tubeX - bulbR * 0.35, bulbCy - bulbR * 0.35), bulbR * 1.3);
    bulb.setColorAt(0, mercury.lighter(160));
    bulb.setColorAt(0.5, mercury);
    bulb.setColorAt(1, mercury.darker(170));
    p.setBrush(bulb);
    p.drawEllipse(QPointF(tubeX, bulbCy), bulbR, bulbR);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRoundedRect(QRectF(tubeX - tubeW / 2 + 1.5, top + 2, 1.6, bulbCy - top - bulbR - 2), 0.8, 0.8);

    // Scale to the right of the tube.
    const QColor ink = ToQColor(ScaleColor());
    const double tickX = tubeX + tubeW / 2 + 4;
    const int majors = TickMajorCount();
    const int minors = TickMinorCount();
    const int totalSteps = (majors - 1) * (minors + 1);
    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(tickX, scaleTop), QPointF(tickX, scaleBottom));
    for (int s = 0; s <= totalSteps; ++s) {
        const double y = std::round(scaleBottom - (scaleBottom - scaleTop) * s / totalSteps) + 0.5;
        const bool major = s % (minors + 1) == 0;
        p.drawLine(QPointF(tickX, y), QPointF(tickX + (major ? 7 : 4), y));
    }
    if (ShowTickLabels()) {
        for (int i = 0; i < majors; ++i) {
            const double y = scaleBottom - (scaleBottom - scaleTop) * i / (majors - 1);
            p.drawText(QRectF(tickX + 9, y - fm.height() / 2, width() - tickX - 9, fm.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, MajorTickLabel(i));
        }
    }
}

} // namespace lq
