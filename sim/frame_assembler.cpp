#include "sim/frame_assembler.h"

#include <algorithm>

namespace lq::sim {

microseconds InterFrameSilence(int baud)
{
    constexpr long long kBitsPerCharacter = 11;
    constexpr microseconds kFloor{1750};
    const microseconds computed{(35 * kBitsPerCharacter * 1'000'000 / 10 + baud - 1) / baud};
    return std::max(computed, kFloor);
}

void FrameAssembler::Add(std::span<const std::uint8_t> bytes, SimTime now)
{
    if (bytes.empty()) return;
    gathering_ = true;
    lastByte_ = now;
    const std::size_t room = kMaxFrame - std::min(kMaxFrame, pending_.size());
    if (bytes.size() > room) overlong_ = true;
    pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(room, bytes.size())));
}

std::optional<Frame> FrameAssembler::TakeIfComplete(SimTime now)
{
    if (!gathering_ || now - lastByte_ < silence_) return std::nullopt;
    Frame frame;
    frame.swap(pending_);
    const bool overlong = overlong_;
    overlong_ = false;
    gathering_ = false;
    if (overlong) return std::nullopt;
    return frame;
}

std::optional<SimTime> FrameAssembler::Deadline() const
{
    if (!gathering_) return std::nullopt;
    return lastByte_ + silence_;
}

} // namespace lq::sim
