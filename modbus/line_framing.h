#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lq {

// How each character goes on the line: 8 data bits, then two stop bits, or an even or odd parity bit and one
// stop bit. These are the framings the panel offers; a character without parity gets a second stop bit.
enum class Framing : std::uint8_t { N2, E1, O1 };
inline constexpr std::array<Framing, 3> kFramings{Framing::N2, Framing::E1, Framing::O1};

enum class FramingParity : std::uint8_t { None, Even, Odd };

// As the framing box names it: "8_N_2", "8_E_1", "8_O_1".
std::string_view FramingName(Framing framing);
// The common short spelling: "8N2", "8E1", "8O1".
std::string_view FramingShortName(Framing framing);
// The framing of the framing box's name; none for any other text.
std::optional<Framing> FramingNamed(std::string_view name);

FramingParity ParityOf(Framing framing);
int StopBitsOf(Framing framing);

} // namespace lq
