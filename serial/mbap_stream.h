#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lq {

// One Modbus TCP connection's conversion: each request gets the next transaction id, and only a reply
// carrying the id of the latest request is passed on, so a late answer to an earlier request is dropped
// rather than taken for the current one. Replies may come split over segments or several in one.
class TMbapStream {
  public:
    // The request as it goes on the connection.
    std::vector<std::uint8_t> Request(std::span<const std::uint8_t> rtu);
    // Appends to rtu the replies that the bytes complete, each as an RTU frame with its CRC.
    void Receive(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& rtu);
    // Bytes of a reply not yet complete are forgotten, as a purged receive queue forgets a partial frame.
    void ForgetPartial() { pending_.clear(); }

    std::uint32_t Dropped() const { return dropped_; }

  private:
    std::uint16_t nextTransaction_ = 1;
    std::uint16_t expected_ = 0;
    std::vector<std::uint8_t> pending_;
    std::uint32_t dropped_ = 0;
};

} // namespace lq
