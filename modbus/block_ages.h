#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

#include "modbus/link_events.h"
#include "modbus/master_ports.h"
#include "modbus/register_image.h"

namespace lq {

// How long each poll block has gone without an accepted reply, so that whatever the block feeds can say
// when its values are no longer the controller's current ones. A block never answered counts from the
// start: its zeros were never the controller's at all.
class BlockAges final : public ILinkObserver {
  public:
    // Each block is read once a turn. One lost or damaged reply is ordinary noise on a working line and a
    // second in a row still happens on a poor one; a block that misses three turns running is refused,
    // damaged or silent for a reason, and three turns are still short enough for the operator to notice
    // soon after the fault began.
    static constexpr int kTurnsBeforeOld = 3;

    // pollTick: how often a read goes out, one block per tick.
    BlockAges(const IClock& clock, std::chrono::milliseconds pollTick);

    std::chrono::milliseconds OldAfter() const { return oldAfter_; }
    // Since the block's last accepted reply, or since the start when it has had none.
    std::chrono::milliseconds Age(std::uint8_t block) const;
    bool Old(std::uint8_t block) const { return Age(block) > oldAfter_; }
    bool EverAnswered(std::uint8_t block) const;

    void DeliveryJudged(const Delivery& delivery) override;

  private:
    using TimePoint = std::chrono::steady_clock::time_point;

    const IClock& clock_;
    std::chrono::milliseconds oldAfter_;
    TimePoint start_;
    std::array<std::optional<TimePoint>, kPollBlockStarts.size()> lastAccepted_{};
};

} // namespace lq
