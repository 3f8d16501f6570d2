#include "modbus/block_ages.h"

namespace lq {

BlockAges::BlockAges(const IClock& clock, std::chrono::milliseconds pollTick)
    : clock_(clock), oldAfter_(pollTick * (kTurnsBeforeOld * static_cast<int>(kPollBlockStarts.size()))),
      start_(clock.Now()) {}

std::chrono::milliseconds BlockAges::Age(std::uint8_t block) const {
    const TimePoint since = EverAnswered(block) ? *lastAccepted_[block] : start_;
    return std::chrono::duration_cast<std::chrono::milliseconds>(clock_.Now() - since);
}

bool BlockAges::EverAnswered(std::uint8_t block) const {
    return block < lastAccepted_.size() && lastAccepted_[block].has_value();
}

void BlockAges::DeliveryJudged(const Delivery& delivery) {
    if (delivery.verdict != DeliveryVerdict::Accepted || delivery.block >= lastAccepted_.size()) return;
    lastAccepted_[delivery.block] = delivery.at.steady;
}

} // namespace lq
