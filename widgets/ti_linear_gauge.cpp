#include "widgets/ti_linear_gauge.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace lq {

void TiGaugeComponent::SetPointerColor(TColor c) {
    pointerColor_ = c;
    update();
}

TiLinearGauge::TiLinearGauge(QWidget* parent) : TiGaugeComponent(parent) {
    resize(60, 200);
}

void TiLinearGauge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont f = font();
    f.setPixelSize(std::clamp(height() / 12, 8, 11));
    p.setFont(f);
    const QFontMetricsF fm(f);

    const double top = std::ceil(fm.height() / 2) + 1;
    const double bottom = height() - top - 1;
    const double lineX = std::round(width() * 0.58) + 0.5;
    const QColor ink = ToQColor(ScaleColor());
    const int majors = TickMajorCount();
    const int minors = TickMinorCount();
    const int totalSteps = (majors - 1) * (minors + 1);

    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(lineX, top), QPointF(lineX, bottom));
    for (int s = 0; s <= totalSteps; ++s) {
        const double y = std::round(bottom - (bottom - top) * s / totalSteps) + 0.5;
        const bool major = s % (minors + 1) == 0;
        p.drawLine(QPointF(lineX - (major ? 7 : 4), y), QPointF(lineX, y));
    }
    if (ShowTickLabels()) {
        for (int i = 0; i < majors; ++i) {
            const double y = bottom - (bottom - top) * i / (majors - 1);
            p.drawText(QRectF(0, y - fm.height() / 2, lineX - 9, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, MajorTickLabel(i));
        }
    }

    // The pointer's tip touches the scale line at the position; an empty span leaves it at the bottom.
    p.setRenderHint(QPainter::Antialiasing);
    const double y = bottom - (bottom - top) * RelativePosition();
    const double size = std::clamp(width() * 0.16, 5.0, 9.0);
    QPainterPath arrow;
    arrow.moveTo(lineX + 1, y);
    arrow.lineTo(lineX + 1 + size * 1.6, y - size);
    arrow.lineTo(lineX + 1 + size * 1.6, y + size);
    arrow.closeSubpath();
    const QColor pointer = ToQColor(PointerColor());
    QLinearGradient shade(0, y - size, 0, y + size);
    shade.setColorAt(0, pointer.lighter(150));
    shade.setColorAt(1, pointer.darker(130));
    p.setPen(QPen(pointer.darker(200), 1));
    p.setBrush(shade);
    p.drawPath(arrow);
}

} // namespace lq
