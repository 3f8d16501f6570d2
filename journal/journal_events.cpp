#include "journal/journal_events.h"

#include <cstdio>

#include "modbus/display_text.h"
#include "modbus/register_labels.h"

namespace lq {

namespace {

std::string Hex2(std::uint8_t code) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", code);
    return text;
}

std::string AlarmSubject(int bit) {
    return std::to_string(kAlarmRegister) + "." + std::to_string(bit);
}

std::string RegisterCaption(int reg) {
    std::string caption = "r" + std::to_string(reg);
    // In the interface's language: the entry's text is what the operator reads.
    if (const auto label = LabelOf(reg)) caption += " " + ShownCaption(label->label);
    return caption;
}

} // namespace

JournalEntry AlarmEntry(const JournalWording& w, const AlarmBoard::Change& change, std::uint16_t bits,
                        WallTime at) {
    const bool on = IsActive(change.to);
    return {at,
            on ? EntryKind::AlarmOn : EntryKind::AlarmOff,
            AlarmSubject(change.bit),
            bits,
            {},
            Substitute(on ? w.alarmOn : w.alarmOff, {AlarmName(change.bit)})};
}

JournalEntry AcknowledgeEntry(const JournalWording& w, const AlarmBoard::Change& change, WallTime at) {
    return {at,
            EntryKind::AlarmAck,
            AlarmSubject(change.bit),
            {},
            {},
            Substitute(w.alarmAck, {AlarmName(change.bit)})};
}

JournalEntry LinkLostEntry(const JournalWording& w, const std::string& outcome, const std::string& failure,
                           WallTime at) {
    return {at, EntryKind::LinkLost, {}, {}, outcome, Substitute(w.linkLost, {failure})};
}

JournalEntry LinkRestoredEntry(const JournalWording& w, WallTime at) {
    return {at, EntryKind::LinkRestored, {}, {}, {}, w.linkRestored};
}

JournalEntry PortOpenedEntry(const JournalWording& w, const std::string& port, WallTime at) {
    return {at, EntryKind::PortOpened, port, {}, {}, Substitute(w.portOpened, {port})};
}

JournalEntry PortClosedEntry(const JournalWording& w, const std::string& port, WallTime at) {
    return {at, EntryKind::PortClosed, port, {}, {}, Substitute(w.portClosed, {port})};
}

JournalEntry PortLostEntry(const JournalWording& w, const std::string& port, const std::string& reason,
                           WallTime at) {
    return {at, EntryKind::PortLost, port, {}, {}, Substitute(w.portLost, {port, reason})};
}

std::string WriteOutcomeName(WriteOutcome outcome, std::uint8_t exceptionCode) {
    switch (outcome) {
    case WriteOutcome::Confirmed:
        return "confirmed";
    case WriteOutcome::Refused:
        return "refused-" + Hex2(exceptionCode);
    case WriteOutcome::Unconfirmed:
        return "unconfirmed";
    case WriteOutcome::Superseded:
        return "superseded";
    case WriteOutcome::NotSent:
        break;
    }
    return "not-sent";
}

std::string ShownValue(int reg, std::int32_t raw) {
    const auto label = LabelOf(reg);
    const int divisor = label ? label->divisor : 1;
    const int decimals = divisor >= 100 ? 2 : divisor >= 10 ? 1 : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, InPanelUnits(reg, raw));
    return text;
}

JournalEntry WriteEntry(const JournalWording& w, const WriteEnd& end, std::int32_t shownBefore) {
    std::string outcomeText;
    switch (end.outcome) {
    case WriteOutcome::Confirmed:
        outcomeText = w.confirmed;
        break;
    case WriteOutcome::Refused:
        outcomeText = Substitute(w.refused, {Hex2(end.exceptionCode)});
        break;
    case WriteOutcome::Unconfirmed:
        outcomeText = w.unconfirmed;
        break;
    case WriteOutcome::Superseded:
        outcomeText = w.superseded;
        break;
    case WriteOutcome::NotSent:
        outcomeText = w.notSent;
        break;
    }
    const int reg = end.registerAddress;
    return {end.at.wall,
            EntryKind::Write,
            std::to_string(reg),
            end.value,
            WriteOutcomeName(end.outcome, end.exceptionCode),
            Substitute(w.write, {RegisterCaption(reg), ShownValue(reg, end.value),
                                 ShownValue(reg, shownBefore), outcomeText, std::to_string(end.sends)})};
}

JournalEntry RunStateEntry(const JournalWording& w, bool running, std::uint16_t value, WallTime at) {
    return {at, EntryKind::RunState, "3", value, {}, Substitute(w.runState, {running ? "RUN" : "STOP"})};
}

JournalEntry SettingsEntry(const JournalWording& w, const std::string& port, const std::string& settings,
                           const std::string& by, WallTime at) {
    return {at, EntryKind::Settings, port, {}, {}, Substitute(w.settings, {settings, by})};
}

JournalEntry RecordingEntry(const JournalWording& w, bool started, const std::string& what, WallTime at) {
    return {at,
            EntryKind::Recording,
            {},
            {},
            started ? "started" : "stopped",
            Substitute(started ? w.recordingStarted : w.recordingStopped, {what})};
}

} // namespace lq
