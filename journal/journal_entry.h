#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lq {

// What an entry of the journal records; each has its name in the journal file's "kind" column.
enum class EntryKind : std::uint8_t {
    AlarmOn,
    AlarmOff,
    AlarmAck,
    LinkLost,
    LinkRestored,
    PortOpened,
    PortClosed,
    PortLost,
    Write,
    RunState,
    Settings,
    Recording,
};
inline constexpr int kEntryKindCount = 12;

// "alarm-on", "link-lost", …
std::string_view KindName(EntryKind kind);

// One thing that happened, as the window lists it and the file keeps it.
struct JournalEntry {
    std::chrono::system_clock::time_point time;
    EntryKind kind = EntryKind::AlarmOn;
    std::string subject;                // "13.4" for an alarm, "36" for a write, the port's name
    std::optional<std::uint16_t> value; // the raw register value, where one belongs
    std::string outcome;                // "confirmed", "refused-02", "no-reply", …
    std::string text;                   // what the operator reads, in the panel's language
};

} // namespace lq
