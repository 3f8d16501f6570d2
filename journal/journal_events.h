#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "journal/alarm_board.h"
#include "journal/journal_entry.h"
#include "journal/journal_wording.h"
#include "modbus/link_events.h"

namespace lq {

using WallTime = std::chrono::system_clock::time_point;

// The entries of each kind, their columns filled as the journal file describes them.
JournalEntry AlarmEntry(const JournalWording& w, const AlarmBoard::Change& change, std::uint16_t bits,
                        WallTime at);
JournalEntry AcknowledgeEntry(const JournalWording& w, const AlarmBoard::Change& change, WallTime at);
// outcome: "no-reply", "crc", "exception-XX", "short-reply"; failure: its words.
JournalEntry LinkLostEntry(const JournalWording& w, const std::string& outcome, const std::string& failure,
                           WallTime at);
JournalEntry LinkRestoredEntry(const JournalWording& w, WallTime at);
JournalEntry PortOpenedEntry(const JournalWording& w, const std::string& port, WallTime at);
JournalEntry PortClosedEntry(const JournalWording& w, const std::string& port, WallTime at);
JournalEntry PortLostEntry(const JournalWording& w, const std::string& port, const std::string& reason,
                           WallTime at);
// shownBefore: the register as the panel showed it when the command went out.
JournalEntry WriteEntry(const JournalWording& w, const WriteEnd& end, std::int32_t shownBefore);
JournalEntry RunStateEntry(const JournalWording& w, bool running, std::uint16_t value, WallTime at);
JournalEntry SettingsEntry(const JournalWording& w, const std::string& port, const std::string& settings,
                           const std::string& by, WallTime at);
JournalEntry RecordingEntry(const JournalWording& w, bool started, const std::string& what, WallTime at);

// "confirmed", "refused-02", "unconfirmed", "superseded", "not-sent".
std::string WriteOutcomeName(WriteOutcome outcome, std::uint8_t exceptionCode);
// A raw register value as its display shows it: "80.0" for SV, "1200" for I.
std::string ShownValue(int reg, std::int32_t raw);

} // namespace lq
