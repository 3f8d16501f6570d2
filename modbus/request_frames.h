#pragma once

#include <array>
#include <cstdint>

namespace lq {

using RequestFrame = std::array<std::uint8_t, 8>;

constexpr std::uint8_t kReadHoldingRegisters = 0x03;
constexpr std::uint8_t kWriteSingleRegister = 0x06;

// Function 3, start register and quantity in one byte each (their high bytes are always 0), CRC appended.
RequestFrame BuildReadRequest(std::uint8_t slave, std::uint8_t startRegister, std::uint8_t quantity);

// Function 6, register in one byte, value as its high and low byte, CRC appended.
RequestFrame BuildWriteRequest(std::uint8_t slave, std::uint8_t registerAddress, std::uint8_t valueHi,
                               std::uint8_t valueLo);

} // namespace lq
