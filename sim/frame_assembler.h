#pragma once

#include "sim/sim_clock.h"
#include "sim/slave_protocol.h"

#include <deque>
#include <optional>
#include <span>

namespace lq::sim {

// The silence that ends an RTU frame: 3.5 characters of 11 bits at the given rate, and never less than
// 1.75 ms, the fixed figure for fast lines. baud must be positive.
microseconds InterFrameSilence(int baud);

struct ReceivedFrame {
    Frame bytes;
    SimTime end;   // when the silence that closed it was complete
    SimTime begin; // when its first byte came
};

// Gathers received bytes into frames: a frame ends when the line has been quiet for the inter-frame
// silence, whether that is noticed by the clock passing or by the next byte arriving late. A frame longer
// than the largest RTU frame is cut off there and yields nothing.
class FrameAssembler {
  public:
    static constexpr std::size_t kMaxFrame = 256;

    explicit FrameAssembler(microseconds silence) : silence_(silence) {}

    void Add(std::span<const std::uint8_t> bytes, SimTime now);

    // The oldest frame whose closing silence has passed by now, if any.
    std::optional<ReceivedFrame> Take(SimTime now);

    // When the oldest frame is (or was) complete, if there is one.
    std::optional<SimTime> Deadline() const;

  private:
    void ClosePending();

    microseconds silence_;
    std::deque<ReceivedFrame> closed_;
    Frame pending_;
    bool overlong_ = false;
    bool gathering_ = false;
    SimTime firstByte_{};
    SimTime lastByte_{};
};

} // namespace lq::sim
