#include "widgets/ti_edit_custom.h"

#include "widgets/ti_entry_filter.h"
#include "widgets/ti_line_editor.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace lq {

TiEditCustom::TiEditCustom(QWidget* parent)
    : TiCustomComponent(parent), editor_(new TiLineEditor(this)),
      filter_(new TiEntryFilter([this](QChar ch) { return CharAllowed(ch); }, [this] { Beep(); }, this)),
      entryMenu_(new QMenu(this)) {
    // Typed keys are filtered on the way in (KeyCharReaction); everything else that adds text passes the
    // editor's validator.
    editor_->setValidator(filter_);
    connect(editor_, &QLineEdit::textChanged, filter_, &TiEntryFilter::TextChanged);
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(editor_);
    editor_->setAlignment(Qt::AlignCenter);
    resize(80, 21);
    ApplyColors();
}

TiEditCustom::~TiEditCustom() = default;

QString TiEditCustom::Text() const {
    return editor_->text();
}

Qt::Alignment TiEditCustom::Alignment() const {
    return editor_->alignment();
}

void TiEditCustom::SetAlignment(Qt::Alignment a) {
    editor_->setAlignment(a);
}

void TiEditCustom::SetFontColor(TColor c) {
    fontColor_ = c;
    ApplyColors();
}

void TiEditCustom::SetBackGroundColor(TColor c) {
    backGroundColor_ = c;
    ApplyColors();
}

void TiEditCustom::ApplyColors() {
    QPalette pal = editor_->palette();
    pal.setColor(QPalette::Text, ToQColor(fontColor_));
    pal.setColor(QPalette::Base, ToQColor(backGroundColor_));
    editor_->setPalette(pal);
}

void TiEditCustom::ErrorActiveChanged() {
    editor_->setVisible(!ErrorActive());
    update();
}

void TiEditCustom::SetEditorText(const QString& text) {
    const TiEntryFilter::Unfiltered own(*filter_);
    editor_->setText(text);
}

void TiEditCustom::ShowAcceptedText(const QString& text) {
    // A field refreshed every tick mostly shows the text it has; setting it again would lay it out again and
    // move the operator's caret to the end.
    if (Text() != text) SetEditorText(text);
    lastAcceptedText_ = text;
}

void TiEditCustom::Accept() {
    if (Modified()) AcceptTyped(Text());
    SelectNumber();
}

void TiEditCustom::Undo() {
    SetEditorText(lastAcceptedText_);
    SelectNumber();
}

int TiEditCustom::SelectableLength() const {
    return int(Text().size());
}

void TiEditCustom::SelectNumber() {
    if (autoSelect_) editor_->setSelection(0, SelectableLength());
}

void TiEditCustom::Beep() const {
    if (beepOnError_) QApplication::beep();
}

void TiEditCustom::EditorLostFocus(QFocusEvent* e) {
    // A pop-up (the field's own menu included) borrows the focus without the operator leaving the field.
    if (!acceptOnLostFocus_ || e->reason() == Qt::PopupFocusReason) return;
    Guarded([&] { Accept(); });
}

void TiEditCustom::MouseDownReaction(QMouseEvent* e, QPoint) {
    if (e->button() == Qt::RightButton) {
        editor_->setFocus(Qt::MouseFocusReason);
        OpenMenu(e->globalPosition().toPoint());
        return;
    }
    editor_->BaseMousePress(e);
}

void TiEditCustom::MouseDoubleClickReaction(QMouseEvent* e, QPoint pos) {
    if (e->button() != Qt::LeftButton) {
        MouseDownReaction(e, pos);
        return;
    }
    editor_->BaseMouseDoubleClick(e);
    editor_->setSelection(0, SelectableLength());
}

void TiEditCustom::MouseUpReaction(QMouseEvent* e, QPoint) {
    editor_->BaseMouseRelease(e);
}

void TiEditCustom::MouseMoveReaction(QMouseEvent* e, QPoint) {
    editor_->BaseMouseMove(e);
}

void TiEditCustom::KeyDownReaction(QKeyEvent* e) {
    // Runs twice per press: accepting or restoring a second time finds nothing left to do.
    const bool ctrlZ = e->key() == Qt::Key_Z && (e->modifiers() & Qt::ControlModifier);
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        keyConsumed_ = true;
        Accept();
    } else if (e->key() == Qt::Key_Escape || ctrlZ) {
        keyConsumed_ = true;
        Undo();
    }
}

void TiEditCustom::KeyCharReaction(QKeyEvent* e) {
    if (keyConsumed_) {
        keyConsumed_ = false;
        return;
    }
    const QString typed = e->text();
    const bool printable = !typed.isEmpty() && typed.front().isPrint() &&
                           !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
        for (QChar ch : typed) {
            if (!CharAllowed(ch)) {
                Beep();
                return;
            }
        }
    }
    editor_->BaseKeyPress(e);
}

void TiEditCustom::KeyUpReaction(QKeyEvent* e) {
    editor_->BaseKeyRelease(e);
}

void TiEditCustom::OpenMenu(QPoint globalPos) {
    if (popupMenu_) {
        popupMenu_->popup(globalPos);
        return;
    }
    entryMenu_->clear();
    const bool modified = Modified();
    const bool selected = editor_->hasSelectedText();
    const bool writable = !editor_->isReadOnly();
    auto add = [this](const QString& text, bool enabled, auto action) {
        QAction* a = entryMenu_->addAction(text);
        a->setEnabled(enabled);
        connect(a, &QAction::triggered, this, [this, action] { Guarded([&] { action(this); }); });
    };
    add(tr("Apply"), modified, [](TiEditCustom* f) { f->Accept(); });
    add(tr("Undo"), modified, [](TiEditCustom* f) { f->Undo(); });
    entryMenu_->addSeparator();
    add(tr("Cut"), selected && writable, [](TiEditCustom* f) { f->editor_->cut(); });
    add(tr("Copy"), selected, [](TiEditCustom* f) { f->editor_->copy(); });
    add(tr("Paste"), writable && !QApplication::clipboard()->text().isEmpty(),
        [](TiEditCustom* f) { f->editor_->paste(); });
    add(tr("Delete"), selected && writable, [](TiEditCustom* f) { f->editor_->del(); });
    entryMenu_->addSeparator();
    add(tr("Select All"), !Text().isEmpty(), [](TiEditCustom* f) { f->editor_->selectAll(); });
    entryMenu_->popup(globalPos);
}

QMenu* TiEditCustom::OpenEntryMenu() const {
    return entryMenu_->isVisible() ? entryMenu_ : nullptr;
}

void TiEditCustom::resizeEvent(QResizeEvent* e) {
    TiCustomComponent::resizeEvent(e);
    editor_->setGeometry(rect());
}

void TiEditCustom::paintEvent(QPaintEvent*) {
    const TiErrorLook& error = ErrorLook();
    if (!error.active) return;
    QPainter p(this);
    p.fillRect(rect(), ToQColor(error.backGroundColor));
    p.setFont(error.font);
    p.setPen(ToQColor(error.fontColor));
    p.drawText(rect(), int(editor_->alignment()) | Qt::AlignVCenter, error.text);
}

} // namespace lq
