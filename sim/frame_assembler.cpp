#include "sim/frame_assembler.h"

#include <algorithm>

namespace lq::sim {

microseconds InterFrameSilence(int baud) {
    constexpr long long kBitsPerCharacter = 11;
    constexpr microseconds kFloor{1750};
    const microseconds computed{(35 * kBitsPerCharacter * 1'000'000 / 10 + baud - 1) / baud};
    return std::max(computed, kFloor);
}

void FrameAssembler::Add(std::span<const std::uint8_t> bytes, SimTime now) {
    if (bytes.empty()) return;
    if (gathering_ && now - lastByte_ >= silence_) ClosePending();
    if (!gathering_) firstByte_ = now;
    gathering_ = true;
    lastByte_ = now;
    const std::size_t room = kMaxFrame - std::min(kMaxFrame, pending_.size());
    if (bytes.size() > room) overlong_ = true;
    const auto kept = static_cast<std::ptrdiff_t>(std::min(room, bytes.size()));
    pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + kept);
}

std::optional<ReceivedFrame> FrameAssembler::Take(SimTime now) {
    if (gathering_ && now - lastByte_ >= silence_) ClosePending();
    if (closed_.empty()) return std::nullopt;
    ReceivedFrame frame = std::move(closed_.front());
    closed_.pop_front();
    return frame;
}

std::optional<SimTime> FrameAssembler::Deadline() const {
    if (!closed_.empty()) return closed_.front().end;
    if (!gathering_) return std::nullopt;
    return lastByte_ + silence_;
}

void FrameAssembler::ClosePending() {
    if (!overlong_) closed_.push_back({std::move(pending_), lastByte_ + silence_, firstByte_});
    pending_.clear();
    overlong_ = false;
    gathering_ = false;
}

} // namespace lq::sim
