// The operator's commands: each fills the one write request and sends it when "通讯" is ticked. A command
// refused before sending changes nothing on screen, so that nothing looks given that was not sent.
#include <QTextEdit>

#include "modbus/command_value.h"
#include "modbus/text_helpers.h"
#include "panel/command_entry.h"
#include "panel/form1.h"
#include "panel/knob_seeds.h"
#include "widgets/ti_analog_display.h"
#include "widgets/ti_analog_output.h"
#include "widgets/ti_knob.h"
#include "widgets/ti_line_editor.h"
#include "widgets/ti_switch_led.h"

namespace lq {

namespace {

constexpr std::uint8_t kRunStopRegister = 3;
constexpr std::int32_t kStopCode = 1111;
constexpr std::int32_t kRunCode = 3333;

// What a refused entry shows in its box, and the whole reason beside it.
struct Refusal {
    QString inField;
    QString reason;
};

Refusal EntryFaultRefusal(EntryTextFault fault) {
    switch (fault) {
    case EntryTextFault::Empty:
        return {TForm1::tr("空"), TForm1::tr("请输入数值 (empty)")};
    case EntryTextFault::Negative:
        return {TForm1::tr("负值"), TForm1::tr("不能为负 (not negative)")};
    case EntryTextFault::NotWhole:
        return {TForm1::tr("非整数"), TForm1::tr("只接受整数 (whole numbers only)")};
    case EntryTextFault::None:
        break;
    }
    return {};
}

} // namespace

void TForm1::iSwitchLed1Change(TiComponent*) {
    // The caption is the one the refresh last set from the controller's run bit.
    const QString caption = iSwitchLed1->Caption();
    std::int32_t value = 0;
    std::int32_t code = 0;
    if (caption == QStringLiteral("STOP")) {
        value = 1;
        code = kStopCode;
    } else if (caption == QStringLiteral("RUN")) {
        value = 0;
        code = kRunCode;
    } else {
        return;
    }
    if (!master_->IssueWrite(kRunStopRegister, value)) {
        UndoToggle(iSwitchLed1);
        return;
    }
    Memo13->setPlainText(QString::fromStdString(FirstChars(IntToText(code), 7)));
}

bool TForm1::WriteSetting(std::uint8_t reg, std::int32_t value) {
    return master_->IssueWrite(reg, value);
}

void TForm1::UndoToggle(TiSwitchLed* Switch) {
    // Back as it was without a second change event, which would issue the command again.
    Switch->BeginLoading();
    Switch->SetActive(!Switch->Active());
    Switch->EndLoading();
}

void TForm1::KnobWrite(TiKnob* Knob, std::uint8_t Register) {
    const auto value = knobSeeds_->ClickValue(Knob);
    if (!value) return;
    knobSeeds_->ClickWritten(Knob, *value, master_->IssueWrite(Register, *value));
}

void TForm1::iKnob1Click(TiComponent*) {
    KnobWrite(iKnob1, 0);
}

void TForm1::iKnob2Click(TiComponent*) {
    KnobWrite(iKnob2, 4);
}

void TForm1::iKnob3Click(TiComponent*) {
    KnobWrite(iKnob3, 5);
}

void TForm1::SetEntClick(TiSwitchLed* Switch, CommandEntry* Entry, TiAnalogDisplay* Display,
                         std::uint8_t Register, bool TimesTenScale) {
    if (Switch->Caption() == QStringLiteral("SET")) {
        // The entry starts from what the controller has, selected, so typing replaces it and ENT alone
        // writes it back unchanged. The click toggles the lamp after this, so it still shows the earlier
        // state.
        lampBeforeEntry_[Switch] = Switch->Active();
        Switch->SetCaption(QStringLiteral("ENT"));
        Entry->Fill(Display->Value());
        Entry->show();
        Entry->Editor()->setFocus();
        Entry->Editor()->selectAll();
        return;
    }
    // Pressing the switch took the focus, so the field has already accepted what was typed into it.
    if (const EntryTextFault fault = Entry->TypedFault(); fault != EntryTextFault::None) {
        const Refusal refusal = EntryFaultRefusal(fault);
        Entry->ShowRefusal(refusal.inField, refusal.reason);
        return;
    }
    const auto value = RegisterValue(TimesTenScale ? TimesTen(Entry->Value()) : Entry->Value());
    if (!value) {
        // Nothing the register can hold: nothing goes on the line, and the pair waits for a correction.
        Entry->ShowRefusal(tr("超限"), tr("超限"));
        return;
    }
    // Refused before sending, the pair stays open with what was typed, ready for ENT once it can go out.
    if (!master_->IssueWrite(Register, *value)) {
        if (!Polling())
            Entry->ShowRefusal(tr("未勾选"), tr("通讯未勾选，未发送"));
        else
            Entry->ShowRefusal(tr("地址"), tr("从站地址无效，未发送"));
        return;
    }
    Switch->SetCaption(QStringLiteral("SET"));
    Entry->hide();
}

void TForm1::EntryMouseDown(CommandEntry* Entry) {
    // A click on a refused entry brings the typed text back for correcting.
    if (!Entry->ErrorActive()) return;
    Entry->ShowTypedAgain();
}

void TForm1::EntryKeyDown(TiSwitchLed* Switch, CommandEntry* Entry, TiAnalogDisplay* Display, int Key) {
    // Only an entry its SET opened is the pair's: pressing the switch otherwise would open it afresh.
    if (Switch->Caption() != QStringLiteral("ENT")) return;
    if (Key == Qt::Key_Return || Key == Qt::Key_Enter)
        Switch->Click();
    else if (Key == Qt::Key_Escape)
        CancelEntry(Switch, Entry, Display);
}

void TForm1::CancelEntry(TiSwitchLed* Switch, CommandEntry* Entry, TiAnalogDisplay* Display) {
    if (Switch->Caption() != QStringLiteral("ENT")) return;
    Switch->SetCaption(QStringLiteral("SET"));
    Switch->BeginLoading();
    Switch->SetActive(lampBeforeEntry_[Switch]);
    Switch->EndLoading();
    // On the switch before the entry goes, so the focus stays with the pair.
    Switch->setFocus(Qt::OtherFocusReason);
    Entry->Fill(Display->Value());
    Entry->hide();
}

void TForm1::iSwitchLed2Click(TiComponent*) {
    SetEntClick(iSwitchLed2, iAnalogOutput3, iAnalogDisplay8, 36, true);
}

void TForm1::iSwitchLed3Click(TiComponent*) {
    SetEntClick(iSwitchLed3, iAnalogOutput5, iAnalogDisplay9, 39, true);
}

void TForm1::iSwitchLed4Click(TiComponent*) {
    SetEntClick(iSwitchLed4, iAnalogOutput6, iAnalogDisplay10, 40, true);
}

void TForm1::iSwitchLed5Click(TiComponent*) {
    SetEntClick(iSwitchLed5, iAnalogOutput7, iAnalogDisplay11, 41, false);
}

void TForm1::iSwitchLed6Click(TiComponent*) {
    SetEntClick(iSwitchLed6, iAnalogOutput8, iAnalogDisplay12, 42, false);
}

void TForm1::iAnalogOutput2MouseDown(TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    iAnalogOutput2->SetValue(iAnalogOutput2->Value() - 0.1);
}

void TForm1::iAnalogOutput2MouseUp(TiComponent*, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    iAnalogOutput2->SetValue(iAnalogOutput2->Value() + 0.1);
}

} // namespace lq
