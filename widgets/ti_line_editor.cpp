#include "widgets/ti_line_editor.h"

#include "widgets/ti_edit_custom.h"
#include "widgets/ti_paint.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>

namespace lq {

TiLineEditor::TiLineEditor(TiEditCustom* owner) : QLineEdit(owner), owner_(owner) {
    setFrame(false);
    setTextMargins(2, 0, 2, 0);
    // The field opens its own menu on the right press; the editor's stock menu must not follow it.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

// The editor covers the whole field, so its coordinates are the field's.
void TiLineEditor::mousePressEvent(QMouseEvent* e) {
    owner_->HandleMousePress(e, e->position().toPoint());
    e->accept();
}

void TiLineEditor::mouseDoubleClickEvent(QMouseEvent* e) {
    owner_->HandleMouseDoubleClick(e, e->position().toPoint());
    e->accept();
}

void TiLineEditor::mouseReleaseEvent(QMouseEvent* e) {
    owner_->HandleMouseRelease(e, e->position().toPoint());
    e->accept();
}

void TiLineEditor::mouseMoveEvent(QMouseEvent* e) {
    owner_->HandleMouseMove(e, e->position().toPoint());
    e->accept();
}

void TiLineEditor::keyPressEvent(QKeyEvent* e) {
    owner_->HandleKeyPress(e);
    e->accept();
}

void TiLineEditor::keyReleaseEvent(QKeyEvent* e) {
    owner_->HandleKeyRelease(e);
    e->accept();
}

void TiLineEditor::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    owner_->EditorLostFocus(e);
}

void TiLineEditor::paintEvent(QPaintEvent* e) {
    QLineEdit::paintEvent(e);
    QPainter p(this);
    PaintBevelEdges(p, rect().adjusted(0, 0, -1, -1), 1, QColor(128, 128, 128), QColor(235, 235, 235));
}

} // namespace lq
