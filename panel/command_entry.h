#pragma once

#include <QString>
#include <optional>

#include "modbus/command_value.h"
#include "widgets/ti_analog_output.h"

namespace lq {

// A SET/ENT entry field. It takes every character a number of any kind needs, so that a decimal point or a
// minus sign typed where the register refuses one stays on screen and ENT refuses the text, where the field's
// own filter would drop the character and another number would go out (12.6 as 126). It keeps what the
// operator typed, for the check and for putting it back after a refusal.
class CommandEntry final : public TiAnalogOutput {
    Q_OBJECT
  public:
    using TiAnalogOutput::TiAnalogOutput;

    // The value filled in by code, with nothing typed yet.
    void Fill(double value);
    // Why the typed text cannot go out as typed; None when nothing was typed since the last fill.
    EntryTextFault TypedFault() const;
    // A refusal shown in place of the text, in words short enough for the field's box, with the whole reason
    // beside the field and on its tooltip. A click on the field puts the operator's text back.
    // Tab onto a refused entry does the same.
    void ShowRefusal(const QString& inField, const QString& reason);
    void ShowTypedAgain();

  protected:
    // While the refusal hides the editor the field takes the focus itself, so that Tab still reaches it.
    void ErrorActiveChanged() override;
    void focusInEvent(QFocusEvent* event) override;
    void AcceptTyped(const QString& text) override;
    bool CharAllowed(QChar ch) const override;

  private:
    std::optional<QString> typed_;
};

} // namespace lq
