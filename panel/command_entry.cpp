#include "panel/command_entry.h"

#include <QFocusEvent>
#include <QToolTip>

#include "widgets/ti_line_editor.h"
#include "widgets/ti_number.h"

namespace lq {

void CommandEntry::Fill(double value) {
    typed_.reset();
    setToolTip({});
    SetErrorActive(false);
    SetValue(value);
}

EntryTextFault CommandEntry::TypedFault() const {
    if (!typed_) return EntryTextFault::None;
    QString number = *typed_;
    if (!UnitsText().isEmpty()) number.remove(UnitsText(), Qt::CaseInsensitive);
    return CheckEntryText(number.toStdString(), DecimalSeparator().toLatin1(), Precision() == 0);
}

void CommandEntry::ShowRefusal(const QString& inField, const QString& reason) {
    SetErrorText(inField);
    SetErrorActive(true);
    setToolTip(reason);
    if (isVisible()) QToolTip::showText(mapToGlobal(QPoint(0, height())), reason, this);
}

void CommandEntry::ShowTypedAgain() {
    SetErrorActive(false);
    setToolTip({});
    if (typed_) SetEditorText(*typed_);
    Editor()->setFocus();
    Editor()->selectAll();
}

void CommandEntry::ErrorActiveChanged() {
    TiAnalogOutput::ErrorActiveChanged();
    setFocusProxy(ErrorActive() ? nullptr : Editor());
}

void CommandEntry::focusInEvent(QFocusEvent* event) {
    TiAnalogOutput::focusInEvent(event);
    // A click has its own way back to the text (the panel's mouse-down handler), after the editor's press.
    const bool byTab = event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (ErrorActive() && byTab) ShowTypedAgain();
}

void CommandEntry::AcceptTyped(const QString& text) {
    typed_ = text;
    // A text ENT will refuse stays as typed rather than turning into the number the conversion makes of it.
    if (TypedFault() != EntryTextFault::None) return;
    TiAnalogOutput::AcceptTyped(text);
}

bool CommandEntry::CharAllowed(QChar ch) const {
    return ch == DecimalSeparator() || TiAnalogOutput::CharAllowed(ch);
}

} // namespace lq
