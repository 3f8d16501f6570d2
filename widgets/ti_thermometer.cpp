#include "widgets/ti_thermometer.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace lq {

TiThermometer::TiThermometer(QWidget* parent) : TiScaleComponent(parent) {
    resize(100, 150);
}

void TiThermometer::SetIndicatorColor(TColor c) {
    indicatorColor_ = c;
    update();
}

// Where the parts go, from the widget's size and the scale font.
struct TiThermometer::Geometry {
    double tubeW;       // width of the tube's bore
    double bulbR;       // radius of the mercury in the bulb
    double tubeX;       // the tube's axis, on a half pixel so one-pixel lines stay sharp
    double top;         // top end of the tube
    double bulbCy;      // centre of the bulb
    double scaleBottom; // the column starts above the bulb's neck
    double scaleTop;
};

TiThermometer::Geometry TiThermometer::Measure(const QFontMetricsF& fm) const {
    Geometry g{};
    g.tubeW = std::clamp(width() * 0.09, 5.0, 10.0);
    g.bulbR = g.tubeW * 1.2;
    g.tubeX = std::round(width() * 0.32) + 0.5;
    g.top = fm.height() / 2 + 3;
    g.bulbCy = height() - g.bulbR - 3;
    g.scaleBottom = g.bulbCy - g.bulbR - 4;
    g.scaleTop = g.top + g.tubeW / 2;
    return g;
}

void TiThermometer::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f = font();
    f.setPixelSize(std::clamp(height() / 14, 8, 11));
    p.setFont(f);
    const QFontMetricsF fm(f);
    const Geometry g = Measure(fm);
    PaintGlass(p, g);
    PaintMercury(p, g);
    PaintScale(p, g, fm);
}

// Tube and bulb as one outline.
void TiThermometer::PaintGlass(QPainter& p, const Geometry& g) const {
    QPainterPath glass;
    glass.addRoundedRect(
        QRectF(g.tubeX - g.tubeW / 2 - 1.5, g.top - 1.5, g.tubeW + 3, g.bulbCy - g.top + 1.5), g.tubeW,
        g.tubeW);
    glass.addEllipse(QPointF(g.tubeX, g.bulbCy), g.bulbR + 2, g.bulbR + 2);
    glass.setFillRule(Qt::WindingFill);
    QLinearGradient glassShade(g.tubeX - g.bulbR, 0, g.tubeX + g.bulbR, 0);
    glassShade.setColorAt(0, QColor(205, 215, 225));
    glassShade.setColorAt(0.35, QColor(250, 252, 255));
    glassShade.setColorAt(1, QColor(170, 180, 190));
    p.setPen(QPen(QColor(90, 95, 105), 1));
    p.setBrush(glassShade);
    p.drawPath(glass.simplified());
}

// The bulb always full, the column up to the position, and a glint along the glass.
void TiThermometer::PaintMercury(QPainter& p, const Geometry& g) const {
    const QColor mercury = ToQColor(indicatorColor_);
    const double level = g.scaleBottom - (g.scaleBottom - g.scaleTop) * RelativePosition();
    QLinearGradient liquid(g.tubeX - g.bulbR, 0, g.tubeX + g.bulbR, 0);
    liquid.setColorAt(0, mercury.darker(130));
    liquid.setColorAt(0.4, mercury.lighter(130));
    liquid.setColorAt(1, mercury.darker(160));
    p.setPen(Qt::NoPen);
    p.setBrush(liquid);
    p.drawRect(QRectF(g.tubeX - g.tubeW / 2 + 1, level, g.tubeW - 2, g.bulbCy - level));
    QRadialGradient bulb(QPointF(g.tubeX - g.bulbR * 0.35, g.bulbCy - g.bulbR * 0.35), g.bulbR * 1.3);
    bulb.setColorAt(0, mercury.lighter(160));
    bulb.setColorAt(0.5, mercury);
    bulb.setColorAt(1, mercury.darker(170));
    p.setBrush(bulb);
    p.drawEllipse(QPointF(g.tubeX, g.bulbCy), g.bulbR, g.bulbR);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawRoundedRect(QRectF(g.tubeX - g.tubeW / 2 + 1.5, g.top + 2, 1.6, g.bulbCy - g.top - g.bulbR - 2),
                      0.8, 0.8);
}

// The scale to the right of the tube.
void TiThermometer::PaintScale(QPainter& p, const Geometry& g, const QFontMetricsF& fm) const {
    const double tickX = g.tubeX + g.tubeW / 2 + 4;
    const double span = g.scaleBottom - g.scaleTop;
    p.setPen(QPen(ToQColor(ScaleColor()), 1));
    p.drawLine(QPointF(tickX, g.scaleTop), QPointF(tickX, g.scaleBottom));
    ForEachTick(span, [&](double offset, bool major) {
        const double y = std::round(g.scaleBottom - offset) + 0.5;
        p.drawLine(QPointF(tickX, y), QPointF(tickX + (major ? 7 : 4), y));
    });
    if (!ShowTickLabels()) return;
    ForEachMajorTick(span, [&](double offset, int i) {
        const double y = g.scaleBottom - offset;
        p.drawText(QRectF(tickX + 9, y - fm.height() / 2, width() - tickX - 9, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, MajorTickLabel(i));
    });
}

} // namespace lq
