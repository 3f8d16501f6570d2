#include "widgets/ti_analog_output.h"

#include "widgets/ti_line_editor.h"
#include "widgets/ti_number.h"

namespace lq {

TiAnalogOutput::TiAnalogOutput(QWidget* parent) : TiEditCustom(parent) {
    Reformat();
}

void TiAnalogOutput::Reformat() {
    ShowAcceptedText(FormatNumber(value_, precision_, unitsText_));
}

double TiAnalogOutput::Limited(double value) const {
    if (valueMin_ == 0 && valueMax_ == 0) return value;
    return ClampToRange(value, valueMin_, valueMax_);
}

void TiAnalogOutput::Store(double value, bool byOperator) {
    value = Limited(value);
    // The same value still re-formats, so text typed but never accepted does not outlive a refresh.
    if (value == value_) {
        Reformat();
        return;
    }
    value_ = value;
    Reformat();
    Fire(OnChange);
    if (byOperator) Fire(OnChangeUser);
}

void TiAnalogOutput::SetValue(double value) {
    Store(value, false);
}

void TiAnalogOutput::SetPrecision(int p) {
    precision_ = p;
    Reformat();
}

void TiAnalogOutput::SetUnitsText(const QString& units) {
    unitsText_ = units.trimmed();
    Reformat();
}

void TiAnalogOutput::SetValueMin(double v) {
    valueMin_ = v;
    if (!Loading()) Store(value_, false);
}

void TiAnalogOutput::SetValueMax(double v) {
    valueMax_ = v;
    if (!Loading()) Store(value_, false);
}

void TiAnalogOutput::AcceptTyped(const QString& text) {
    QString number = text;
    if (!unitsText_.isEmpty()) number.remove(unitsText_, Qt::CaseInsensitive);
    const std::optional<double> parsed = ParseNumber(number);
    if (!parsed) {
        Beep();
        if (!undoOnError_)
            throw EConvertError(QStringLiteral("'%1' is not a valid number").arg(text).toStdString());
        SetEditorText(LastAcceptedText());
        return;
    }
    Store(*parsed, true);
}

bool TiAnalogOutput::CharAllowed(QChar ch) const {
    if (filterStyle_ == ifisNone) return true;
    // ASCII only: full-width and other scripts' digits are digits to Unicode but not to the conversion.
    if (ch == u'-' || (ch >= u'0' && ch <= u'9')) return true;
    if (ch == DecimalSeparator() && precision_ != 0) return true;
    return unitsText_.contains(ch, Qt::CaseInsensitive);
}

int TiAnalogOutput::SelectableLength() const {
    const QString text = Text();
    if (!unitsText_.isEmpty() && text.endsWith(unitsText_, Qt::CaseInsensitive))
        return int(text.size() - unitsText_.size());
    return int(text.size());
}

} // namespace lq
