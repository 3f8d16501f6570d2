#pragma once

#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <optional>
#include <span>

namespace lq::sim {

// The silence that ends an RTU frame: 3.5 characters of 11 bits at the given rate, and never less than
// 1.75 ms, the fixed figure for fast lines. baud must be positive.
microseconds InterFrameSilence(int baud);

// Gathers received bytes into frames: a frame ends when the line has been quiet for the inter-frame
// silence. A frame longer than the largest RTU frame is kept only as "too long" and yields nothing.
class FrameAssembler {
public:
    static constexpr std::size_t kMaxFrame = 256;

    explicit FrameAssembler(microseconds silence) : silence_(silence) {}

    void Add(std::span<const std::uint8_t> bytes, SimTime now);

    // The frame, once the silence after its last byte has passed; an overlong frame is discarded here.
    std::optional<Frame> TakeIfComplete(SimTime now);

    // When the frame being gathered will be complete, if one is.
    std::optional<SimTime> Deadline() const;

private:
    microseconds silence_;
    Frame pending_;
    bool overlong_ = false;
    bool gathering_ = false;
    SimTime lastByte_{};
};

} // namespace lq::sim
