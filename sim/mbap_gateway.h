#pragma once

#include "sim/frame_assembler.h"

#include <cstdint>
#include <span>
#include <vector>

namespace lq::sim {

// The simulator's side of a Modbus TCP gateway: requests from the connection become RTU frames for the
// controller, and its RTU replies go back with the transaction id of the latest request. A reply whose CRC
// does not match is not passed on, as a gateway discards what its serial side garbled.
class MbapGateway {
  public:
    // The RTU frames (with CRC) of the requests these bytes complete.
    Frame FromNetwork(std::span<const std::uint8_t> bytes);
    // The Modbus TCP replies of the RTU replies these bytes complete.
    Frame FromController(std::span<const std::uint8_t> bytes);

  private:
    std::vector<std::uint8_t> network_;
    std::vector<std::uint8_t> controller_;
    std::uint16_t transaction_ = 0;
};

} // namespace lq::sim
