#include "journal/journal_entry.h"

#include <array>

namespace lq {

std::string_view KindName(EntryKind kind) {
    static constexpr std::array<std::string_view, kEntryKindCount> kNames{
        "alarm-on",    "alarm-off", "alarm-ack", "link-lost", "link-restored", "port-opened",
        "port-closed", "port-lost", "write",     "run-state", "settings",      "recording"};
    return kNames[static_cast<std::size_t>(kind)];
}

} // namespace lq
