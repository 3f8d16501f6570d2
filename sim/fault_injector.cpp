#include "sim/fault_injector.h"

#include <cmath>

namespace lq::sim {

namespace {

// Kept apart from the seed's other uses, so the per-reply streams never repeat the first faults' stream.
constexpr std::uint64_t kLineStream = 0xD1B54A32D192ED03ull;

int FlipBits(Frame& bytes, double rate, RandomSource& line) {
    int flipped = 0;
    for (std::uint8_t& byte : bytes) {
        for (int bit = 0; bit < 8; ++bit) {
            if (!line.Chance(rate)) continue;
            byte ^= static_cast<std::uint8_t>(1u << bit);
            ++flipped;
        }
    }
    return flipped;
}

} // namespace

microseconds FaultInjector::Scaled(milliseconds nominal) const {
    return microseconds(
        std::llround(static_cast<double>(microseconds(nominal).count()) * options_.timeScale));
}

microseconds FaultInjector::Within(milliseconds lo, milliseconds hi, RandomSource& line) const {
    const auto from = static_cast<int>(Scaled(lo).count());
    const auto to = static_cast<int>(Scaled(hi).count());
    return microseconds(line.Between(from, to));
}

std::vector<ReplyChunk> FaultInjector::Plan(Frame reply) {
    fate_ = {};
    RandomSource line = RandomSource::Substream(seed_ ^ kLineStream, planned_++);
    fate_.dropped = reply.empty() || random_.Chance(options_.drop);
    if (fate_.dropped) return {};
    Damage(reply, line);
    auto chunks = Cut(std::move(reply));
    Time(chunks, line);
    return chunks;
}

void FaultInjector::Damage(Frame& reply, RandomSource& line) {
    if (random_.Chance(options_.corrupt)) {
        fate_.corrupted = true;
        // One damaged byte is a burst of at most 8 bits, which the CRC always catches: a corrupted reply
        // can be refused but never mistaken for a good one.
        const auto at = static_cast<std::size_t>(random_.Between(0, static_cast<int>(reply.size()) - 1));
        reply[at] ^= static_cast<std::uint8_t>(random_.Between(1, 255));
    }
    fate_.bitsFlipped = FlipBits(reply, options_.bitErrors, line);
    if (reply.size() > 1 && line.Chance(options_.dropByte)) {
        fate_.byteDropped = true;
        reply.erase(reply.begin() + line.Between(0, static_cast<int>(reply.size()) - 1));
    }
    if (line.Chance(options_.insertByte)) {
        fate_.byteInserted = true;
        const int at = line.Between(0, static_cast<int>(reply.size()));
        reply.insert(reply.begin() + at, static_cast<std::uint8_t>(line.Between(0, 255)));
    }
}

std::vector<ReplyChunk> FaultInjector::Cut(Frame reply) {
    const microseconds delay = options_.delay;
    if (reply.size() >= 2 && random_.Chance(options_.split)) {
        fate_.split = true;
        const auto cut = static_cast<std::ptrdiff_t>(random_.Between(1, static_cast<int>(reply.size()) - 1));
        ReplyChunk head{delay, Frame(reply.begin(), reply.begin() + cut)};
        ReplyChunk tail{delay + Scaled(kSplitPause), Frame(reply.begin() + cut, reply.end())};
        return {std::move(head), std::move(tail)};
    }
    return {ReplyChunk{delay, std::move(reply)}};
}

void FaultInjector::Time(std::vector<ReplyChunk>& chunks, RandomSource& line) {
    if (line.Chance(options_.holdBack)) {
        fate_.heldBack = true;
        const microseconds late = Within(kHoldBackMin, kHoldBackMax, line);
        for (ReplyChunk& chunk : chunks) {
            chunk.after += late;
            chunk.how = Sending::Late;
        }
    }
    if (line.Chance(options_.repeat)) {
        fate_.repeated = true;
        // The same bytes again, damage and all, and in one piece even when the first went out split. The gap
        // is never shorter than the split pause, so the copy comes after a split reply's rest.
        ReplyChunk copy{chunks.front().after + Within(kRepeatGapMin, kRepeatGapMax, line), {}, Sending::Copy};
        for (const ReplyChunk& chunk : chunks)
            copy.bytes.insert(copy.bytes.end(), chunk.bytes.begin(), chunk.bytes.end());
        chunks.push_back(std::move(copy));
    }
}

} // namespace lq::sim
