#include "command_value.h"

#include <cmath>

namespace lq {

double RoundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which stays round-to-nearest-even for the whole run.
    return std::nearbyint(value);
}

std::optional<std::uint16_t> RegisterValue(double value) {
    const double rounded = RoundHalfEven(value);
    // Written so that NaN fails too.
    if (!(rounded >= 0.0 && rounded <= 65535.0)) return std::nullopt;
    return static_cast<std::uint16_t>(rounded);
}

double TimesTen(double value) {
    return static_cast<double>(static_cast<long double>(value) * 10.0L);
}

EntryTextFault CheckEntryText(std::string_view number, char decimalSeparator, bool wholeNumbers) {
    const auto first = number.find_first_not_of(" \t");
    if (first == std::string_view::npos) return EntryTextFault::Empty;
    if (number.find('-') != std::string_view::npos) return EntryTextFault::Negative;
    if (wholeNumbers && number.find(decimalSeparator) != std::string_view::npos)
        return EntryTextFault::NotWhole;
    return EntryTextFault::None;
}

} // namespace lq
