#pragma once

#include "sim/reply_log.h"
#include "tests/soak/soak_run.h"

#include <optional>
#include <string>
#include <vector>

namespace lq::soak {

// Where an accepted block came from, by the simulator's own reply log.
enum class Origin {
    RightBlock,     // the reply to a read of the block it was stored as
    RightBlockLate, // the same, though it came held back or as a copy
    // No RTU master can tell these from the answer to the read in flight, because a reply carries no register
    // address: a reply to another block that came late or again, alone, after that read went on the line,
    // while nothing of the read's own reply had come.
    HeldBackAlone,
    CopyAlone,
    // The same, but after some of the read's own reply had come (whole in a delivery the master did not take,
    // damaged, or the first part of a split): a master that ended the read there would not have taken it.
    AfterOwnReply,
    AnotherBlock, // stored as another block's registers in any other way
    Untraced, // not bytes the simulator sent in one piece: corruption that passed the CRC, or frames merged
};

struct TracedBlock {
    Origin origin = Origin::Untraced;
    std::optional<std::uint8_t> sourceBlock; // the poll block the answered request asked for
    bool stale = false;                      // held back or a copy
    std::string account; // for one stored as another block's: what the reply log shows around it
};

// One entry per accepted block, in the same order.
std::vector<TracedBlock> TraceBlocks(const std::vector<AcceptedBlock>& blocks, const sim::ReplyLog& log);

} // namespace lq::soak
