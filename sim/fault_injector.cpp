#include "sim/fault_injector.h"

namespace lq::sim {

std::vector<ReplyChunk> FaultInjector::Plan(Frame reply) {
    lastFate_ = ReplyFate::Dropped;
    if (reply.empty() || random_.Chance(options_.drop)) return {};

    lastFate_ = ReplyFate::Whole;
    if (random_.Chance(options_.corrupt)) {
        lastFate_ = ReplyFate::Corrupted;
        // One damaged byte is a burst of at most 8 bits, which the CRC always catches: a corrupted reply
        // can be refused but never mistaken for a good one.
        const auto at = static_cast<std::size_t>(random_.Between(0, static_cast<int>(reply.size()) - 1));
        reply[at] ^= static_cast<std::uint8_t>(random_.Between(1, 255));
    }

    if (reply.size() >= 2 && random_.Chance(options_.split)) {
        const auto cut = static_cast<std::ptrdiff_t>(random_.Between(1, static_cast<int>(reply.size()) - 1));
        ReplyChunk head{options_.delay, Frame(reply.begin(), reply.begin() + cut)};
        ReplyChunk tail{options_.delay + kSplitPause, Frame(reply.begin() + cut, reply.end())};
        lastFate_ = lastFate_ == ReplyFate::Corrupted ? ReplyFate::CorruptedAndSplit : ReplyFate::Split;
        return {std::move(head), std::move(tail)};
    }
    return {ReplyChunk{options_.delay, std::move(reply)}};
}

} // namespace lq::sim
