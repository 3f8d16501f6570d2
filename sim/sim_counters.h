#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lq::sim {

// What the simulated controller heard and answered, and what the line did to its answers: the figures a
// master's own counts are compared with.
struct SimCounters {
    std::uint64_t requests = 0;     // complete frames heard
    std::uint64_t requestsLost = 0; // lost on their way in: never carried out, never answered
    std::uint64_t ignored = 0;      // nothing to answer: another slave's frame, a damaged one, a broadcast
    std::uint64_t readReplies = 0;  // answers made, by kind
    std::uint64_t echoes = 0;
    std::uint64_t exceptions = 0;
    std::uint64_t sentWhole = 0; // answers that left as they were made, on time, once
    std::uint64_t dropped = 0;   // never sent
    std::uint64_t corrupted = 0; // one byte damaged (split or not)
    std::uint64_t split = 0;     // sent in two parts with a pause between
    std::uint64_t repeated = 0;  // sent a second time
    std::uint64_t heldBack = 0;  // sent late instead of on time
    std::uint64_t bytesDropped = 0;
    std::uint64_t bytesInserted = 0;
    std::uint64_t bitErrors = 0; // answers with at least one flipped bit

    bool operator==(const SimCounters&) const = default;
};

// Replaces the file at path with one "name value" line per counter, atomically, so a reader never sees
// half of it. False if it could not be written.
bool WriteSimCounters(const std::string& path, const SimCounters& counters);
// Reads such a file back; nothing if it is missing or malformed.
std::optional<SimCounters> ReadSimCounters(const std::string& path);

} // namespace lq::sim
