#pragma once

// Modbus TCP framing at a gateway's boundary: the MBAP header (transaction id, protocol 0, length, unit
// id) instead of the RTU frame's CRC. Pure functions; the bytes from the network are untrusted input.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace lq {

constexpr std::size_t kMbapHeaderSize = 7;
// The length field counts the unit id and the PDU; a PDU is 1..253 bytes.
constexpr std::uint16_t kMbapMinLength = 2;
constexpr std::uint16_t kMbapMaxLength = 254;

// An RTU request (address, PDU, CRC) as a Modbus TCP request: its CRC dropped, the address as the unit id.
// Empty when the frame is too short to hold an address, a function code and a CRC.
std::vector<std::uint8_t> MbapFromRtu(std::span<const std::uint8_t> rtu, std::uint16_t transactionId);

// What a look at the start of the received bytes found.
struct MbapScan {
    std::vector<std::uint8_t> rtu; // the accepted replies, each rebuilt as an RTU frame with its CRC
    std::size_t consumed = 0;      // bytes taken from the front, accepted or dropped; the rest is incomplete
    std::uint32_t dropped = 0;     // replies dropped: another transaction, protocol or a length that is wrong
};

// Takes every complete reply from the front of bytes. A reply of another transaction is skipped by its
// length; a header that cannot be trusted (protocol not 0, a length out of range or one that disagrees with
// the PDU's own byte count) leaves no way to find the next header, so everything received is dropped.
MbapScan ScanMbapReplies(std::span<const std::uint8_t> bytes, std::uint16_t expectedTransaction);

} // namespace lq
