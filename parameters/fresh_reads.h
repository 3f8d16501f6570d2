#pragma once

#include <array>
#include <cstdint>

#include "modbus/link_events.h"
#include "modbus/register_image.h"

namespace lq {

// Which poll blocks have been read afresh since a moment: a block counts only from an accepted reply to a
// read whose request went on the line after that moment, so no value older than the moment is ever taken. At
// most one read is in flight and a reply is stored only under the block its read asked for, so the accepted
// reply of a block answers that block's latest read.
class FreshReads {
  public:
    // Forgets every block: from now on only new reads count.
    void Restart();
    void RequestSent(const SentRequest& request);
    void DeliveryJudged(const Delivery& delivery);

    bool Fresh(std::uint8_t block) const { return block < fresh_.size() && fresh_[block]; }

  private:
    std::array<bool, kPollBlockStarts.size()> asked_{};
    std::array<bool, kPollBlockStarts.size()> fresh_{};
};

} // namespace lq
