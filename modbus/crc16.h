#pragma once

#include <cstdint>

namespace lq {

extern const std::uint8_t CRCHiTable[256];
extern const std::uint8_t CRCLoTable[256];

// CRC-16/MODBUS with its two bytes swapped: the result's high byte is the CRC byte that goes on the
// line first, so a sender appends high byte then low byte. A count of 0 or less gives 0xFFFF.
std::uint16_t CalcCRC16(const std::uint8_t* data, std::int32_t count);

} // namespace lq
