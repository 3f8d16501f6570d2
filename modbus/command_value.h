#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

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

// Why the text of an entry cannot go out as the operator typed it. Checked on the text itself, before any
// conversion or rounding: "-0.04" is negative although it rounds to 0, and "12.6" in a field of whole numbers
// is refused rather than read as 13 (or, with the point dropped, as 126).
enum class EntryTextFault : std::uint8_t {
    None,     // a number for the conversion to read
    Empty,    // nothing but blanks
    Negative, // a minus sign: no register of an operator command holds a negative value
    NotWhole, // a decimal separator in a field of whole numbers
};
EntryTextFault CheckEntryText(std::string_view number, char decimalSeparator, bool wholeNumbers);

} // namespace lq
