#include "widgets/ti_component.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace lq {

TiComponent::TiComponent(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void TiComponent::BeginLoading() {
    ++loadingDepth_;
}

void TiComponent::EndLoading() {
    if (loadingDepth_ > 0) --loadingDepth_;
}

bool TiComponent::TabStop() const {
    return (focusPolicy() & Qt::TabFocus) != 0;
}

void TiComponent::SetTabStop(bool on) {
    setFocusPolicy(on ? Qt::StrongFocus : (focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus));
}

void TiComponent::Fire(const TiNotifyEvent& handler) {
    if (handler && !Loading()) handler(this);
}

void TiComponent::FireMouse(const TiMouseEvent& handler, QMouseEvent* e, QPoint pos) {
    if (handler && !Loading()) handler(this, e->button(), e->modifiers(), pos.x(), pos.y());
}

void TiComponent::FireKey(const TiKeyEvent& handler, QKeyEvent* e) {
    if (handler && !Loading()) handler(this, e->key(), e->modifiers());
}

void TiComponent::HandleMousePress(QMouseEvent* e, QPoint pos) {
    if (e->button() == Qt::LeftButton) clickArmed_ = true;
    Guarded([&] { MouseDownReaction(e, pos); });
    Guarded([&] { FireMouse(OnMouseDown, e, pos); });
}

void TiComponent::HandleMouseDoubleClick(QMouseEvent* e, QPoint pos) {
    // The second press of a double click still presses, but a click was already counted for the pair.
    if (e->button() == Qt::LeftButton) {
        clickArmed_ = false;
        Guarded([&] { Fire(OnDblClick); });
    }
    Guarded([&] { MouseDoubleClickReaction(e, pos); });
    Guarded([&] { FireMouse(OnMouseDown, e, pos); });
}

void TiComponent::HandleMouseRelease(QMouseEvent* e, QPoint pos) {
    if (e->button() == Qt::LeftButton) {
        const bool click = clickArmed_ && rect().contains(pos);
        clickArmed_ = false;
        if (click) Guarded([&] { Fire(OnClick); });
    }
    Guarded([&] { MouseUpReaction(e, pos); });
    Guarded([&] { FireMouse(OnMouseUp, e, pos); });
}

void TiComponent::HandleMouseMove(QMouseEvent* e, QPoint pos) {
    Guarded([&] { MouseMoveReaction(e, pos); });
}

void TiComponent::HandleKeyPress(QKeyEvent* e) {
    // The own reaction sees the key once before and once after the bound handler; stepping reactions
    // therefore step twice per press, state-setting ones are unaffected.
    Guarded([&] { KeyDownReaction(e); });
    Guarded([&] { FireKey(OnKeyDown, e); });
    Guarded([&] { KeyDownReaction(e); });
    Guarded([&] { KeyCharReaction(e); });
}

void TiComponent::HandleKeyRelease(QKeyEvent* e) {
    Guarded([&] { KeyUpReaction(e); });
    Guarded([&] { FireKey(OnKeyUp, e); });
}

void TiComponent::HandleWheel(QWheelEvent* e) {
    Guarded([&] { WheelReaction(e); });
}

void TiComponent::mousePressEvent(QMouseEvent* e) {
    HandleMousePress(e, e->position().toPoint());
    e->accept();
}

void TiComponent::mouseDoubleClickEvent(QMouseEvent* e) {
    HandleMouseDoubleClick(e, e->position().toPoint());
    e->accept();
}

void TiComponent::mouseReleaseEvent(QMouseEvent* e) {
    HandleMouseRelease(e, e->position().toPoint());
    e->accept();
}

void TiComponent::mouseMoveEvent(QMouseEvent* e) {
    HandleMouseMove(e, e->position().toPoint());
    e->accept();
}

void TiComponent::keyPressEvent(QKeyEvent* e) {
    HandleKeyPress(e);
    e->accept();
}

void TiComponent::keyReleaseEvent(QKeyEvent* e) {
    HandleKeyRelease(e);
    e->accept();
}

void TiComponent::wheelEvent(QWheelEvent* e) {
    if (!TakesWheel()) {
        e->ignore();
        return;
    }
    HandleWheel(e);
    e->accept();
}

void TiComponent::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    Guarded([&] { FocusOutReaction(e); });
}

} // namespace lq
