#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lq {

// The addresses a controller can have: 0 is the broadcast every controller obeys, 248..255 are reserved.
inline constexpr std::uint8_t kLowestSlaveAddress = 1;
inline constexpr std::uint8_t kHighestSlaveAddress = 247;

// The slave address a text names, read as the address box reads it: TextToInt (decimal, or hexadecimal
// after "$", "x" or "0x"), when that is 1..247; 0 is the broadcast address and 248..255 are reserved.
std::optional<std::uint8_t> SlaveAddressFromText(std::string_view text);

// True when the text is nothing but one of those number forms: no blanks, no sign, nothing after the digits,
// which the box forgives while typing but a script's argument should not carry.
bool IsWholeNumberText(std::string_view text);

} // namespace lq
