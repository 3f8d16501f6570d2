#include "widgets/ti_led.h"

#include "widgets/ti_paint.h"

#include <QPainter>
#include <QResizeEvent>

namespace lq {

TiLed::TiLed(QWidget* parent) : TiCustomComponent(parent) {
    resize(20, 20);
}

void TiLed::SetActive(bool on) {
    if (on == active_) return;
    active_ = on;
    update();
    Fire(OnChange);
}

void TiLed::SetActiveColor(TColor c) {
    if (c == activeColor_) return;
    activeColor_ = c;
    update();
}

void TiLed::SetInactiveColor(TColor c) {
    if (c == inactiveColor_) return;
    inactiveColor_ = c;
    update();
}

void TiLed::SetAutoInactiveColor(bool on) {
    if (on == autoInactiveColor_) return;
    autoInactiveColor_ = on;
    update();
}

TColor TiLed::ShownColor() const {
    if (active_) return activeColor_;
    return autoInactiveColor_ ? DimColor(activeColor_) : inactiveColor_;
}

void TiLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintLamp(p, ToQColor(ShownColor()));
}

void TiLed::PaintLamp(QPainter& p, const QColor& body) {
    PaintRectLamp(p, QRectF(rect()).adjusted(1, 1, -1, -1), body, 2);
}

TiLedRound::TiLedRound(QWidget* parent) : TiLed(parent) {}

void TiLedRound::resizeEvent(QResizeEvent* e) {
    TiLed::resizeEvent(e);
    if (Loading()) return;
    const QSize now = e->size();
    if (now.width() == now.height()) return;
    if (now.width() != e->oldSize().width())
        resize(now.width(), now.width());
    else
        resize(now.height(), now.height());
}

void TiLedRound::PaintLamp(QPainter& p, const QColor& body) {
    const qreal side = qMin(width(), height()) - 1;
    const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    PaintRoundLamp(p, r, body);
}

} // namespace lq
