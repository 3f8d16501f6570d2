#pragma once

#include <cstdint>
#include <optional>

namespace lq {

// Real to integer, to nearest with ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double RoundHalfEven(double value);

// The register value an operator command writes for a real value: rounded as above, and only when the result
// is one a 16-bit register holds (0..65535). Anything else (a negative entry, 6553.6 x 10, NaN) is no value
// at all: neither wrapped round to another number nor cut to the nearest end, so the command is refused.
std::optional<std::uint16_t> RegisterValue(double value);

// value x 10 formed in extended precision and stored as a double before rounding, so an entry of 2.35 (just
// above 2.35 in binary) gives exactly 23.5 and rounds to 24, and 2.25 gives 22.5 and rounds to 22.
double TimesTen(double value);

} // namespace lq
