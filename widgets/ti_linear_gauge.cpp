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

    p.setPen(QPen(ink, 1));
    p.drawLine(QPointF(lineX, top), QPointF(lineX, bottom));
    ForEachTick(bottom - top, [&](double offset, bool major) {
        const double y = std::round(bottom - offset) + 0.5;
        p.drawLine(QPointF(lineX - (major ? 7 : 4), y), QPointF(lineX, y));
    });
    if (ShowTickLabels()) {
        ForEachMajorTick(bottom - top, [&](double offset, int i) {
            const double y = bottom - offset;
            p.drawText(QRectF(0, y - fm.height() / 2, lineX - 9, fm.height()),
                       Qt::AlignRight | Qt::AlignVCenter, MajorTickLabel(i));
        });
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
