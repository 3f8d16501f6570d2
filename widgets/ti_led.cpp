#include "widgets/ti_led.h"

#include "widgets/ti_paint.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

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

QSize TiLedRound::Squared(QSize wanted, QSize before) const {
    if (Loading() || wanted.width() == wanted.height()) return wanted;
    int side = std::max(wanted.width(), wanted.height());
    if (before.isValid()) side = wanted.width() != before.width() ? wanted.width() : wanted.height();
    return {side, side};
}

void TiLedRound::resize(const QSize& size) {
    TiLed::resize(Squared(size, this->size()));
}

void TiLedRound::setGeometry(const QRect& geometry) {
    TiLed::setGeometry(QRect(geometry.topLeft(), Squared(geometry.size(), size())));
}

void TiLedRound::resizeEvent(QResizeEvent* e) {
    TiLed::resizeEvent(e);
    const QSize square = Squared(e->size(), e->oldSize());
    if (square != e->size()) TiLed::resize(square);
}

void TiLedRound::PaintLamp(QPainter& p, const QColor& body) {
    const qreal side = qMin(width(), height()) - 1;
    const QRectF r((width() - side) / 2.0, (height() - side) / 2.0, side, side);
    PaintRoundLamp(p, r, body);
}

} // namespace lq
