#pragma once

#include <QString>
#include <optional>

namespace lq {

// The text a numeric field shows: "%.<p>f" for p >= 0 with the locale's decimal separator, "%g" for a
// negative p, blanks trimmed, units appended as they are.
QString FormatNumber(double value, int precision, const QString& units);

// Reads a number typed with the locale's decimal separator; surrounding blanks are allowed, anything
// else that does not belong to a number makes it fail.
std::optional<double> ParseNumber(const QString& text);

// The locale's decimal separator as used by both directions above.
QChar DecimalSeparator();

// value limited to lo..hi. A NaN, and any value of an inverted range, goes to lo, so that the position
// widgets and the entry field agree on where a value that fits no range ends up.
inline double ClampToRange(double value, double lo, double hi) {
    if (value > hi) value = hi;
    if (!(value >= lo)) value = lo;
    return value;
}

} // namespace lq
