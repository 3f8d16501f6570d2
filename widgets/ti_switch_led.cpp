#include "widgets/ti_switch_led.h"

#include "widgets/ti_paint.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace lq {

TiSwitchLed::TiSwitchLed(QWidget* parent) : TiCustomComponent(parent) {
    setFocusPolicy(Qt::StrongFocus);
    resize(40, 28);
}

void TiSwitchLed::SetCaption(const QString& text) {
    if (text == caption_) return;
    caption_ = text;
    update();
}

void TiSwitchLed::SetActive(bool on) {
    if (on == active_) return;
    active_ = on;
    update();
    Fire(OnChange);
}

void TiSwitchLed::SetActiveByUser(bool on) {
    if (on == active_) return;
    SetActive(on);
    Fire(OnChangeUser);
}

void TiSwitchLed::SetActiveColor(TColor c) {
    if (c == activeColor_) return;
    activeColor_ = c;
    update();
}

void TiSwitchLed::SetFontColor(TColor c) {
    fontColor_ = c;
    update();
}

void TiSwitchLed::SetBackGroundColor(TColor c) {
    backGroundColor_ = c;
    update();
}

void TiSwitchLed::SetCaptionMargin(int m) {
    captionMargin_ = m;
    update();
}

void TiSwitchLed::SetIndicatorMargin(int m) {
    indicatorMargin_ = m;
    update();
}

void TiSwitchLed::SetBorderSize(int b) {
    borderSize_ = b;
    update();
}

void TiSwitchLed::SetPressed(bool on) {
    if (on == pressed_) return;
    pressed_ = on;
    update();
}

void TiSwitchLed::MouseDownReaction(QMouseEvent* e, QPoint) {
    if (e->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    SetPressed(true);
    if (momentaryStyle_ == ismsSimple) SetActiveByUser(true);
}

void TiSwitchLed::MouseUpReaction(QMouseEvent* e, QPoint pos) {
    if (e->button() != Qt::LeftButton || !pressed_) return;
    SetPressed(false);
    Release(rect().contains(pos));
}

void TiSwitchLed::Release(bool inside) {
    if (momentaryStyle_ == ismsSimple)
        SetActiveByUser(false);
    else if (inside)
        SetActiveByUser(!active_);
}

void TiSwitchLed::Click() {
    setFocus(Qt::OtherFocusReason);
    SetPressed(true);
    if (momentaryStyle_ == ismsSimple) SetActiveByUser(true);
    ClickRelease();
}

void TiSwitchLed::ClickRelease() {
    // As on the mouse's release: a handler that took the focus away has ended the press, and the toggle with
    // it.
    Guarded([&] { Fire(OnClick); });
    if (!pressed_) return;
    SetPressed(false);
    Release(true);
}

bool TiSwitchLed::PressKey(int key) const {
    return key == Qt::Key_Space || (keysClick_ && (key == Qt::Key_Return || key == Qt::Key_Enter));
}

void TiSwitchLed::KeyDownReaction(QKeyEvent* e) {
    // A repeat only arms a switch the focus reached with the key already down, whose release is no press.
    if (!PressKey(e->key()) || e->isAutoRepeat()) return;
    SetPressed(true);
    if (keysClick_ && momentaryStyle_ == ismsSimple) SetActiveByUser(true);
}

void TiSwitchLed::KeyUpReaction(QKeyEvent* e) {
    if (!PressKey(e->key()) || e->isAutoRepeat() || !pressed_) return;
    if (keysClick_) {
        ClickRelease();
        return;
    }
    SetPressed(false);
    SetActiveByUser(!active_);
}

void TiSwitchLed::FocusOutReaction(QFocusEvent*) {
    SetPressed(false);
    if (momentaryStyle_ == ismsSimple) SetActiveByUser(false);
}

void TiSwitchLed::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF all(rect());
    PaintBevel(p, all, borderSize_, pressed_, ToQColor(backGroundColor_));

    // The lamp stripe runs across the top, the caption sits under it. Pressing shifts the contents by a
    // pixel, as a real key cap would.
    const qreal shift = pressed_ ? 1 : 0;
    const qreal inset = borderSize_ + indicatorMargin_;
    const qreal stripeH = qBound<qreal>(3, std::round(height() * 0.15), 6);
    const QRectF stripe(inset + shift, inset + shift, width() - 2 * inset, stripeH);
    const TColor shown = active_ ? activeColor_ : DimColor(activeColor_);
    if (stripe.width() > 0) PaintRectLamp(p, stripe, ToQColor(shown), 1.5);

    const QRectF textRect(borderSize_ + captionMargin_ + shift, stripe.bottom() + 1,
                          width() - 2 * (borderSize_ + captionMargin_),
                          height() - borderSize_ - stripe.bottom() - 2);
    // A caption wider than the face is drawn smaller rather than clipped.
    QFont f = font();
    const qreal advance = QFontMetricsF(f).horizontalAdvance(caption_);
    if (advance > textRect.width() && advance > 0) {
        const qreal size = f.pixelSize() > 0 ? f.pixelSize() : QFontInfo(f).pixelSize();
        f.setPixelSize(qMax(7, int(size * textRect.width() / advance)));
    }
    p.setFont(f);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(ToQColor(fontColor_));
    p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, caption_);
    if (hasFocus()) PaintFocusFrame(p, int(shift));
}

// Dots inside the bevel, moving with the pressed face.
void TiSwitchLed::PaintFocusFrame(QPainter& p, int shift) const {
    p.setPen(QPen(QColor(60, 60, 60), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(
        QRect(borderSize_ + 1, borderSize_ + 1, width() - 2 * borderSize_ - 3, height() - 2 * borderSize_ - 3)
            .translated(shift, shift));
}

} // namespace lq
