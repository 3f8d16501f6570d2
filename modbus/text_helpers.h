#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lq {

// Lenient text to integer that never fails: leading blanks, one sign, "$"/"x"/"X"/"0x"/"0X" for hex.
// Reading stops at the first non-digit or at a digit that would leave the signed 32-bit range; a text read
// to its end gives the signed value, a text cut short gives the digits read so far without the sign.
std::int32_t TextToInt(std::string_view text);

// Decimal text, no leading zeros or blanks, "-" for negatives.
std::string IntToText(std::int32_t value);

// The first n characters (UTF-8 code points) of text, or all of it when shorter.
std::string FirstChars(std::string_view text, int n);

// "01 03 00 00 00 0A C5 CD"
std::string HexText(std::span<const std::uint8_t> bytes);

} // namespace lq
