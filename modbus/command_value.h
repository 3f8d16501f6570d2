#pragma once

#include <cstdint>

namespace lq {

// Real to integer, to nearest with ties to even (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double RoundHalfEven(double value);

// The integer an operator command writes for a real value: rounded as above, then held inside what a 16-bit
// register can mean. Above 65535 it is sent as 65535 and below -32768 as -32768, rather than wrapping (6553.6
// x 10 would otherwise write 0 to a setpoint); -32768..-1 keep their two's complement. A NaN writes 0.
std::int32_t CommandValue(double value);

// value x 10 formed in extended precision and stored as a double before rounding, so an entry of 2.35 (just
// above 2.35 in binary) gives exactly 23.5 and rounds to 24, and 2.25 gives 22.5 and rounds to 22.
double TimesTen(double value);

} // namespace lq
