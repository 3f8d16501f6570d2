#pragma once

#include "modbus/link_events.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lq::soak {

struct SoakConfig {
    std::string devicePath;
    long exchanges = 500;                  // read requests to send before stopping
    std::chrono::milliseconds tick{25};    // poll tick and write age step
    std::uint32_t readIntervalTimeout = 8; // ms of line silence that end a read
    std::chrono::milliseconds drain{300};  // pumping after the last tick, for late replies
    long writeEveryTicks = 0;              // an operator write every so many ticks; 0 for none
    std::uint8_t writeRegister = 38;       // kept in block 3, and the controller model leaves it alone
    std::uint64_t writePhaseSeed = 1;      // where in its tick each write falls
    // The master's patience: a write is repeated after repeatAfter, a read given up after responseTimeout.
    // The time-out is ten ticks rather than the panel's two and a half: a simulator starved of the CPU on a
    // busy machine answers late, and a reply that comes after its read was given up and the poll has moved on
    // could not be told from the next block's (no controller answers that late at the panel's cadence).
    std::chrono::milliseconds responseTimeout{250};
    std::chrono::milliseconds repeatAfter{12};
};

// One delivery that the master took into its register image: the block it was stored as and the kept
// registers' values right after, the delivery itself, and when its read went out and its first byte came.
struct AcceptedBlock {
    long tick = 0;
    std::uint8_t pollIndex = 0;
    std::vector<std::uint16_t> values;
    std::vector<std::uint8_t> bytes;
    std::chrono::steady_clock::time_point readSent{};
    std::chrono::steady_clock::time_point complete{};
    // Empty when the port did not tell, or when the first byte came before the read went out.
    std::optional<std::chrono::steady_clock::time_point> firstByte;
};

inline constexpr std::size_t kVerdictKinds = static_cast<std::size_t>(DeliveryVerdict::BeforeRequest) + 1;

struct SoakFigures {
    long exchanges = 0; // read requests sent
    long writes = 0;    // write requests sent
    std::vector<std::uint16_t> writtenValues;
    std::vector<std::uint16_t> confirmedValues;   // writes the master took as done: their own echo came back
    std::vector<std::uint16_t> unconfirmedValues; // writes that ended without it (the lamp went dark)
    long deliveries = 0;
    long accepted = 0;
    long rejected =
        0; // bad CRC, a split half or short frame, frames run together, before its request, unasked
    std::array<long, kVerdictKinds> verdicts{}; // deliveries by the master's verdict
    long unanswered = 0;
    long ticks = 0;
    long longestTicksWithoutAccept = 0;
    std::chrono::duration<double> duration{};
    std::vector<AcceptedBlock> acceptedBlocks;
    std::vector<std::uint8_t> readBlocks; // the block of each read request, in order
};

// Drives the master and a real serial component (no GUI toolkit: the notification window is pumped by this
// thread) against the controller at devicePath, one poll tick and one age step per tick, pumping the
// component's notifications in between, with an operator write now and then. The port is closed again before
// this returns.
SoakFigures RunSoak(const SoakConfig& config);

} // namespace lq::soak
